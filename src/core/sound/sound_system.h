#pragma once
// The eleven samples and the calls the game makes while it runs: play, silence, close.
#include <array>
#include <string_view>

#include "core/sound/sound_library.h"

class SettingsStore;
class Shell;

enum class SoundId {
    Beep1,
    Beep2,
    Beep3,
    Beep4,
    Chance,
    Miss1,
    Miss2,
    Miss3,
    Gameover,
    Start,
    Step
};

inline constexpr int kSoundCount = 11;

struct SampleInfo {
    SoundId id;
    std::string_view name;
    std::string_view file;  // relative to the working directory, opened as written
};

// Load order, which is also the order of release.
inline constexpr std::array<SampleInfo, kSoundCount> kSamples{{
    {SoundId::Beep1, "Beep1", "Sound/Beep1.wav"},
    {SoundId::Beep2, "Beep2", "Sound/Beep2.wav"},
    {SoundId::Beep3, "Beep3", "Sound/Beep3.wav"},
    {SoundId::Beep4, "Beep4", "Sound/Beep4.wav"},
    {SoundId::Chance, "Chance", "Sound/Chance.wav"},
    {SoundId::Miss1, "Miss1", "Sound/Miss1.wav"},
    {SoundId::Miss2, "Miss2", "Sound/Miss2.wav"},
    {SoundId::Miss3, "Miss3", "Sound/Miss3.wav"},
    {SoundId::Gameover, "Gameover", "Sound/Gameover.wav"},
    {SoundId::Start, "Start", "Sound/Start.wav"},
    {SoundId::Step, "Step", "Sound/Step.wav"},
}};

class SoundSystem {
  public:
    explicit SoundSystem(SoundLibrary& library) : library_(library) {}

    // Opens the driver named by a choice text of kSoundDrivers, stores the choice and loads the
    // eleven samples. False (after the message, with the choice reset and the program asked to
    // end) when "Sound/Beep1.wav" could not be loaded: the sound folder is not in place.
    bool Snd_Open(std::string_view choice, SettingsStore& settings, Shell& shell);

    void Snd_Play(SoundId id);
    void Snd_Silence();
    void Snd_Close();

    bool SoundOn() const { return soundOn_; }
    SampleHandle handle(SoundId id) const { return handles_[static_cast<int>(id)]; }

  protected:
    SoundLibrary& library_;
    bool soundOn_ = false;
    std::array<SampleHandle, kSoundCount> handles_{};
};
