#pragma once
// The desktop services of the Shell seam, done with Qt.
#include <QPointer>
#include <QWidget>

#include "core/shell.h"
#include "qt/monitors.h"

class QtShell final : public Shell {
  public:
    void showError(const std::string& text) override;
    void requestQuit() override;
    void openDocument(const std::string& name) override;
    void openUrl(const std::string& url) override;
    void beep() override;
    // The device's monitor, with its place on the desktop.
    ScreenSize screenSize() const override;

    bool quitRequested() const { return quitRequested_; }
    // Message boxes are owned by this window (the device window) when it exists; its place
    // chooses the monitor.
    void setOwner(QWidget* owner) {
        owner_ = owner;
        monitor_.watch(owner);
    }
    DeviceMonitor& monitor() { return monitor_; }

  private:
    bool quitRequested_ = false;
    QPointer<QWidget> owner_;
    DeviceMonitor monitor_;
};
