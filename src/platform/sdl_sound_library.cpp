#include "platform/sdl_sound_library.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "core/skin/skin_files.h"
#include "core/sound/wav_estimate.h"

namespace {

constexpr int kDesktopServer = 2;
constexpr int kDirectAlsa = 1;

// The bytes a sample takes once converted to the open device's rate, format and channels.
std::optional<std::uint64_t> convertedBytes(const WavShape& shape) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) return std::nullopt;
    return wavConvertedBytes(shape, rate, channels, SDL_AUDIO_BITSIZE(format) / 8);
}

// A WAV file's frames, decoded by SDL and converted to the open device's format in memory held
// here; nullopt when SDL refuses the file or the conversion would need more than workingBytes.
// Mix_LoadWAV_RW is not used: SDL_mixer 2.8 frees its buffer when a sample converts to no
// bytes at all (an empty data chunk, a partial block, one frame at a high rate) and then frees
// it again with the chunk.
std::optional<std::vector<std::uint8_t>> deviceFrames(const std::vector<std::uint8_t>& file,
                                                      std::uint64_t workingBytes) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) return std::nullopt;
    SDL_AudioSpec source{};
    Uint8* decoded = nullptr;
    Uint32 decodedBytes = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1, &source,
                       &decoded, &decodedBytes) == nullptr)
        return std::nullopt;
    const std::unique_ptr<Uint8, void (*)(Uint8*)> held(decoded, SDL_FreeWAV);
    SDL_AudioCVT cvt{};
    if (SDL_BuildAudioCVT(&cvt, source.format, source.channels, static_cast<int>(source.freq),
                          format, static_cast<Uint8>(channels), rate) < 0)
        return std::nullopt;
    // Whole frames only: the converter reads and writes frame by frame.
    const std::uint64_t frameBytes =
        std::uint64_t{SDL_AUDIO_BITSIZE(source.format) / 8u} * source.channels;
    const std::uint64_t inBytes = frameBytes == 0 ? 0 : decodedBytes - decodedBytes % frameBytes;
    // The converter works in place in a buffer this many times the input.
    const std::uint64_t working = inBytes * static_cast<std::uint64_t>(std::max(cvt.len_mult, 1));
    if (working > std::min<std::uint64_t>(workingBytes, INT_MAX)) return std::nullopt;
    std::vector<std::uint8_t> frames(working);
    if (inBytes == 0) return frames;  // a sample with no sound: it loads and plays nothing
    std::copy_n(decoded, inBytes, frames.begin());
    cvt.buf = frames.data();
    cvt.len = static_cast<int>(inBytes);
    if (SDL_ConvertAudio(&cvt) < 0 || cvt.len_cvt < 0 ||
        static_cast<std::uint64_t>(cvt.len_cvt) > working)
        return std::nullopt;
    const std::size_t deviceFrameBytes = std::size_t{SDL_AUDIO_BITSIZE(format) / 8u} *
                                         static_cast<std::size_t>(std::max(channels, 1));
    frames.resize(static_cast<std::size_t>(cvt.len_cvt) - cvt.len_cvt % deviceFrameBytes);
    frames.shrink_to_fit();
    return frames;
}

// The drivers to try for an output type, best first; "dummy" is the last resort everywhere.
std::vector<std::string> driverOrder(int outputType) {
    const char* user = std::getenv("SDL_AUDIODRIVER");
    if (user != nullptr && *user != '\0') return {user, "dummy"};
    if (outputType == kDirectAlsa) return {"alsa", "pipewire", "pulseaudio", "dummy"};
    return {"pipewire", "pulseaudio", "alsa", "dummy"};
}

// Frames per mixed buffer for PipeWire: about one graph cycle (5.8 ms at 22050 Hz). PipeWire
// asks for each buffer when its graph needs one, so the buffer need not cover for a late writer:
// a step is heard after ~14 ms instead of ~25 with 512 frames, and a busy machine gapped no more
// steps. At the graph's own rate (256 frames at 48 kHz) steps came ~2 ms sooner, but a busy
// machine gapped some of them (bench/latency_bench.sh, README).
constexpr int kPipeWireFrames = 128;

}  // namespace

SdlSoundLibrary::Sample::~Sample() {
    // Chunks made by Mix_QuickLoad_RAW leave their frames to us; this also stops their plays.
    Mix_FreeChunk(chunk);
}

