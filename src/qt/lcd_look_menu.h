#pragma once
// "LCD look": the submenu of the context menu (and of the game menu, which unfolds it) that
// chooses between "Plain" and "Real" and the contrast of the unlit segments.
#include <QMenu>
#include <string_view>

#include "qt/menu_commands.h"

class QAction;

class LcdLookMenu : public QMenu {
    Q_OBJECT
  public:
    LcdLookMenu(QWidget* parent, MenuCommands& commands);

    QAction* item(std::string_view name) const;

  private:
    // The check marks follow the device's choice each time the menu opens; the contrasts only
    // mean something in "Real".
    void showChoice();

    MenuCommands& commands_;
};
