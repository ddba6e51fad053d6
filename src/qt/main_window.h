#pragma once
// The device window (TForm1): hosts one Device for the whole run, draws it, hands it the
// player's keys and clicks, and presents itself on the desktop (full screen or as the device).
#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "core/device.h"
#include "platform/run_trace.h"
#include "qt/desktop_presenter.h"
#include "qt/key_settings_dialog.h"
#include "qt/menu_commands.h"
#include "qt/splash_screen.h"
#include "qt/window_layout.h"

class ContextMenu;
class DeviceView;
class GamepadInput;
class SdlGamepads;
class GameMenuOverlay;
class TimerDriver;

// Where the main window finds its files and its store; tests replace each of them.
struct MainWindowSetup {
    SkinPlace skin;                       // Config.ini and the folders it names
    SettingsBackend* settings = nullptr;  // the per-user store
    SoundLibrary* soundLibrary = nullptr;
    bool virtualTime = false;  // tests move the timers' clock themselves
    bool gamepads = false;     // read SDL's game controllers (polled by the owner in virtual time)
};

class TForm1 : public QWidget, public SplashHost, public KeySettingsHost, public CommandWindow {
    Q_OBJECT
  public:
    static constexpr const char* kTitle = "Torchwheel (Kestrova, Tickhand Wideglass) Simulator";

    TForm1(const MainWindowSetup& setup, Shell& shell);
    ~TForm1() override;

    // SplashHost
    bool openSound(const std::string& choiceText) override { return device_.openSound(choiceText); }
    void clearSplashPending() override { SplashPending = false; }
    void setSplashMenuCheck(bool checked) override;
    void startSimulator() override;

    // The other windows, created after this one (the program entry hands them over).
    void setSplashScreen(TSplashForm* splash);
    void setAboutBox(QWidget* about) { commands_.setAboutBox(about); }
    void setManualViewer(QWidget* manual) { commands_.setManualViewer(manual); }
    void setKeySettingsDialog(TKeysForm* keys);

    // CommandWindow
    bool fullscreen() const override { return FullscreenMode; }
    void togglePresentation() override;
    void closeGameMenu() override;
    void holdForDialog() override { setEnabled(false); }
    void setZoom(ZoomChoice choice) override;
    void lcdLookChanged() override { refresh(); }

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

    Device& device() { return device_; }
    Game& game() { return device_.game(); }
    SegmentDisplay& display() { return device_.display(); }
    KeyBindings& bindings() { return device_.bindings(); }
    SettingsStore& settings() { return device_.settings(); }
    SoundSystem& sound() { return device_.sound(); }
    Scheduler& scheduler() { return device_.scheduler(); }
    MenuCommands& commands() { return commands_; }
    ContextMenu& menu() { return *menu_; }
    DeviceView& view() { return *view_; }
    WindowLayout& layout() { return *layout_; }
    const Presentation& presentation() const { return device_.presentation(); }
    GameMenuOverlay& gameMenu() { return *overlay_; }
    Shell& shell() { return shell_; }
    SdlGamepads* gamepads() { return gamepads_.get(); }

    bool FullscreenMode = true;
    bool GameMenuOpen = false;
    bool SplashPending = true;

    // Repaints what the core changed (after input handlers and timer runs).
    void refresh();
    // The device's monitor changed its size or scale, or went away: full screen is laid out
    // again for it, and a windowed device whose monitor went away is centred on the new one.
    void followMonitor(bool monitorGone);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void FormCreate();
    void FormActivate();
    void onPress(SegmentId id, class QMouseEvent* event);
    void onRelease(SegmentId id, class QMouseEvent* event);
    void onMove(SegmentId id, class QMouseEvent* event);
    // The presentation made again, as the toggle makes it, keeping the game.
    void relayout();
    // Hands the focus to the key settings dialog while it holds the device window disabled.
    void passFocusToDialog();

    MainWindowSetup setup_;
    Shell& shell_;
    Device device_;
    TimerDriver* timers_ = nullptr;
    MenuCommands commands_;
    DeviceView* view_ = nullptr;
    std::unique_ptr<WindowLayout> layout_;
    ContextMenu* menu_ = nullptr;
    std::unique_ptr<GameMenuOverlay> overlay_;
    std::unique_ptr<GamepadInput> padInput_;
    std::unique_ptr<SdlGamepads> gamepads_;

    TSplashForm* splash_ = nullptr;
    TKeysForm* keys_ = nullptr;

    WindowDrag drag_;
    RunTrace trace_;
};