SdlSoundLibrary::SdlSoundLibrary(int bufferFrames, const SampleLimits& limits)
    : bufferFrames_(bufferFrames), limits_(limits) {
    // SDL would turn SIGINT and SIGTERM into a quit event that nothing here reads, and the
    // program would no longer end on them; the program handles them itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

SdlSoundLibrary::~SdlSoundLibrary() {
    Close();
}

bool SdlSoundLibrary::Init(int mixRate, int maxChannels, unsigned /*flags*/) {
    if (open_) return true;
    mixRate_ = mixRate;
    maxChannels_ = maxChannels;
    return openDevice(kDesktopServer);
}

bool SdlSoundLibrary::SetOutput(int outputType) {
    const int type = outputType == kDirectAlsa ? kDirectAlsa : kDesktopServer;
    if (open_ && driverOrder(type) == openedWith_) return true;
    // Loaded samples are converted for the open device; keep it rather than invalidate them.
    if (!samples_.empty()) return false;
    closeDevice();
    return openDevice(type);
}

bool SdlSoundLibrary::tryDriver(const std::string& name) {
    // An override hint, since SDL otherwise prefers SDL_AUDIODRIVER from the environment.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, name.c_str(), SDL_HINT_OVERRIDE);
    const bool initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!initialised) return false;
    const int frames = name == "pipewire" ? kPipeWireFrames : bufferFrames_;
    if (Mix_OpenAudio(mixRate_, AUDIO_S16SYS, 2, frames) == 0) return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool SdlSoundLibrary::openDevice(int outputType) {
    const std::vector<std::string> order = driverOrder(outputType);
    for (const std::string& name : order) {
        if (!tryDriver(name)) continue;
        Mix_AllocateChannels(maxChannels_);
        open_ = true;
        openedWith_ = order;
        return true;
    }
    return false;
}

void SdlSoundLibrary::closeDevice() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    // Mix_OpenAudio counts its openings; close until nobody holds the device.
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    while (Mix_QuerySpec(&frequency, &format, &channels) != 0) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
    openedWith_.clear();
}

SampleHandle SdlSoundLibrary::SampleLoad(int /*slot*/, const std::string& file, unsigned /*mode*/,
                                         int /*offset*/, int /*length*/) {
    if (!open_ && !openDevice(kDesktopServer)) return 0;
    // Only regular files, read by us: a named pipe or a device must not stall or flood the load.
    auto bytes = readFileBytes(file, limits_.fileBytes);
    return bytes ? sampleFromBytes(std::move(*bytes)) : 0;
}

SampleHandle SdlSoundLibrary::sampleFromBytes(std::vector<std::uint8_t> bytes) {
    if (!open_ || bytes.size() > limits_.fileBytes) return 0;
    const auto shape = wavShape(bytes);
    const auto needed = shape ? convertedBytes(*shape) : std::nullopt;
    // Added, not subtracted: the estimate is close, not exact, and should the held bytes ever
    // pass the bound, a difference would wrap and let every later sample in.
    if (!needed || *needed > limits_.sampleBytes || heldBytes() + *needed > limits_.allSampleBytes)
        return 0;
    // SDL's reader sets aside what the data chunk claims before reading it, up to 4 GiB for a
    // few bytes of file; it is told what the file holds.
    for (int i = 0; i < 4; ++i)
        bytes[shape->dataSizeAt + i] = static_cast<std::uint8_t>(shape->dataBytes >> (8 * i));
    // No one conversion may need more than all samples together may hold.
    auto frames = deviceFrames(bytes, limits_.allSampleBytes);
    if (!frames || frames->size() > limits_.sampleBytes ||
        heldBytes() + frames->size() > limits_.allSampleBytes)
        return 0;
    auto sample = std::make_unique<Sample>();
    sample->frames = std::move(*frames);
    sample->chunk =
        Mix_QuickLoad_RAW(sample->frames.data(), static_cast<Uint32>(sample->frames.size()));
    if (sample->chunk == nullptr) return 0;
    const SampleHandle handle = reinterpret_cast<SampleHandle>(sample->chunk);
    samples_.push_back(std::move(sample));
    return handle;
}

Mix_Chunk* SdlSoundLibrary::chunkOf(SampleHandle sample) const {
    // Only handles this library handed out are trusted.
    for (const auto& s : samples_)
        if (reinterpret_cast<SampleHandle>(s->chunk) == sample) return s->chunk;
    return nullptr;
}

int SdlSoundLibrary::PlaySound(int channel, SampleHandle sample) {
    Mix_Chunk* chunk = chunkOf(sample);
    if (!open_ || chunk == nullptr) return -1;
    return Mix_PlayChannel(channel < 0 ? -1 : channel, chunk, 0);
}

bool SdlSoundLibrary::StopSound(int channel) {
    if (!open_) return false;
    Mix_HaltChannel(channel < 0 ? -1 : channel);
    return true;
}

void SdlSoundLibrary::SampleFree(SampleHandle sample) {
    auto it = std::find_if(samples_.begin(), samples_.end(), [sample](const auto& s) {
        return reinterpret_cast<SampleHandle>(s->chunk) == sample;
    });
    if (it != samples_.end()) samples_.erase(it);
}

std::uint64_t SdlSoundLibrary::heldBytes() const {
    std::uint64_t held = 0;
    for (const auto& s : samples_) held += s->frames.capacity();
    return held;
}

void SdlSoundLibrary::Close() {
    if (open_) Mix_HaltChannel(-1);
    samples_.clear();
    closeDevice();
}

std::string SdlSoundLibrary::driverName() const {
    if (!open_) return "";
    const char* name = SDL_GetCurrentAudioDriver();
    return name != nullptr ? name : "";
}
