#pragma once
// SIGINT (Ctrl+C in a terminal) and SIGTERM (a desktop logout) end the program the way Exit does:
// the event loop is asked to end once the running handler is done. Nothing is lost, since every
// setting was stored when it changed.
#include <QObject>
#include <functional>

class QSocketNotifier;

class QuitSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; onSignal runs on the event loop, never inside a signal handler.
    explicit QuitSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~QuitSignals() override;

  private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
