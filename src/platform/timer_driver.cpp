#include "platform/timer_driver.h"

#include <algorithm>

namespace {
Scheduler::Clock realClock(QElapsedTimer& clock, bool virtualTime) {
    if (virtualTime) return {};
    return [&clock] { return clock.elapsed(); };
}
}  // namespace

TimerDriver::TimerDriver(Scheduler& scheduler, bool virtualTime, QObject* parent)
    : QObject(parent), virtualTime_(virtualTime), scheduler_(scheduler) {
    clock_.start();
    scheduler_.setClock(realClock(clock_, virtualTime));
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TimerDriver::run);
    // Timer changes made by input handlers move the earliest deadline; re-arm once the handler
    // is done rather than on every single change.
    scheduler_.setWakeup([this] {
        if (rearmQueued_) return;
        rearmQueued_ = true;
        const auto later = [this] { rearm(); };
        QMetaObject::invokeMethod(this, later, Qt::QueuedConnection);
    });
}

void TimerDriver::rearm() {
    rearmQueued_ = false;
    if (virtualTime_) return;
    const auto next = scheduler_.nextDue();
    if (!next) {
        timer_.stop();
        return;
    }
    const qint64 delay = std::max<qint64>(0, *next - clock_.elapsed());
    timer_.start(static_cast<int>(std::min<qint64>(delay, 1 << 30)));
}

void TimerDriver::run() {
    scheduler_.runDue();
    if (afterRun) afterRun();
    rearm();
}
