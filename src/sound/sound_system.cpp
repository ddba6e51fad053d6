#include "sound/sound_system.h"

void SoundSystem::Snd_Play(SoundId id) {
    if (!soundOn_) return;
    library_.PlaySound(kAnyFreeChannel, handles_[static_cast<int>(id)]);
}

void SoundSystem::Snd_Silence() {
    if (!soundOn_) return;
    library_.StopSound(kAllChannels);
}

void SoundSystem::Snd_Close() {
    for (const SampleInfo& s : kSamples) library_.SampleFree(handles_[static_cast<int>(s.id)]);
    library_.Close();
    handles_.fill(0);
    soundOn_ = false;
}
