#pragma once
// The device window's context menu pm_0_menu. The game menu overlay of full-screen mode offers
// the same items, reading their captions, check marks and enabled states from here.
#include <QMenu>
#include <array>
#include <string_view>

#include "qt/menu_commands.h"
#include "qt/zoom.h"

class LcdLookMenu;
class QAction;

struct MenuItemInfo {
    std::string_view name;
    std::string_view caption;  // "-" is a separator
    int shortcut;              // virtual-key code, 0 = none
    bool checkable;
    void (MenuCommands::*click)();
    bool submenu = false;  // unfolds its choices ("Zoom", "LCD look") instead of running a command
};

inline constexpr int kMenuItemCount = 15;
extern const std::array<MenuItemInfo, kMenuItemCount> kMenuItems;
// The submenu item of the zoom choices.
inline constexpr std::string_view kZoomItem = "pm_12_zoom";

class ContextMenu : public QMenu, public MenuChecks {
    Q_OBJECT
  public:
    // The items' shortcuts act in window, the menu's parent.
    ContextMenu(QWidget& window, MenuCommands& commands);

    // Runs an item's command, as a click on it does; a submenu unfolds at the pointer (the game
    // menu has no submenus of its own).
    void run(int i);

    bool isChecked(std::string_view item) const override;
    void setChecked(std::string_view item, bool checked) override;

    QAction* item(int i) const { return items_[i]; }  // 0-based, menu order, separators included
    QAction* item(std::string_view name) const;
    ZoomMenu& zoomMenu() const { return *zoom_; }
    LcdLookMenu& lcdLookMenu() const { return *lcdLook_; }
    static bool isSeparator(int i) { return kMenuItems[i].caption == "-"; }

    // Runs the item whose shortcut is this virtual-key code; false when none has it. For key
    // presses that reach the window while the desktop has not made it the active window (Qt
    // then delivers the key but not the shortcut).
    // The shortcuts are the plain keys: Shift+Esc or Ctrl+F4 are no commands.
    bool triggerShortcut(int virtualKey, Qt::KeyboardModifiers modifiers);

    // Opens at a screen position after pm_0_menuPopup has run.
    void popupAt(const QPoint& globalPos);

  private:
    MenuCommands& commands_;
    std::array<QAction*, kMenuItemCount> items_{};
    ZoomMenu* zoom_ = nullptr;
    LcdLookMenu* lcdLook_ = nullptr;
};
