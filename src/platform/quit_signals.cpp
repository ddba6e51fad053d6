#include "platform/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <utility>

namespace {
// A signal handler may only write to a pipe; the event loop reads the other end.
int pipeEnds[2] = {-1, -1};

void onQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

constexpr int kSignals[] = {SIGINT, SIGTERM};
// What the signals did before, put back when the handlers go.
struct sigaction previous[std::size(kSignals)];
bool installed = false;
}  // namespace

QuitSignals::QuitSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(pipeEnds[0], bytes, sizeof bytes) > 0) {
        }
        if (onSignal_) onSignal_();
    });
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &previous[i]);
    installed = true;
}

QuitSignals::~QuitSignals() {
    // Before the pipe closes, so that no handler writes to a closed or reused descriptor.
    if (std::exchange(installed, false))
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &previous[i], nullptr);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0) close(end);
        end = -1;
    }
}
