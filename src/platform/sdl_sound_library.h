#pragma once
// The sound library on SDL2 + SDL2_mixer. Output type 2 prefers the desktop's audio server
// (PipeWire, then PulseAudio), type 1 ALSA directly; each falls back to the others, and when no
// real device opens, to SDL's silent "dummy" device so that samples still load and the game runs.
// A driver named by the user in SDL_AUDIODRIVER is used first, whatever the output type.
// Samples are RIFF WAVE files; a file that is not a regular file, or too large, read or
// converted, loads as no sample.
//
// Init opens the device with type 2's order; SetOutput reopens it when its type asks for another
// order and no sample has been loaded yet. A load before Init opens the device as Init would.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/sound/sound_library.h"

struct Mix_Chunk;

// Samples are short: a larger file is refused before it is read, and a sample that would take
// more than sampleBytes once converted for the device, or push all samples past allSampleBytes,
// is refused before it is decoded.
struct SampleLimits {
    std::size_t fileBytes = 16u * 1024 * 1024;
    std::uint64_t sampleBytes = 32u * 1024 * 1024;
    std::uint64_t allSampleBytes = 96u * 1024 * 1024;
};

class SdlSoundLibrary final : public SoundLibrary {
  public:
    // bufferFrames: the buffer of the drivers that write ahead (PulseAudio, ALSA), in frames at
    // the rate Init asks for; 384 at 22050 Hz is 17 ms. SDL's PulseAudio driver mixes a buffer
    // ahead and asks the server to hold about one more, so a shorter buffer leaves the server
    // empty whenever the writer is late: with 256 frames a press was heard after ~14 ms instead
    // of ~22, but the server ran dry up to six times a minute, against at most twice with 384
    // and 512 (bench/latency_bench.sh, README). PipeWire is opened as its graph runs instead.
    explicit SdlSoundLibrary(int bufferFrames = 384, const SampleLimits& limits = {});
    ~SdlSoundLibrary() override;
    SdlSoundLibrary(const SdlSoundLibrary&) = delete;
    SdlSoundLibrary& operator=(const SdlSoundLibrary&) = delete;

    bool Init(int mixRate, int maxChannels, unsigned flags) override;
    bool SetOutput(int outputType) override;
    SampleHandle SampleLoad(int slot, const std::string& file, unsigned mode, int offset,
                            int length) override;
    int PlaySound(int channel, SampleHandle sample) override;
    bool StopSound(int channel) override;
    void SampleFree(SampleHandle sample) override;
    void Close() override;

    // A sample from a file's bytes, within the limits; 0 when it is refused or does not decode.
    SampleHandle sampleFromBytes(std::vector<std::uint8_t> bytes);

    bool isOpen() const { return open_; }
    // The memory the loaded samples take, converted for the device.
    std::uint64_t heldBytes() const;
    // The SDL audio driver in use ("pipewire", "alsa", "dummy" ...), "" when closed.
    std::string driverName() const;

  private:
    // A mixer chunk over frames in the device's format that this library holds itself, so that
    // no mixer version decides how they are allocated or freed.
    struct Sample {
        std::vector<std::uint8_t> frames;
        Mix_Chunk* chunk = nullptr;
        Sample() = default;
        Sample(const Sample&) = delete;
        Sample& operator=(const Sample&) = delete;
        ~Sample();  // frees (and so stops) the chunk before its frames go
    };

    bool openDevice(int outputType);
    bool tryDriver(const std::string& name);
    void closeDevice();
    Mix_Chunk* chunkOf(SampleHandle sample) const;

    int bufferFrames_;
    SampleLimits limits_;
    int mixRate_ = 22050;
    int maxChannels_ = 64;
    bool open_ = false;
    std::vector<std::string> openedWith_;  // the driver order of the open device
    std::vector<std::unique_ptr<Sample>> samples_;
};
