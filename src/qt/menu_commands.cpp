#include "qt/menu_commands.h"

#include <QRect>
#include <QWidget>

#include "core/device.h"
#include "qt/key_settings_dialog.h"
#include "qt/splash_screen.h"
#include "qt/zoom.h"

namespace {
void bringToFront(QWidget* window) {
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}
}  // namespace

void MenuCommands::pm_0_menuPopup() {
    const bool fallback = splash_ ? splash_->splashScreenChecked() : true;
    if (checks_)
        checks_->setChecked("pm_11_splashscreen",
                            device_.settings().ReadBool("SplashScreen", fallback));
    if (window_.fullscreen()) window_.closeGameMenu();
}

void MenuCommands::pm_1_aboutClick() {
    bringToFront(about_);
}
void MenuCommands::pm_2_readmeClick() {
    device_.shell().openDocument("Readme.txt");
}
void MenuCommands::pm_3_whatsnewClick() {
    device_.shell().openDocument("Whatsnew.txt");
}
void MenuCommands::pm_4_manualClick() {
    bringToFront(manual_);
}
void MenuCommands::pm_6_configClick() {
    device_.shell().openDocument("Config.ini");
}

void MenuCommands::pm_7_keysClick() {
    if (!keys_) return;
    const ScreenSize monitor = device_.shell().screenSize();
    keys_->openCentred(QRect(monitor.left, monitor.top, monitor.width, monitor.height));
    // The timers go on; only input to the device window stops.
    window_.holdForDialog();
}

void MenuCommands::pm_8_hiscoreClick() {
    device_.resetHighScores();
}

void MenuCommands::pm_10_fullscreenClick() {
    window_.togglePresentation();
    if (checks_) checks_->setChecked("pm_10_fullscreen", window_.fullscreen());
}

void MenuCommands::pm_11_splashscreenClick() {
    if (!checks_) return;
    const bool checked = !checks_->isChecked("pm_11_splashscreen");
    checks_->setChecked("pm_11_splashscreen", checked);
    device_.settings().WriteBool("SplashScreen", checked);
}

void MenuCommands::zoomTo(ZoomChoice choice) {
    device_.settings().WriteInteger(kZoomSetting, zoomEntry(choice).stored);
    window_.setZoom(choice);
}

void MenuCommands::pm_12_lookClick(LcdLook look) {
    LcdLookChoice choice = device_.lcdLook();
    choice.look = look;
    device_.setLcdLook(choice);
    window_.lcdLookChanged();
}

void MenuCommands::pm_12_contrastClick(int percent) {
    LcdLookChoice choice = device_.lcdLook();
    choice.unlitContrast = percent;
    device_.setLcdLook(choice);
    window_.lcdLookChanged();
}

const LcdLookChoice& MenuCommands::lcdLook() const {
    return device_.lcdLook();
}

void MenuCommands::pm_14_exitClick() {
    device_.shell().requestQuit();
}
