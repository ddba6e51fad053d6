#pragma once
// Drives the core's scheduler in real time: one precise Qt timer armed for the earliest deadline.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "core/game/scheduler.h"

class TimerDriver : public QObject {
    Q_OBJECT
  public:
    // Gives the scheduler its clock. In virtual time (tests) nothing runs by itself: the test
    // moves the scheduler's clock.
    TimerDriver(Scheduler& scheduler, bool virtualTime = false, QObject* parent = nullptr);

    Scheduler& scheduler() { return scheduler_; }
    // Runs after every batch of timer handlers (the window repaints what changed).
    std::function<void()> afterRun;
    // Schedules the next wake-up; call after input handlers too.
    void rearm();
    // Milliseconds since the driver started (the program's start, near enough).
    qint64 elapsed() const { return clock_.elapsed(); }

  private:
    void run();

    QElapsedTimer clock_;
    bool virtualTime_;
    Scheduler& scheduler_;
    QTimer timer_;
    bool rearmQueued_ = false;
};
