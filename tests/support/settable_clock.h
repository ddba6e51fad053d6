#pragma once
// The clock double: a local time of day that the test sets.
#include "core/game/local_clock.h"

class SettableClock final : public LocalClock {
  public:
    SettableClock() = default;
    SettableClock(int hours, int minutes) : time{hours, minutes} {}
    TimeOfDay now() const override { return time; }
    void set(int hours, int minutes) { time = {hours, minutes}; }
    TimeOfDay time{};
};
