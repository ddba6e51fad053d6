#pragma once
// The device window (TForm1): owns the settings store, the segments, the game and its timers, the
// sound, the key bindings and the context menu for the whole run.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/desktop_presenter.h"
#include "app/run_trace.h"
#include "app/settings_store.h"
#include "display/segment_display.h"
#include "display/window_outline.h"
#include "game/game.h"
#include "game/local_clock.h"
#include "game/random.h"
#include "input/input_dispatch.h"
#include "input/key_bindings.h"
#include "input/key_settings_dialog.h"
#include "skin/skin_loader.h"
#include "sound/sound_system.h"
#include "windows/splash_screen.h"

class ContextMenu;
class DeviceView;
class GamepadInput;
class SdlGamepads;
class GameMenuOverlay;
class Shell;
class TimerDriver;

// Where the main window finds its files and its store; tests replace each of them.
struct MainWindowSetup {
    std::string programFolder;           // Config.ini is read from here
    SettingsBackend* settings = nullptr;  // the per-user store
    SoundLibrary* soundLibrary = nullptr;
    bool virtualTime = false;  // tests move the timers' clock themselves
    bool gamepads = false;     // read SDL's game controllers (polled by the owner in virtual time)
};

class TForm1 : public QWidget, public SplashHost, public KeySettingsHost {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Torchwheel (Kestrova, Tickhand Wideglass) Simulator";

    TForm1(const MainWindowSetup& setup, Shell& shell);
    ~TForm1() override;

    // SplashHost
    bool openSound(const std::string& choiceText) override;
    void clearSplashPending() override { SplashPending = false; }
    void setSplashMenuCheck(bool checked) override;
    void startSimulator() override;

    // The other windows, created after this one (the program entry hands them over).
    void setSplashScreen(TSplashForm* splash) { splash_ = splash; }
    void setAboutBox(QWidget* about) { about_ = about; }
    void setManualViewer(QWidget* manual) { manual_ = manual; }
    void setKeySettingsDialog(TKeysForm* keys) { keys_ = keys; }

    // Context menu commands.
    void pm_0_menuPopup();
    void pm_1_aboutClick();
    void pm_2_readmeClick();
    void pm_3_whatsnewClick();
    void pm_4_manualClick();
    void pm_6_configClick();
    void pm_7_keysClick();
    void pm_8_hiscoreClick();
    void pm_10_fullscreenClick();
    void pm_11_splashscreenClick();
    void pm_14_exitClick();

    // The game menu overlay of full-screen mode.
    void btn_game_menu_topClick();
    void Vid_Display_Game_Menu(bool open);

    // KeySettingsHost: the dialog closed (accepted or left with Esc); hints are read live.
    void enableMainWindow() override;
    void hintsChanged() override {}

    // Maps the device window for the first time: at its place when the simulator has started,
    // otherwise it stays unmapped (a window manager would pull an off-screen window into view)
    // and the splash screen is shown as at the first activation.
    void showOnDesktop();

    Game& game() { return *game_; }
    SegmentDisplay& display() { return display_; }
    KeyBindings& bindings() { return bindings_; }
    SettingsStore& settings() { return settings_; }
    SoundSystem& sound() { return sound_; }
    Scheduler& scheduler();
    ContextMenu& menu() { return *menu_; }
    DeviceView& view() { return *view_; }
    const Presentation& presentation() const { return presentation_; }
    GameMenuOverlay& gameMenu() { return *overlay_; }
    Shell& shell() { return shell_; }
    SdlGamepads* gamepads() { return gamepads_.get(); }

    bool FullscreenMode = true;
    bool GameMenuOpen = false;
    bool SplashPending = true;

    // Repaints what the core changed (after input handlers and timer runs).
    void refresh();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormActivate();
    void applyPresentation();
    void updateShape();
    void onPress(SegmentId id, class QMouseEvent* event);
    void onRelease(SegmentId id, class QMouseEvent* event);
    void onMove(SegmentId id, class QMouseEvent* event);
    void placeOffScreen();
    // Maps the window centred on the screen (in full screen at (0, 0), the screen's size).
    void presentCentred();
    // Hands the focus to the key settings dialog while it holds the device window disabled.
    void passFocusToDialog();

    MainWindowSetup setup_;
    Shell& shell_;
    SettingsStore settings_;
    SegmentDisplay display_;
    TimerDriver* timers_ = nullptr;
    SoundSystem sound_;
    SeededRandom random_{0};
    SystemLocalClock clock_;
    std::unique_ptr<Game> game_;
    KeyBindings bindings_;
    std::unique_ptr<InputDispatch> input_;
    Presentation presentation_;
    DesktopPresenter desktop_;
    DeviceView* view_ = nullptr;
    ContextMenu* menu_ = nullptr;
    std::unique_ptr<GameMenuOverlay> overlay_;
    std::unique_ptr<GamepadInput> padInput_;
    std::unique_ptr<SdlGamepads> gamepads_;

    TSplashForm* splash_ = nullptr;
    QWidget* about_ = nullptr;
    QWidget* manual_ = nullptr;
    TKeysForm* keys_ = nullptr;

    // Dragging in window mode: where the press was, in screen and window terms, and whether
    // the desktop was already asked to move the window itself.
    bool dragging_ = false;
    bool desktopAsked_ = false;
    QPoint dragPressGlobal_;
    QPoint dragWindowOrigin_;
    // The segments that can change the window shape, to rebuild it only when one of them changes.
    WindowOutline outline_;
    RunTrace trace_;
    bool shapeValid_ = false;
};
