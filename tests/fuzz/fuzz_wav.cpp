#include <SDL_mixer.h>

#include <cstdlib>

#include "../sound/wav_files.h"
#include "core/sound/wav_estimate.h"
#include "fuzz_target.h"
#include "platform/sdl_sound_library.h"

// The estimate guards memory: what the mixer made of a sample must never exceed it. Small limits
// keep every run cheap; the program's own are covered by the hostile-sample tests.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    [[maybe_unused]] static const int silent = setenv("SDL_AUDIODRIVER", "dummy", 1);
    static SdlSoundLibrary library(512, SampleLimits{64 * 1024, 256 * 1024, 256 * 1024});
    library.Init(22050, 64, 0);
    const SampleHandle sample = library.sampleFromBytes({data, data + size});
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const auto shape = wavShape({data, size});
    const std::uint64_t most =
        shape ? wavConvertedBytes(*shape, rate, channels, SDL_AUDIO_BITSIZE(format) / 8) : 0;
    fuzzCheck(sample == 0 || library.heldBytes() <= most, "sample larger than its estimate");
    library.SampleFree(sample);
    return 0;
}

// The tone's bytes read in another layout: format tag, channels, block alignment, bits a sample.
static FuzzInput as(FuzzInput w, int tag, int channels, int align, int bits) {
    w[20] = tag, w[22] = channels, w[32] = align & 0xFF, w[33] = align >> 8, w[34] = bits;
    return w;
}

std::vector<FuzzInput> fuzzSeeds() {
    const FuzzInput tone = sineWav(40);  // 1764 bytes: whole frames in every layout below
    FuzzInput huge = tone;               // data that claims 4 GiB, which the mixer once set aside
    std::fill(huge.begin() + 40, huge.begin() + 44, 0xFF);
    return {tone, sineWav(20, 300, 8000), sineWav(5, 900, 44100), huge, as(tone, 1, 2, 2, 8),
            as(tone, 1, 2, 6, 24), as(tone, 3, 1, 4, 32), as(tone, 6, 1, 1, 8),
            as(tone, 0x11, 1, 256, 4), as(tone, 0x11, 2, 512, 4),
            // 24-bit stereo aligned to single bytes, which the mixer counts as a frame a byte
            as(tone, 1, 2, 1, 24)};
}

void fuzzFixup(FuzzInput&) {}
