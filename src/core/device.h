#pragma once
// One device: its segments, its timers, its sound, its firmware, its key bindings and the input
// dispatch, built once from the seams its host hands over. The program, the tests and the
// benchmarks all build this one object and ask it to do things instead of writing game variables.
#include <cstdint>
#include <optional>
#include <string>

#include "core/display/lcd_look.h"
#include "core/display/segment_display.h"
#include "core/game/game.h"
#include "core/game/local_clock.h"
#include "core/game/random.h"
#include "core/game/scheduler.h"
#include "core/input/input_dispatch.h"
#include "core/input/key_bindings.h"
#include "core/settings_store.h"
#include "core/shell.h"
#include "core/skin/skin_loader.h"
#include "core/sound/sound_system.h"

// What the host provides. The clock and the random source are the device's own (the computer's
// local time, a generator seeded once: with seed, or from the time of start-up) unless the host
// hands others over.
struct DeviceSeams {
    SettingsBackend& settings;
    SoundLibrary& soundLibrary;
    Shell& shell;
    const LocalClock* clock = nullptr;
    RandomSource* random = nullptr;
    std::optional<std::uint32_t> seed = std::nullopt;
};

class Device {
  public:
    explicit Device(const DeviceSeams& seams);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // What the store keeps for the device: the key bindings and both high scores.
    void loadStored();
    // Config.ini and its pictures, for full screen or the window. A skin shown larger than its
    // own pixels (zoomed) lays full screen out on the screen measured in its pixels: `scale`
    // screen pixels to one of the skin's.
    void loadSkin(const SkinPlace& place, bool fullscreen, double scale = 1.0);
    // Where the skin last loaded keeps its Config.ini: a skin played from a folder of its own is
    // edited there.
    std::string configFile() const;
    // The LCD's look: after each skin load the stored choice, or the skin's suggestion; a change
    // is stored at once.
    const LcdLookChoice& lcdLook() const { return lcdLook_; }
    void setLcdLook(const LcdLookChoice& choice);
    // The simulator starts: the device lies closed, as when it is taken out of its box.
    void start();
    // Reset Hiscores: both to 0, stored at once; the device beeps.
    void resetHighScores();
    // The sound driver chosen on the splash screen; false when the program has to end.
    bool openSound(const std::string& choiceText);
    void closeSound();

    SegmentDisplay& display() { return display_; }
    const SegmentDisplay& display() const { return display_; }
    Scheduler& scheduler() { return scheduler_; }
    SoundSystem& sound() { return sound_; }
    Game& game() { return game_; }
    const Game& game() const { return game_; }
    KeyBindings& bindings() { return bindings_; }
    InputDispatch& input() { return input_; }
    SettingsStore& settings() { return settings_; }
    Shell& shell() { return shell_; }
    const Presentation& presentation() const { return presentation_; }

  private:
    Shell& shell_;
    SettingsStore settings_;
    SegmentDisplay display_;
    Scheduler scheduler_;
    SoundSystem sound_;
    SeededRandom ownRandom_;
    SystemLocalClock systemClock_;
    Game game_;
    KeyBindings bindings_;
    InputDispatch input_;
    // Kept for the whole run: a load that finds no backdrop leaves its stretch switch as it was.
    Presentation presentation_;
    std::string skinFolder_;
    LcdLookChoice lcdLook_;
};
