#include "qt/desktop_presenter.h"

#include <xcb/randr.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {
// The X connection Qt opened, on an X11 desktop.
xcb_connection_t* xConnection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename Reply>
using XReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t xAtom(xcb_connection_t* c, const char* name) {
    const XReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Whether a window manager manages the window now (it has set the ICCCM state to normal or
// iconic; withdrawn or no state means it does not).
bool managed(xcb_connection_t* c, xcb_window_t window, xcb_atom_t wmState) {
    const XReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, wmState, wmState, 0, 1), nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return false;
    std::uint32_t state = 0;
    std::memcpy(&state, xcb_get_property_value(reply.get()), sizeof state);
    return state != 0;
}

// Unmaps an X window and waits (briefly) until the window manager has let it go: mapped again
// before that, a window manager would still apply the old state to it, or erase the new one.
void withdrawX11(QWidget& window) {
    xcb_connection_t* c = xConnection();
    const bool wasMapped = window.isVisible();
    window.hide();
    if (!c || !wasMapped) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t wmState = xAtom(c, "WM_STATE");
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (managed(c, id, wmState) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    // A window manager should drop the state of a withdrawn window; not all do.
    xcb_delete_property(c, id, xAtom(c, "_NET_WM_STATE"));
    xcb_flush(c);
}
}  // namespace

DesktopKind DesktopPresenter::detect() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland"))) return DesktopKind::Wayland;
    if (platform != QLatin1String("xcb")) return DesktopKind::Other;
    // An X server started by a Wayland compositor for its X11 clients.
    const bool waylandSession =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    return waylandSession ? DesktopKind::XWayland : DesktopKind::X11;
}

void DesktopPresenter::present(QWidget& window, const QRect& place, bool fullScreen) const {
    withdraw(window);
    // The state goes with the window when it is mapped, so the window manager never sees a
    // screen-sized normal window it would have to lay out (below a panel, for one). Set after
    // the geometry, which clears the widget's state but not its native window's.
    const Qt::WindowState state = fullScreen ? Qt::WindowFullScreen : Qt::WindowNoState;
    window.setGeometry(place);
    window.setWindowState(state);
    QWindow* handle = window.windowHandle();
    if (handle) handle->setWindowStates(state);
    if (handle && kind_ == DesktopKind::XWayland) {
        // A compositor takes an X window's place from its creation and ignores later moves,
        // mapped or not: the X window is made anew, at its new place.
        handle->destroy();
        handle->setGeometry(place);
        handle->setWindowStates(state);
        // weston puts a window that is mapped full screen on its first output, wherever it
        // was placed; one mapped first goes full screen on the output it stands on.
        if (fullScreen && QGuiApplication::screens().size() > 1) {
            handle->setWindowStates(Qt::WindowNoState);
            window.setWindowState(Qt::WindowNoState);
            window.show();
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            while (!handle->isExposed() && std::chrono::steady_clock::now() < end)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            window.setWindowState(state);
            handle->setWindowStates(state);
        }
    }
    window.show();
    window.raise();
    window.activateWindow();
}

void DesktopPresenter::withdraw(QWidget& window) const {
    if (kind_ == DesktopKind::X11 || kind_ == DesktopKind::XWayland)
        withdrawX11(window);
    else
        window.hide();
}

bool DesktopPresenter::shapeInScreenPixels(QWidget& window, const QRegion& pixels) const {
    xcb_connection_t* c =
        kind_ == DesktopKind::X11 || kind_ == DesktopKind::XWayland ? xConnection() : nullptr;
    if (!c) return false;
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (pixels.isEmpty()) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_NONE);
        xcb_flush(c);
        return true;
    }
    // Qt hands a window's mask to X11 in logical pixels, which at a fractional scale cannot
    // follow the device's outline: the X shape is set here, on the same connection.
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(static_cast<std::size_t>(pixels.rectCount()));
    for (const QRect& r : pixels)
        rects.push_back({static_cast<std::int16_t>(r.x()), static_cast<std::int16_t>(r.y()),
                         static_cast<std::uint16_t>(r.width()),
                         static_cast<std::uint16_t>(r.height())});
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, id,
                         0, 0, static_cast<std::uint32_t>(rects.size()), rects.data());
    xcb_flush(c);
    return true;
}

bool DesktopPresenter::beginMove(QWidget& window) const {
    // A plain X11 window follows the program's moves exactly and needs no window manager; a
    // compositor moves a mapped window only by its own interactive move.
    if (kind_ != DesktopKind::Wayland && kind_ != DesktopKind::XWayland) return false;
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}

std::optional<bool> DesktopPresenter::namesPrimaryMonitor() {
    xcb_connection_t* c = xConnection();
    const xcb_screen_t* screen = c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data : nullptr;
    if (!screen) return std::nullopt;
    const XReply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, screen->root, 1), nullptr),
        &std::free);
    if (!reply) return std::nullopt;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it))
        if (it.data->primary) return true;
    return false;
}

void DesktopPresenter::makeTransient(QWidget& dialog, QWidget& owner) {
    // Native windows now, so that the owner is known when the dialog is first mapped: without
    // it Qt makes a dialog transient for its hidden leader window, and window managers then put
    // it behind the device window at the first click there.
    owner.winId();
    dialog.winId();
    dialog.windowHandle()->setTransientParent(owner.windowHandle());
}

void WindowDrag::press(const QWidget& window, QPoint global) {
    active_ = true;
    desktopAsked_ = false;
    pressGlobal_ = global;
    windowOrigin_ = window.pos();
}

bool WindowDrag::move(QWidget& window, const DesktopPresenter& desktop, QPoint global) {
    if (!desktopAsked_) {
        desktopAsked_ = true;
        if (desktop.beginMove(window)) {
            active_ = false;
            return true;
        }
    }
    // The grabbed point stays under the pointer: the window follows the pointer's movement
    // since the press, with no limit.
    window.move(windowOrigin_ + (global - pressGlobal_));
    return false;
}
