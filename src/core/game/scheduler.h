#pragma once
// Sequence timers on one clock.
//
// A timer has an interval (ms) and an enabled flag. While enabled, its handler runs each time the
// interval has elapsed since the timer was last started or restarted. Changing the interval to a
// different value restarts the countdown; setting the same value changes nothing. Enabling a
// disabled timer starts its countdown; enabling an enabled one changes nothing.
//
// Handlers run only from runDue()/advance(), never inside the call that started a timer, so a
// sequence started "at once" (interval 1) runs its first step after the caller has returned.
//
// Timers that fall due at the same moment run in the order in which they were created.
// A timer that runs late is rescheduled from its due time, not from the moment its handler ran,
// so lateness never accumulates; when the clock jumps far ahead (a suspended machine) the
// schedule is moved to the present instead of replaying every missed tick.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class Scheduler;

class Timer {
  public:
    void setInterval(int ms);
    int interval() const { return interval_; }
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    const std::string& name() const { return name_; }
    std::int64_t due() const { return due_; }

  private:
    friend class Scheduler;
    Timer(Scheduler& s, std::string name, std::function<void()> handler)
        : scheduler_(s), name_(std::move(name)), handler_(std::move(handler)) {}

    Scheduler& scheduler_;
    std::string name_;
    std::function<void()> handler_;
    int interval_ = 1;
    bool enabled_ = false;
    std::int64_t due_ = 0;
};

class Scheduler {
  public:
    using Clock = std::function<std::int64_t()>;  // monotonic milliseconds

    // Without a clock the scheduler runs in virtual time, moved only by advance().
    Scheduler() = default;
    explicit Scheduler(Clock clock) : clock_(std::move(clock)) {}
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // The host with a real clock hands it over before any timer is enabled.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Timers live as long as the scheduler; references stay valid.
    Timer& createTimer(std::string name, std::function<void()> handler);

    // The time handlers and timer changes are measured against: inside a handler, the moment it
    // was due; outside, the clock.
    std::int64_t now() const;

    // Earliest deadline among enabled timers.
    std::optional<std::int64_t> nextDue() const;

    // Real time: run every timer that is due by the clock, in deadline order.
    void runDue();

    // Virtual time: move the clock forward by ms, running each timer exactly at its due time.
    void advance(std::int64_t ms);
    void advanceTo(std::int64_t t);

    // Called whenever the earliest deadline may have changed (the Qt host re-arms its timer).
    void setWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }

    // Told of every handler run: the timer, when it was due and when the clock said it ran
    // (for measuring how closely the steps keep their schedule).
    using FireObserver = std::function<void(const Timer&, std::int64_t due, std::int64_t ran)>;
    void setFireObserver(FireObserver observer) { observer_ = std::move(observer); }

    static constexpr std::int64_t kMaxCatchUpMs = 1000;

  private:
    friend class Timer;
    std::int64_t clockNow() const { return clock_ ? clock_() : virtualNow_; }
    Timer* earliestDue(std::int64_t limit);
    void fire(Timer& t);
    void changed() {
        if (wakeup_ && !inRun_) wakeup_();
    }

    Clock clock_;
    std::int64_t virtualNow_ = 0;
    std::optional<std::int64_t> handlerTime_;
    bool inRun_ = false;
    std::deque<Timer> timers_;
    std::function<void()> wakeup_;
    FireObserver observer_;
};
