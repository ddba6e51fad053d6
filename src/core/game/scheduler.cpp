#include "core/game/scheduler.h"

#include <algorithm>

void Timer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) {
        due_ = scheduler_.now() + interval_;
        scheduler_.changed();
    }
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) due_ = scheduler_.now() + interval_;
    scheduler_.changed();
}

Timer& Scheduler::createTimer(std::string name, std::function<void()> handler) {
    // Kept in creation order, which is the order of ties.
    timers_.emplace_back(Timer(*this, std::move(name), std::move(handler)));
    return timers_.back();
}

std::int64_t Scheduler::now() const {
    return handlerTime_ ? *handlerTime_ : clockNow();
}

std::optional<std::int64_t> Scheduler::nextDue() const {
    std::optional<std::int64_t> best;
    for (const Timer& t : timers_)
        if (t.enabled_ && (!best || t.due_ < *best)) best = t.due_;
    return best;
}

Timer* Scheduler::earliestDue(std::int64_t limit) {
    Timer* best = nullptr;
    for (Timer& t : timers_) {
        if (!t.enabled_ || t.due_ > limit) continue;
        if (!best || t.due_ < best->due_) best = &t;  // ties keep creation order
    }
    return best;
}

void Scheduler::fire(Timer& t) {
    const std::int64_t due = t.due_;
    // The next period counts from the due time; the handler may change interval or state.
    t.due_ = due + std::max(1, t.interval_);
    handlerTime_ = due;
    if (observer_) observer_(t, due, clockNow());
    t.handler_();
    handlerTime_.reset();
}

void Scheduler::runDue() {
    const std::int64_t limit = clockNow();
    inRun_ = true;
    for (Timer& t : timers_)
        if (t.enabled_ && t.due_ < limit - kMaxCatchUpMs) t.due_ = limit;
    while (Timer* t = earliestDue(limit)) fire(*t);
    inRun_ = false;
    if (wakeup_) wakeup_();
}

void Scheduler::advanceTo(std::int64_t target) {
    inRun_ = true;
    while (Timer* t = earliestDue(target)) {
        virtualNow_ = std::max(virtualNow_, t->due_);
        fire(*t);
    }
    virtualNow_ = std::max(virtualNow_, target);
    inRun_ = false;
}

void Scheduler::advance(std::int64_t ms) {
    advanceTo(clockNow() + ms);
}
