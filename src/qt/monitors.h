#pragma once
// The monitor the program's windows belong to: at start the primary one (the pointer's where the
// desktop names none), and once the device window stands on the desktop the monitor that holds
// most of it. Every window is placed against this monitor's rectangle, and a change of it
// (another size or scale, or gone) is announced, so that the device can lay itself out again.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <optional>
#include <vector>

class QWidget;

// The choice on rectangles: an index into monitors, -1 when there are none. `device` is the
// device window's rectangle while it stands on the desktop; `current` the monitor chosen before,
// which is kept while the window is withdrawn or lies wholly off every monitor.
int chooseMonitor(const std::vector<QRect>& monitors, int primary, QPoint pointer,
                  const std::optional<QRect>& device, int current);

class DeviceMonitor : public QObject {
    Q_OBJECT
  public:
    DeviceMonitor();

    // The monitor's rectangle on the desktop and the part of it that panels leave free.
    // Without any monitor (a platform that has none), a 1024 x 768 one at 0, 0.
    QRect geometry() const;
    QRect workArea() const;
    QScreen* screen() const { return screen_; }

    // The device window: while it is shown on the desktop its place chooses the monitor.
    void watch(QWidget* device);

  signals:
    // The device's monitor changed its size, place or scale, or it went away and another one took
    // its place (monitorGone). Announced once a burst of the desktop's reports has settled.
    void changed(bool monitorGone);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Chooses again; announces a change of what the device window is laid out for.
    void update();
    void screenReported();

    QPointer<QWidget> device_;
    QPointer<QScreen> screen_;
    QRect geometry_;
    double scale_ = 1.0;
    std::optional<bool> namesPrimary_;
    QTimer settle_;
};
