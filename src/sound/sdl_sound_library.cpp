#include "sound/sdl_sound_library.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kDesktopServer = 2;
constexpr int kDirectAlsa = 1;

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
    Chunk chunk(Mix_LoadWAV(file.c_str()));
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
