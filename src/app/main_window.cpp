#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QScreen>
#include <chrono>

#include "app/context_menu.h"
#include "app/qt_shell.h"
#include "app/timer_driver.h"
#include "display/device_view.h"
#include "display/game_menu_overlay.h"
#include "input/gamepad_input.h"
#include "input/sdl_gamepads.h"
#include "input/key_translation.h"

namespace {
QColor colourOf(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The panel of the game menu belongs to the program, not to the skin.
Picture gameMenuPanelPicture() {
    QImage image(QStringLiteral(":/ui/game_menu_panel.png"));
    if (image.isNull()) return nullptr;
    image = image.convertToFormat(QImage::Format_RGBA8888);
    auto data = std::make_shared<PictureData>();
    data->width = image.width();
    data->height = image.height();
    data->rgba.resize(static_cast<std::size_t>(data->width) * data->height * 4);
    for (int y = 0; y < data->height; ++y)
        std::memcpy(data->pixel(0, y), image.constScanLine(y), static_cast<std::size_t>(data->width) * 4);
    return data;
}

Qt::CursorShape cursorShapeOf(PointerShape shape) {
    switch (shape) {
        case PointerShape::Hand:
            return Qt::PointingHandCursor;
        case PointerShape::Help:
            return Qt::WhatsThisCursor;
        case PointerShape::Arrow:
            break;
    }
    return Qt::ArrowCursor;
}

MouseButton buttonOf(Qt::MouseButton b) {
    if (b == Qt::LeftButton) return MouseButton::Left;
    if (b == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Middle;
}
}  // namespace

TForm1::TForm1(const MainWindowSetup& setup, Shell& shell)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      setup_(setup),
      shell_(shell),
      settings_(*setup.settings),
      timers_(new TimerDriver(setup.virtualTime, this)),
      sound_(*setup.soundLibrary),
      desktop_(DesktopPresenter::detect()) {
    setObjectName("TForm1");
    // The key colour becomes real transparency where a compositor draws the window; on X11 the
    // window's shape also cuts it out where none does.
    setAttribute(Qt::WA_TranslucentBackground);
    game_ = std::make_unique<Game>(
        GameContext{display_, timers_->scheduler(), sound_, settings_, random_, clock_});
    input_ = std::make_unique<InputDispatch>(*game_, bindings_);
    view_ = new DeviceView(display_, this);
    overlay_ = std::make_unique<GameMenuOverlay>(*view_);
    timers_->afterRun = [this] { refresh(); };
    view_->onMousePress = [this](SegmentId id, QMouseEvent* e) { onPress(id, e); };
    view_->onMouseRelease = [this](SegmentId id, QMouseEvent* e) { onRelease(id, e); };
    view_->onMouseMove = [this](SegmentId id, QMouseEvent* e) { onMove(id, e); };
    view_->hintFor = [this](SegmentId id) { return QString::fromStdString(bindings_.hint(id)); };
    view_->cursorFor = [](SegmentId id) { return cursorShapeOf(pointerShapeOf(id)); };
    setFocusPolicy(Qt::StrongFocus);
    trace_.attach(timers_->scheduler());
    if (trace_.active()) view_->onPainted = [this] {
        // Only frames painted on the screen count, not those drawn while off-screen.
        if (pos().x() >= 0) trace_.painted(timers_->elapsed());
    };
    FormCreate();
    if (setup.gamepads) {
        // A gamepad presses buttons only where a key would: in the active, enabled device window.
        padInput_ = std::make_unique<GamepadInput>(
            *input_, [this] { return isEnabled() && isActiveWindow(); });
        gamepads_ = std::make_unique<SdlGamepads>(*padInput_, !setup.virtualTime);
        gamepads_->afterInput = [this] { refresh(); };
    }
}

TForm1::~TForm1() = default;

Scheduler& TForm1::scheduler() { return timers_->scheduler(); }

void TForm1::FormCreate() {
    setWindowTitle(QString::fromUtf8(kTitle));
    placeOffScreen();
    // The group tables are compile-time tables, and the game built its hand-timer table.
    menu_ = new ContextMenu(*this);
    FullscreenMode = settings_.ReadBool("FullscreenMode", true);
    menu_->item("pm_10_fullscreen")->setChecked(FullscreenMode);
    display_.setPicture(seg("btn_game_menu_background"), gameMenuPanelPicture());
    Skin_Load(setup_.programFolder, FullscreenMode, shell_, display_, presentation_);
    applyPresentation();
    GameMenuOpen = false;
    bindings_.load(settings_);
    // The menu's item table was built with the menu; painting is always double-buffered in Qt.
    game_->loadHighScores();
    game_->Playing = false;
    game_->MoveLock = false;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    random_ = SeededRandom(static_cast<std::uint32_t>(ticks & 0xFFFFFFFFu));
}

void TForm1::placeOffScreen() {
    // Off the screen means not mapped at all: a window manager would pull a mapped window back.
    desktop_.withdraw(*this);
    const ScreenSize screen = shell_.screenSize();
    move(-screen.width, -screen.height);
}

void TForm1::presentCentred() {
    const ScreenSize screen = shell_.screenSize();
    const int left = std::max(0, (screen.width - width()) / 2);
    const int top = std::max(0, (screen.height - height()) / 2);
    desktop_.present(*this, QRect(QPoint(left, top), size()), FullscreenMode);
    // The native window may be new: its outline is given again.
    clearMask();
    shapeValid_ = false;
    updateShape();
}

void TForm1::showOnDesktop() {
    if (!SplashPending) {
        if (!isVisible()) presentCentred();
        return;
    }
    FormActivate();
}

void TForm1::applyPresentation() {
    const QSize size(std::max(1, presentation_.clientWidth), std::max(1, presentation_.clientHeight));
    setFixedSize(size);
    view_->setGeometry(0, 0, size.width(), size.height());
    display_.setBounds(seg("im_backdrop"), {0, 0, size.width(), size.height()});
    view_->setBackgroundColour(colourOf(presentation_.backgroundColour));
    view_->setColourKey(presentation_.colourKeyOn ? std::optional(colourOf(presentation_.colourKey))
                                                  : std::nullopt);
    view_->setBackdropStretch(presentation_.backdropStretch);
    view_->dropUnusedPictures();
    view_->update();
    if (presentation_.colourKeyOn) outline_.reset(display_, presentation_.colourKey);
    // The window is withdrawn here; its outline is made when it is presented.
    shapeValid_ = false;
}

void TForm1::updateShape() {
    if (!presentation_.colourKeyOn) {
        if (!shapeValid_) clearMask();
        shapeValid_ = true;
        return;
    }
    // Decided at each skin load: on most skins only the device pictures and buttons can change
    // the outline, and a game step then costs a few comparisons.
    const bool changed = outline_.changed(display_);
    if (shapeValid_ && !changed) return;
    shapeValid_ = true;
    const QImage composed = view_->compose();
    const QRgb keyColour = colourOf(presentation_.colourKey).rgb();
    const QImage maskImage = composed.createMaskFromColor(keyColour, Qt::MaskInColor);
    setMask(QBitmap::fromImage(maskImage));
}

void TForm1::refresh() {
    view_->flushDamage();
    updateShape();
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
    return QWidget::event(event);
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
    sound_.Snd_Close();
    // The settings store keeps nothing unsaved: every value was written when it changed.
    event->accept();
    QCoreApplication::quit();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    const auto stroke = keyStrokeOf(*event);
    // The menu's shortcuts are the plain keys: Shift+Esc or Ctrl+F4 are no commands.
    constexpr auto kHeld =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const bool plain = !(event->modifiers() & kHeld);
    if (stroke && plain && menu_->triggerShortcut(stroke->code)) {
        event->accept();
        return;
    }
    if (stroke) input_->FormKeyDown(stroke->code);
    refresh();
    event->accept();
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
    const auto stroke = keyStrokeOf(*event);
    if (stroke) input_->FormKeyUp(stroke->code);
    refresh();
    event->accept();
}

void TForm1::onPress(SegmentId id, QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        menu_->popupAt(event->globalPosition().toPoint());
        refresh();
        return;
    }
    const MouseResult result = id >= 0 ? input_->mouseDown(id, buttonOf(event->button()))
                                       : MouseResult::None;
    if (result == MouseResult::StartDrag && !FullscreenMode && event->button() == Qt::LeftButton) {
        // The desktop is asked to move the window only once the pointer moves: asked at a quick
        // click whose release it had already passed on, KWin (XWayland) keeps moving the window
        // with the bare pointer and takes the keys until the next click.
        dragging_ = true;
        desktopAsked_ = false;
        dragPressGlobal_ = event->globalPosition().toPoint();
        dragWindowOrigin_ = pos();
    }
    refresh();
}

void TForm1::onRelease(SegmentId id, QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    if (id < 0) return;
    const QPoint p = event->position().toPoint();
    const bool over = display_.segment(id).bounds.contains(p.x(), p.y());
    const MouseResult result = input_->mouseUp(id, buttonOf(event->button()), over);
    if (result == MouseResult::GameMenuClick) btn_game_menu_topClick();
    refresh();
}

void TForm1::onMove(SegmentId, QMouseEvent* event) {
    if (!dragging_ || FullscreenMode || !(event->buttons() & Qt::LeftButton)) return;
    if (!desktopAsked_) {
        desktopAsked_ = true;
        if (desktop_.beginMove(*this)) {
            // The desktop has the pointer until the button goes up; no release comes here.
            dragging_ = false;
            view_->releaseCapture();
            return;
        }
    }
    // The grabbed point stays under the pointer: the window follows the pointer's movement
    // since the press, with no limit.
    move(dragWindowOrigin_ + (event->globalPosition().toPoint() - dragPressGlobal_));
}

bool TForm1::openSound(const std::string& choiceText) {
    return sound_.Snd_Open(choiceText, settings_, shell_);
}

void TForm1::setSplashMenuCheck(bool checked) {
    menu_->item("pm_11_splashscreen")->setChecked(checked);
}

void TForm1::startSimulator() {
    // Once the device is running the splash screen is done with, even if this window was never
    // activated while it waited (a desktop without a window manager activates nothing).
    SplashPending = false;
    presentCentred();
    game_->GameState = ModeClosed;
    game_->Gam_Set_Mode();
    refresh();
}

void TForm1::pm_0_menuPopup() {
    const bool fallback = splash_ ? splash_->splashScreenChecked() : true;
    menu_->item("pm_11_splashscreen")->setChecked(settings_.ReadBool("SplashScreen", fallback));
    if (FullscreenMode && GameMenuOpen) {
        GameMenuOpen = false;
        Vid_Display_Game_Menu(false);
    }
}

void TForm1::pm_1_aboutClick() {
    if (!about_) return;
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void TForm1::pm_2_readmeClick() { shell_.openDocument("Readme.txt"); }
void TForm1::pm_3_whatsnewClick() { shell_.openDocument("Whatsnew.txt"); }

void TForm1::pm_4_manualClick() {
    if (!manual_) return;
    manual_->show();
    manual_->raise();
    manual_->activateWindow();
}

void TForm1::pm_6_configClick() { shell_.openDocument("Config.ini"); }

void TForm1::pm_7_keysClick() {
    if (!keys_) return;
    keys_->openCentred();
    // The timers go on; only input to the device window stops.
    setEnabled(false);
}

void TForm1::enableMainWindow() {
    setEnabled(true);
    activateWindow();
}

void TForm1::pm_8_hiscoreClick() {
    game_->resetHighScores();
    shell_.beep();
}

void TForm1::pm_10_fullscreenClick() {
    FullscreenMode = !FullscreenMode;
    menu_->item("pm_10_fullscreen")->setChecked(FullscreenMode);
    GameMenuOpen = false;
    Vid_Display_Game_Menu(false);
    settings_.WriteBool("FullscreenMode", FullscreenMode);
    placeOffScreen();
    Skin_Load(setup_.programFolder, FullscreenMode, shell_, display_, presentation_);
    applyPresentation();
    presentCentred();
    refresh();
}

void TForm1::pm_11_splashscreenClick() {
    QAction* item = menu_->item("pm_11_splashscreen");
    item->setChecked(!item->isChecked());
    settings_.WriteBool("SplashScreen", item->isChecked());
}

void TForm1::pm_14_exitClick() { shell_.requestQuit(); }

void TForm1::btn_game_menu_topClick() {
    GameMenuOpen = !GameMenuOpen;
    Vid_Display_Game_Menu(GameMenuOpen);
}

void TForm1::Vid_Display_Game_Menu(bool open) {
    const SegmentId panel = seg("btn_game_menu_background");
    if (open) {
        std::array<QAction*, GameMenuOverlay::kRows> items{};
        for (int i = 0; i < kMenuItemCount; ++i) items[i] = menu_->item(i);
        overlay_->open(
            items, [this](int i) { (this->*kMenuItems[i].click)(); refresh(); },
            [this] {
                GameMenuOpen = false;
                Vid_Display_Game_Menu(false);
                refresh();
            },
            [this](QPoint global) {
                menu_->popupAt(global);
                refresh();
            });
        display_.setBounds(panel, {0, 0, 256, 448});
    } else {
        overlay_->close();
        display_.setBounds(panel, {0, 0, 36, 32});
    }
}
