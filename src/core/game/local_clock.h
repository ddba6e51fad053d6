#pragma once
// The local time of day, as the clock view needs it.
struct TimeOfDay {
    int hours = 0;    // 0..23
    int minutes = 0;  // 0..59
};

class LocalClock {
  public:
    virtual ~LocalClock() = default;
    virtual TimeOfDay now() const = 0;
};

// The computer's local time.
class SystemLocalClock final : public LocalClock {
  public:
    TimeOfDay now() const override;
};
