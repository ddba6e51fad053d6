#pragma once
// A local clock whose time of day the test sets.
#include "game/local_clock.h"

class SettableClock final : public LocalClock {
public:
    TimeOfDay now() const override { return time; }
    void set(int hours, int minutes) { time = {hours, minutes}; }
    TimeOfDay time{};
};
