#pragma once
// A real Game on virtual time with an in-memory store and a recording sound library, plus the key
// bindings and the dispatch under test.
#include "core/device.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"
#include "support/settable_clock.h"

struct InputRig {
    RecordingSettings backend;
    RecordingSoundLibrary library;
    RecordingShell shell;
    SeededRandom random{7};
    SettableClock clock{10, 30};
    Device device{DeviceSeams{backend, library, shell, &clock, &random}};
    SettingsStore& settings = device.settings();
    SegmentDisplay& display = device.display();
    Scheduler& scheduler = device.scheduler();
    Game& game = device.game();
    KeyBindings& bindings = device.bindings();
    InputDispatch& input = device.input();

    bool lit(SegmentId id) const { return display.isVisible(id); }
    // Lets the sequences started "at once" run, as the event loop would between two events.
    void settle() { scheduler.advance(5); }
};
