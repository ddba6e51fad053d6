#include "platform/run_trace.h"

#include <chrono>

#include "core/game/scheduler.h"

RunTrace::RunTrace() {
    const QString path = qEnvironmentVariable("TORCHWHEEL_TRACE");
    if (path.isEmpty()) return;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return;
    stream_ = std::make_unique<QTextStream>(&file_);
}

void RunTrace::attach(Scheduler& scheduler) {
    if (!active()) return;
    scheduler.setFireObserver([this](const Timer& t, std::int64_t due, std::int64_t ran) {
        *stream_ << "fire " << QString::fromStdString(t.name()) << ' ' << due << ' ' << ran << '\n';
        stream_->flush();
    });
}

void RunTrace::painted(std::int64_t elapsedMs) {
    if (!active() || painted_) return;
    painted_ = true;
    *stream_ << "first-paint " << elapsedMs << '\n';
    stream_->flush();
}

void RunTrace::mark(const char* what) {
    if (!active()) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    *stream_ << what << ' ' << std::chrono::duration_cast<std::chrono::microseconds>(now).count()
             << '\n';
    stream_->flush();
}
