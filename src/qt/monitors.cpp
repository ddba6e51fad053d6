#include "qt/monitors.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "qt/desktop_presenter.h"

int chooseMonitor(const std::vector<QRect>& monitors, int primary, QPoint pointer,
                  const std::optional<QRect>& device, int current) {
    const int count = static_cast<int>(monitors.size());
    if (count == 0) return -1;
    if (device) {
        // The monitor that shows most of the device; the first of equals.
        int best = -1;
        long long bestArea = 0;
        for (int i = 0; i < count; ++i) {
            const QRect shared = monitors[i].intersected(*device);
            const long long area = shared.isEmpty() ? 0 : 1LL * shared.width() * shared.height();
            if (area > bestArea) best = i, bestArea = area;
        }
        if (best >= 0) return best;
    }
    // Withdrawn, or wholly off every monitor: it still belongs where it was.
    if (current >= 0 && current < count) return current;
    if (primary >= 0 && primary < count) return primary;
    for (int i = 0; i < count; ++i)
        if (monitors[i].contains(pointer)) return i;
    return 0;
}

DeviceMonitor::DeviceMonitor() {
    // Desktops report a change of monitors as a burst (outputs, modes, the screen's size); the
    // device is laid out again once, when it has settled.
    settle_.setSingleShot(true);
    settle_.setInterval(150);
    connect(&settle_, &QTimer::timeout, this, &DeviceMonitor::update);
    if (!qGuiApp) return;
    const auto watchScreen = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &DeviceMonitor::screenReported);
        connect(screen, &QScreen::availableGeometryChanged, this, &DeviceMonitor::screenReported);
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &DeviceMonitor::screenReported);
    };
    for (QScreen* screen : QGuiApplication::screens()) watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen* screen) {
        watchScreen(screen);
        screenReported();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &DeviceMonitor::screenReported);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &DeviceMonitor::screenReported);
    update();
}

QRect DeviceMonitor::geometry() const {
    return screen_ ? screen_->geometry() : QRect(0, 0, 1024, 768);
}

QRect DeviceMonitor::workArea() const {
    return screen_ ? screen_->availableGeometry() : geometry();
}

void DeviceMonitor::watch(QWidget* device) {
    if (device_) device_->removeEventFilter(this);
    device_ = device;
    if (device_) device_->installEventFilter(this);
}

bool DeviceMonitor::eventFilter(QObject* watched, QEvent* event) {
    // A move of the windowed device (the desktop's or the player's) may take it onto another
    // monitor; a window being withdrawn or put off-screen chooses nothing, nor one being shown,
    // whose place the desktop has not confirmed yet. Full screen stays on the monitor it was
    // put on: compositors report passing places while they lay it out there.
    if (watched == device_ && event->type() == QEvent::Move &&
        !(device_->windowState() & Qt::WindowFullScreen))
        update();
    return QObject::eventFilter(watched, event);
}

void DeviceMonitor::screenReported() {
    namesPrimary_.reset();
    settle_.start();
}

void DeviceMonitor::update() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    std::vector<QRect> rects;
    for (const QScreen* screen : screens) rects.push_back(screen->geometry());
    // Qt's primary is merely the first monitor where the desktop names none. Asked again only
    // when the monitors change: the device's moves come here too.
    if (!namesPrimary_) namesPrimary_ = DesktopPresenter::namesPrimaryMonitor().value_or(true);
    const int primary =
        *namesPrimary_ ? static_cast<int>(screens.indexOf(QGuiApplication::primaryScreen())) : -1;
    const int current = screen_ ? static_cast<int>(screens.indexOf(screen_.data())) : -1;
    std::optional<QRect> device;
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (device_ && device_->isVisible()) {
        // A Wayland client does not learn where its window is, only which outputs show it.
        if (wayland && device_->screen())
            device = device_->screen()->geometry();
        else if (!wayland)
            device = device_->frameGeometry();
    }
    const int chosen = chooseMonitor(rects, primary, QCursor::pos(), device, current);
    QScreen* screen = chosen >= 0 ? screens[chosen] : nullptr;
    const QRect geometry = screen ? screen->geometry() : QRect();
    const double scale = screen ? screen->devicePixelRatio() : 1.0;
    const bool same = screen == screen_ && geometry == geometry_ && scale == scale_;
    const bool first = geometry_.isNull();
    const bool gone = !first && current < 0;
    screen_ = screen;
    geometry_ = geometry;
    scale_ = scale;
    if (!same && !first) emit changed(gone);
}
