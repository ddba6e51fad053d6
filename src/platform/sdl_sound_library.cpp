#include "platform/sdl_sound_library.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
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

void SdlSoundLibrary::ChunkFree::operator()(Mix_Chunk* chunk) const {
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
    if (!chunks_.empty()) return false;
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
    // The mixer sets aside what the data chunk claims before reading it, up to 4 GiB for a few
    // bytes of file; it is told what the file holds.
    for (int i = 0; i < 4; ++i)
        bytes[shape->dataSizeAt + i] = static_cast<std::uint8_t>(shape->dataBytes >> (8 * i));
    Chunk chunk(
        Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1));
    if (!chunk) return 0;
    const SampleHandle handle = reinterpret_cast<SampleHandle>(chunk.get());
    chunks_.push_back(std::move(chunk));
    return handle;
}

Mix_Chunk* SdlSoundLibrary::chunkOf(SampleHandle sample) const {
    // Only handles this library handed out are trusted.
    for (const Chunk& c : chunks_)
        if (reinterpret_cast<SampleHandle>(c.get()) == sample) return c.get();
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
    auto it = std::find_if(chunks_.begin(), chunks_.end(), [sample](const Chunk& c) {
        return reinterpret_cast<SampleHandle>(c.get()) == sample;
    });
    if (it != chunks_.end()) chunks_.erase(it);
}

std::uint64_t SdlSoundLibrary::heldBytes() const {
    std::uint64_t held = 0;
    for (const Chunk& c : chunks_) held += c->alen;
    return held;
}

void SdlSoundLibrary::Close() {
    if (open_) Mix_HaltChannel(-1);
    chunks_.clear();
    closeDevice();
}

std::string SdlSoundLibrary::driverName() const {
    if (!open_) return "";
    const char* name = SDL_GetCurrentAudioDriver();
    return name != nullptr ? name : "";
}
