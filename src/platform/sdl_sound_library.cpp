#include "platform/sdl_sound_library.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <utility>

#include "core/skin/skin_files.h"

namespace {

constexpr int kDesktopServer = 2;
constexpr int kDirectAlsa = 1;

// Samples are short: a larger file is refused before it is read, and a sample that would take
// more than kMaxSampleBytes once converted for the device, or push all samples past
// kMaxAllSampleBytes, is refused before it is decoded.
constexpr std::size_t kMaxSampleFileBytes = 16u * 1024 * 1024;
constexpr std::uint64_t kMaxSampleBytes = 32u * 1024 * 1024;
constexpr std::uint64_t kMaxAllSampleBytes = 96u * 1024 * 1024;

std::uint32_t le(std::span<const std::uint8_t> d, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | d[at + i];
    return v;
}

struct WavShape {
    std::uint64_t frames = 0;  // at most this many
    std::uint32_t rate = 0;
};

// What a RIFF WAVE file can decode to at most. Only WAVE is accepted: the other formats the mixer
// knows are compressed, and a tiny one can unpack to gigabytes. No WAVE format gives more than
// two samples a byte (4-bit ADPCM), so that is assumed for all but plain PCM and float.
std::optional<WavShape> wavShape(std::span<const std::uint8_t> d) {
    if (d.size() < 12 || le(d, 0, 4) != 0x46464952u || le(d, 8, 4) != 0x45564157u)  // RIFF, WAVE
        return std::nullopt;
    std::uint32_t channels = 0, bits = 0, rate = 0, tag = 0;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= d.size();) {
        const std::uint32_t id = le(d, at, 4);
        const std::uint64_t size = std::min<std::uint64_t>(le(d, at + 4, 4), d.size() - at - 8);
        // The mixer decodes by the first "fmt " chunk: a later one must not lower the estimate.
        if (id == 0x20746D66u && !std::exchange(haveFormat, true)) {  // "fmt "
            if (size < 16) return std::nullopt;
            tag = le(d, at + 8, 2);
            channels = le(d, at + 10, 2);
            rate = le(d, at + 12, 4);
            bits = le(d, at + 22, 2);
            if (tag == 0xFFFEu && size >= 26) tag = le(d, at + 32, 2);  // extensible: its subformat
        } else if (id == 0x61746164u && channels > 0 && rate > 0) {     // "data" after "fmt "
            const bool plain = tag == 1 || tag == 3;
            const std::uint64_t bitsPerFrame =
                std::uint64_t{plain ? std::max(bits, 8u) : 4u} * channels;
            return WavShape{size * 8 / bitsPerFrame + 1, rate};
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

// The bytes a sample takes once converted to the open device's rate, format and channels.
std::optional<std::uint64_t> convertedBytes(std::span<const std::uint8_t> file) {
    const auto shape = wavShape(file);
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!shape || Mix_QuerySpec(&rate, &format, &channels) == 0) return std::nullopt;
    const std::uint64_t frames = shape->frames * static_cast<std::uint64_t>(rate) / shape->rate + 1;
    return frames * static_cast<std::uint64_t>(channels) * (SDL_AUDIO_BITSIZE(format) / 8);
}

// The drivers to try for an output type, best first; "dummy" is the last resort everywhere.
std::vector<std::string> driverOrder(int outputType) {
    const char* user = std::getenv("SDL_AUDIODRIVER");
    if (user != nullptr && *user != '\0') return {user, "dummy"};
    if (outputType == kDirectAlsa) return {"alsa", "pipewire", "pulseaudio", "dummy"};
    return {"pipewire", "pulseaudio", "alsa", "dummy"};
}

}  // namespace

void SdlSoundLibrary::ChunkFree::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

SdlSoundLibrary::SdlSoundLibrary(int bufferFrames) : bufferFrames_(bufferFrames) {
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
    if (Mix_OpenAudio(mixRate_, AUDIO_S16SYS, 2, bufferFrames_) == 0) return true;
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
    const auto bytes = readFileBytes(file, kMaxSampleFileBytes);
    if (!bytes) return 0;
    const auto needed = convertedBytes(*bytes);
    // Added, not subtracted: the estimate is close, not exact, and should the held bytes ever
    // pass the bound, a difference would wrap and let every later sample in.
    if (!needed || *needed > kMaxSampleBytes || heldBytes() + *needed > kMaxAllSampleBytes)
        return 0;
    Chunk chunk(
        Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1));
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
