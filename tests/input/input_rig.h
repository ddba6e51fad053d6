#pragma once
// A real Game on virtual time with an in-memory store and a recording sound library, plus the key
// bindings and the dispatch under test.
#include "app/memory_settings.h"
#include "app/settings_store.h"
#include "display/segment_display.h"
#include "game/game.h"
#include "game/local_clock.h"
#include "game/random.h"
#include "game/scheduler.h"
#include "input/input_dispatch.h"
#include "input/key_bindings.h"
#include "sound/sound_system.h"
#include "support/recording_sound.h"

class FixedLocalClock final : public LocalClock {
  public:
    TimeOfDay now() const override { return {10, 30}; }
};

struct InputRig {
    MemorySettingsBackend backend;
    SettingsStore settings{backend};
    SegmentDisplay display;
    Scheduler scheduler;
    RecordingSoundLibrary library;
    SoundSystem sound{library};
    SeededRandom random{7};
    FixedLocalClock clock;
    Game game{GameContext{display, scheduler, sound, settings, random, clock}};
    KeyBindings bindings;
    InputDispatch input{game, bindings};

    bool lit(SegmentId id) const { return display.isVisible(id); }
    // Lets the sequences started "at once" run, as the event loop would between two events.
    void settle() { scheduler.advance(5); }
};
