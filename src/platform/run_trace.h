#pragma once
// A measurement log for the benchmarks: when TORCHWHEEL_TRACE names a file, the program writes
// the moment of its first painted frame, for every timer step when it was due and when it ran,
// and the stages of each key press (handled, painted, handed to the window system) on the
// system's monotonic clock in microseconds, the clock a benchmark's own steady clock reads.
// Without the variable nothing is written.
#include <QFile>
#include <QTextStream>
#include <cstdint>
#include <memory>

class Scheduler;

class RunTrace {
  public:
    RunTrace();
    bool active() const { return stream_ != nullptr; }
    void attach(Scheduler& scheduler);
    void painted(std::int64_t elapsedMs);
    // "<what> <microseconds>": a stage of a press ("key", "handled", "paint", "flush").
    void mark(const char* what);

  private:
    QFile file_;
    std::unique_ptr<QTextStream> stream_;
    bool painted_ = false;
};
