#pragma once
// The commands of the context menu pm_0_menu (and of the game menu, which offers the same
// items). The menu's item table points here; the commands reach the device window only through
// the small interface below, so the menu and the window do not know each other.
#include <string_view>

#include "core/display/lcd_look.h"

class Device;
enum class ZoomChoice;
class QWidget;
class TKeysForm;
class TSplashForm;

// What the commands ask of the device window.
class CommandWindow {
  public:
    virtual ~CommandWindow() = default;
    virtual bool fullscreen() const = 0;
    // Full screen <-> window: the skin is loaded again for the other presentation.
    virtual void togglePresentation() = 0;
    // Folds the game menu of full-screen mode away, if it is open.
    virtual void closeGameMenu() = 0;
    // The device takes no input while the key settings dialog holds it.
    virtual void holdForDialog() = 0;
    // The device shown at the player's zoom.
    virtual void setZoom(ZoomChoice choice) = 0;
    // The device is drawn again in the LCD look it now has.
    virtual void lcdLookChanged() = 0;
};

// The check marks of the menu's items, by item name.
class MenuChecks {
  public:
    virtual ~MenuChecks() = default;
    virtual bool isChecked(std::string_view item) const = 0;
    virtual void setChecked(std::string_view item, bool checked) = 0;
};

class MenuCommands {
  public:
    MenuCommands(Device& device, CommandWindow& window) : device_(device), window_(window) {}

    // The windows the commands open, created after the device window.
    void setMenuChecks(MenuChecks* checks) { checks_ = checks; }
    void setSplashScreen(TSplashForm* splash) { splash_ = splash; }
    void setAboutBox(QWidget* about) { about_ = about; }
    void setManualViewer(QWidget* manual) { manual_ = manual; }
    void setKeySettingsDialog(TKeysForm* keys) { keys_ = keys; }

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
    // A zoom chosen: stored, and the device shown at it.
    void zoomTo(ZoomChoice choice);
    // The items of the "LCD look" submenu.
    void pm_12_lookClick(LcdLook look);
    void pm_12_contrastClick(int percent);
    void pm_14_exitClick();

    const LcdLookChoice& lcdLook() const;

  private:
    Device& device_;
    CommandWindow& window_;
    MenuChecks* checks_ = nullptr;
    TSplashForm* splash_ = nullptr;
    QWidget* about_ = nullptr;
    QWidget* manual_ = nullptr;
    TKeysForm* keys_ = nullptr;
};
