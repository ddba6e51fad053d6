#pragma once
// How the program's windows are put on the desktop it runs on. The windows state their intent
// (full screen, a place, a drag, an owner) and this says it in the desktop's terms: an X11
// window manager keeps a program's moves and shapes, while a compositor (Wayland, and weston
// for its XWayland windows) ignores moves of mapped windows and draws only what the alpha
// channel leaves.
#include <QPoint>
#include <QRect>
#include <optional>

class QRegion;
class QWidget;

enum class DesktopKind {
    X11,       // an X server of its own, with or without a window manager
    XWayland,  // X11 windows on a Wayland compositor
    Wayland,   // native Wayland: the compositor places every window
    Other,     // a platform without a desktop (tests)
};

class DesktopPresenter {
  public:
    // The desktop the running application's platform talks to.
    static DesktopKind detect();

    explicit DesktopPresenter(DesktopKind kind) : kind_(kind) {}
    DesktopKind kind() const { return kind_; }

    // Maps the window at `place`, in the window manager's full-screen state or as a normal
    // window, and gives it the focus. A mapped window is unmapped first: the place then holds
    // also where moves of mapped windows are ignored.
    void present(QWidget& window, const QRect& place, bool fullScreen) const;
    // Unmaps the window (it keeps its place and state for the next present).
    void withdraw(QWidget& window) const;

    // Gives the window the outline of these pixels of the screen (not logical pixels), where
    // the desktop takes an outline that exact (X11); false where it does not. An empty region
    // takes such an outline away: the window is whole again.
    bool shapeInScreenPixels(QWidget& window, const QRegion& pixels) const;

    // A drag of the window began: true when the desktop moves the window itself from now on
    // (until the button is released); false when the program must follow the pointer.
    bool beginMove(QWidget& window) const;

    // Whether the X desktop names a primary monitor; Qt takes the first one for it when the
    // desktop names none. Empty where that cannot be asked (no X11).
    static std::optional<bool> namesPrimaryMonitor();

    // The window manager keeps `dialog` in front of `owner` (and, on X11, in its layer).
    static void makeTransient(QWidget& dialog, QWidget& owner);

  private:
    DesktopKind kind_;
};

// Dragging the windowed device by its body. The desktop is asked to move the window only once
// the pointer moves: asked at a quick click whose release it had already passed on, KWin
// (XWayland) keeps moving the window with the bare pointer and takes the keys until the next
// click. Where the desktop cannot move it, the window follows the pointer itself.
class WindowDrag {
  public:
    void press(const QWidget& window, QPoint global);
    void release() { active_ = false; }
    bool active() const { return active_; }
    // True when the desktop took the pointer over: no release will come to the window.
    bool move(QWidget& window, const DesktopPresenter& desktop, QPoint global);

  private:
    bool active_ = false;
    bool desktopAsked_ = false;
    QPoint pressGlobal_;
    QPoint windowOrigin_;
};
