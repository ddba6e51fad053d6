#include "core/sound/sound_system.h"

#include <algorithm>
#include <string>

#include "core/settings_store.h"
#include "core/shell.h"
#include "core/sound/sound_drivers.h"

namespace {
constexpr int kMixRate = 22050;
constexpr int kSoftwareChannels = 64;
constexpr const char* kSoundFolderMessage =
    "Sound folder unproperly installed. Please reinstall the game.";
}  // namespace

bool SoundSystem::Snd_Open(std::string_view choice, SettingsStore& settings, Shell& shell) {
    // Opening runs once per run; should it run again, the samples of the first opening are
    // released instead of leaking, and the library is started afresh.
    if (std::any_of(handles_.begin(), handles_.end(), [](SampleHandle h) { return h != 0; })) {
        for (const SampleInfo& s : kSamples)
            if (handles_[static_cast<int>(s.id)] != 0)
                library_.SampleFree(handles_[static_cast<int>(s.id)]);
        library_.Close();
        handles_.fill(0);
    }

    const std::optional<SoundDriver> driver = soundDriverByText(choice);
    // A text that is none of the choices cannot come from the list; run silently rather than
    // open a driver nobody chose, and leave the stored choice alone.
    if (!driver) {
        soundOn_ = false;
        return true;
    }
    soundOn_ = driver->soundOn;
    // Stored before the library is touched, so even a run that fails below leaves a value.
    settings.WriteInteger("SoundMode", driver->soundMode);
    if (!driver->soundOn) return true;

    library_.Init(kMixRate, kSoftwareChannels, 0);
    library_.SetOutput(driver->outputType);
    for (const SampleInfo& s : kSamples)
        handles_[static_cast<int>(s.id)] =
            library_.SampleLoad(kAnySampleSlot, std::string(s.file), kSample2D, 0, 0);

    // Only the first sample tells whether the folder is there; any other missing sample just
    // stays silent.
    if (handles_[static_cast<int>(SoundId::Beep1)] != 0) return true;

    shell.showError(kSoundFolderMessage);
    settings.WriteInteger("SoundMode", kNoSoundChosen);
    settings.WriteBool("SplashScreen", true);
    shell.requestQuit();
    soundOn_ = false;
    return false;
}

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
