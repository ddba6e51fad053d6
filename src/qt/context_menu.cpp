#include "qt/context_menu.h"

#include <QAction>
#include <QCursor>

#include "core/input/virtual_keys.h"
#include "qt/lcd_look_menu.h"

const std::array<MenuItemInfo, kMenuItemCount> kMenuItems{{
    {"pm_1_about", "About...", VkF1, false, &MenuCommands::pm_1_aboutClick},
    {"pm_2_readme", "View 'Readme.txt'", VkF1 + 1, false, &MenuCommands::pm_2_readmeClick},
    {"pm_3_whatsnew", "View 'Whatsnew.txt'", VkF1 + 2, false, &MenuCommands::pm_3_whatsnewClick},
    {"pm_4_manual", "View manual", VkF1 + 3, false, &MenuCommands::pm_4_manualClick},
    {"pm_5_n1", "-", 0, false, nullptr},
    {"pm_6_config", "Edit configuration file", 0, false, &MenuCommands::pm_6_configClick},
    {"pm_7_keys", "Key settings", 0, false, &MenuCommands::pm_7_keysClick},
    {"pm_8_hiscore", "Reset Hiscores", 0, false, &MenuCommands::pm_8_hiscoreClick},
    {"pm_9_n2", "-", 0, false, nullptr},
    {"pm_10_fullscreen", "Display in fullscreen mode", VkF12, true,
     &MenuCommands::pm_10_fullscreenClick},
    {"pm_11_splashscreen", "Display splash screen at startup", 0, true,
     &MenuCommands::pm_11_splashscreenClick},
    {"pm_12_zoom", "Zoom", 0, false, nullptr, true},
    {"pm_12_lcdlook", "LCD look", 0, false, nullptr, true},
    {"pm_13_n3", "-", 0, false, nullptr},
    {"pm_14_exit", "Exit", VkEscape, false, &MenuCommands::pm_14_exitClick},
}};

namespace {
QKeySequence shortcutOf(int vk) {
    if (vk == VkEscape) return QKeySequence(Qt::Key_Escape);
    if (vk >= VkF1 && vk <= VkF12) return QKeySequence(Qt::Key_F1 + (vk - VkF1));
    return {};
}
}  // namespace

ContextMenu::ContextMenu(QWidget& window, MenuCommands& commands)
    : QMenu(&window), commands_(commands) {
    setObjectName("pm_0_menu");
    // Some desktop styles add accelerator letters to menus on their own; these captions are
    // shown exactly as written.
    setProperty("_kde_no_accelerators", true);
    for (int i = 0; i < kMenuItemCount; ++i) {
        const MenuItemInfo& info = kMenuItems[i];
        QAction* action = nullptr;
        if (info.caption == "-") {
            action = addSeparator();
        } else if (info.submenu) {
            QMenu* submenu = nullptr;
            if (info.name == kZoomItem)
                submenu = zoom_ =
                    new ZoomMenu(window, [&commands](ZoomChoice c) { commands.zoomTo(c); });
            else
                submenu = lcdLook_ = new LcdLookMenu(this, commands_);
            submenu->setTitle(QString::fromUtf8(info.caption.data(), info.caption.size()));
            action = addMenu(submenu);
        } else {
            action = addAction(QString::fromUtf8(info.caption.data(), info.caption.size()));
            action->setCheckable(info.checkable);
            action->setShortcut(shortcutOf(info.shortcut));
            // The shortcuts act while the device window has the focus, before its key handlers.
            action->setShortcutContext(Qt::WindowShortcut);
            window.addAction(action);
            connect(action, &QAction::triggered, &window, [this, i, action] {
                // Qt flips a check mark before it reports the choice; the command sets the mark
                // itself, the same way when it comes from the game menu overlay.
                if (action->isCheckable()) action->setChecked(!action->isChecked());
                run(i);
            });
        }
        action->setObjectName(QString::fromUtf8(info.name.data(), info.name.size()));
        items_[i] = action;
    }
    setDefaultAction(items_[0]);
    commands_.setMenuChecks(this);
}

void ContextMenu::run(int i) {
    if (kMenuItems[i].submenu)
        items_[i]->menu()->popup(QCursor::pos());
    else
        (commands_.*kMenuItems[i].click)();
}

bool ContextMenu::isChecked(std::string_view name) const {
    const QAction* action = item(name);
    return action && action->isChecked();
}

void ContextMenu::setChecked(std::string_view name, bool checked) {
    if (QAction* action = item(name)) action->setChecked(checked);
}

QAction* ContextMenu::item(std::string_view name) const {
    for (int i = 0; i < kMenuItemCount; ++i)
        if (kMenuItems[i].name == name) return items_[i];
    return nullptr;
}

bool ContextMenu::triggerShortcut(int virtualKey, Qt::KeyboardModifiers modifiers) {
    constexpr auto kHeld =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (modifiers & kHeld) return false;
    for (int i = 0; i < kMenuItemCount; ++i) {
        if (kMenuItems[i].shortcut != virtualKey || !items_[i]->isEnabled()) continue;
        items_[i]->trigger();
        return true;
    }
    return zoom_ && zoom_->triggerShortcut(virtualKey);
}

void ContextMenu::popupAt(const QPoint& globalPos) {
    commands_.pm_0_menuPopup();
    popup(globalPos);
}
