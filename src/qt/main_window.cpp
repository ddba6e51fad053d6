#include "qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/input/gamepad_input.h"
#include "platform/sdl_gamepads.h"
#include "platform/timer_driver.h"
#include "qt/context_menu.h"
#include "qt/device_view.h"
#include "qt/game_menu_overlay.h"
#include "qt/key_translation.h"

TForm1::TForm1(const MainWindowSetup& setup, Shell& shell)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      setup_(setup),
      shell_(shell),
      device_(DeviceSeams{*setup.settings, *setup.soundLibrary, shell}),
      timers_(new TimerDriver(device_.scheduler(), setup.virtualTime, this)),
      commands_(device_, *this) {
    setObjectName("TForm1");
    // The key colour becomes real transparency where a compositor draws the window; on X11 the
    // window's shape also cuts it out where none does.
    setAttribute(Qt::WA_TranslucentBackground);
    view_ = new DeviceView(device_, this);
    layout_ = std::make_unique<WindowLayout>(*this, *view_, device_, shell_);
    overlay_ = std::make_unique<GameMenuOverlay>(*view_);
    timers_->afterRun = [this] { refresh(); };
    view_->onMousePress = [this](SegmentId id, QMouseEvent* e) { onPress(id, e); };
    view_->onMouseRelease = [this](SegmentId id, QMouseEvent* e) { onRelease(id, e); };
    view_->onMouseMove = [this](SegmentId id, QMouseEvent* e) { onMove(id, e); };
    view_->hintFor = [this](SegmentId id) { return QString::fromStdString(bindings().hint(id)); };
    setFocusPolicy(Qt::StrongFocus);
    trace_.attach(device_.scheduler());
    if (trace_.active())
        view_->onPainted = [this](const QRegion&) {
            // Only frames painted on the screen count, not those drawn while off-screen.
            if (pos().x() >= 0) trace_.painted(timers_->elapsed());
            trace_.mark("paint");
        };
    FormCreate();
    if (setup.gamepads) {
        // A gamepad presses buttons only where a key would: in the active, enabled device window.
        padInput_ = std::make_unique<GamepadInput>(
            device_.input(), [this] { return isEnabled() && isActiveWindow(); });
        gamepads_ = std::make_unique<SdlGamepads>(*padInput_, !setup.virtualTime);
        gamepads_->afterInput = [this] { refresh(); };
    }
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    setWindowTitle(QString::fromUtf8(kTitle));
    layout_->placeOffScreen();
    menu_ = new ContextMenu(*this, commands_);
    FullscreenMode = settings().ReadBool("FullscreenMode", true);
    menu_->setChecked("pm_10_fullscreen", FullscreenMode);
    // Read only: the store gets the name when the player first chooses a zoom.
    const ZoomChoice zoom = zoomChoiceOf(settings().ReadInteger(kZoomSetting, 100));
    layout_->setZoomChoice(zoom);
    menu_->zoomMenu().setChecked(zoom);
    display().setPicture(seg("btn_game_menu_background"), GameMenuOverlay::panelPicture());
    layout_->load(setup_.skin, FullscreenMode);
    GameMenuOpen = false;
    device_.loadStored();
}

void TForm1::setSplashScreen(TSplashForm* splash) {
    splash_ = splash;
    commands_.setSplashScreen(splash);
}

void TForm1::setKeySettingsDialog(TKeysForm* keys) {
    keys_ = keys;
    commands_.setKeySettingsDialog(keys);
}

void TForm1::showOnDesktop() {
    if (!SplashPending) {
        if (!isVisible()) layout_->present(FullscreenMode);
        return;
    }
    FormActivate();
}

void TForm1::refresh() {
    view_->flushDamage();
    layout_->updateShape();
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
        passFocusToDialog();
    } else if (event->type() == QEvent::MouseButtonPress) {
        // Asked again with the click's own time: the request made at the activation carries
        // the time of the event before the click, and mutter (XWayland) turns it down as older
        // than the click.
        passFocusToDialog();
    }
    const bool handled = QWidget::event(event);
    // The view has been painted and the changed pixels handed to the window system.
    if (event->type() == QEvent::UpdateRequest) trace_.mark("flush");
    return handled;
}

void TForm1::passFocusToDialog() {
    // A click on the disabled device activates it, and then no key would reach anything: the
    // dialog that holds it takes the focus back.
    if (isEnabled() || !keys_ || !keys_->isVisible()) return;
    keys_->raise();
    keys_->activateWindow();
}

void TForm1::FormActivate() {
    if (!SplashPending) return;
    SplashPending = false;
    if (splash_) {
        splash_->show();
        splash_->raise();
        splash_->activateWindow();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    device_.closeSound();
    // The settings store keeps nothing unsaved: every value was written when it changed.
    event->accept();
    QCoreApplication::quit();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    trace_.mark("key");
    const auto stroke = keyStrokeOf(*event);
    if (stroke && menu_->triggerShortcut(stroke->code, event->modifiers())) {
        event->accept();
        return;
    }
    if (stroke) device_.input().FormKeyDown(stroke->code);
    refresh();
    trace_.mark("handled");
    event->accept();
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
    const auto stroke = keyStrokeOf(*event);
    if (stroke) device_.input().FormKeyUp(stroke->code);
    refresh();
    event->accept();
}

void TForm1::onPress(SegmentId id, QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        menu_->popupAt(event->globalPosition().toPoint());
        refresh();
        return;
    }
    const MouseResult result =
        id >= 0 ? device_.input().mouseDown(id, mouseButtonOf(event->button())) : MouseResult::None;
    if (result == MouseResult::StartDrag && !FullscreenMode && event->button() == Qt::LeftButton)
        drag_.press(*this, event->globalPosition().toPoint());
    refresh();
}

void TForm1::onRelease(SegmentId id, QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_.release();
    if (id < 0) return;
    const QPoint p = view_->skinPoint(event->position());
    const bool over = display().segment(id).bounds.contains(p.x(), p.y());
    const MouseResult result = device_.input().mouseUp(id, mouseButtonOf(event->button()), over);
    if (result == MouseResult::GameMenuClick) btn_game_menu_topClick();
    refresh();
}

void TForm1::onMove(SegmentId, QMouseEvent* event) {
    if (!drag_.active() || FullscreenMode || !(event->buttons() & Qt::LeftButton)) return;
    if (drag_.move(*this, layout_->desktop(), event->globalPosition().toPoint()))
        view_->releaseCapture();
}

void TForm1::setSplashMenuCheck(bool checked) {
    menu_->setChecked("pm_11_splashscreen", checked);
}

void TForm1::startSimulator() {
    // Once the device is running the splash screen is done with, even if this window was never
    // activated while it waited (a desktop without a window manager activates nothing).
    SplashPending = false;
    layout_->present(FullscreenMode);
    device_.start();
    refresh();
}

void TForm1::enableMainWindow() {
    setEnabled(true);
    activateWindow();
}

void TForm1::togglePresentation() {
    FullscreenMode = !FullscreenMode;
    closeGameMenu();
    settings().WriteBool("FullscreenMode", FullscreenMode);
    relayout();
}

void TForm1::relayout() {
    closeGameMenu();
    layout_->placeOffScreen();
    layout_->load(setup_.skin, FullscreenMode);
    layout_->present(FullscreenMode);
    refresh();
}

void TForm1::followMonitor(bool monitorGone) {
    // Before the simulator starts the next presentation finds the monitor as it is by then.
    if (SplashPending || !isVisible()) return;
    if (FullscreenMode || monitorGone) return relayout();
    // Another scale of the desktop: the pictures and the outline are made for it.
    layout_->useSharpPictures();
    layout_->invalidateShape();
    view_->update();
    refresh();
}

void TForm1::setZoom(ZoomChoice choice) {
    layout_->setZoomChoice(choice);
    menu_->zoomMenu().setChecked(choice);
    if (!isVisible()) return layout_->load(setup_.skin, FullscreenMode);
    if (!FullscreenMode) return relayout();
    // Full screen stays where it is; only its content is laid out again.
    closeGameMenu();
    layout_->load(setup_.skin, FullscreenMode);
    refresh();
}

void TForm1::closeGameMenu() {
    GameMenuOpen = false;
    Vid_Display_Game_Menu(false);
}

void TForm1::btn_game_menu_topClick() {
    GameMenuOpen = !GameMenuOpen;
    Vid_Display_Game_Menu(GameMenuOpen);
}

void TForm1::Vid_Display_Game_Menu(bool open) {
    const SegmentId panel = seg("btn_game_menu_background");
    if (!open) {
        overlay_->close();
        display().setBounds(panel, kGameMenuButton);
        return;
    }
    std::array<QAction*, GameMenuOverlay::kRows> items{};
    for (int i = 0; i < kMenuItemCount; ++i) items[i] = menu_->item(i);
    const auto run = [this](int i) {
        menu_->run(i);
        refresh();
    };
    const auto close = [this] {
        closeGameMenu();
        refresh();
    };
    const auto contextMenu = [this](QPoint global) {
        menu_->popupAt(global);
        refresh();
    };
    overlay_->open(items, run, close, contextMenu, view_->scale().zoom);
    display().setBounds(panel, kGameMenuPanel);
}
