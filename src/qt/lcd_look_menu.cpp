#include "qt/lcd_look_menu.h"

#include <QAction>
#include <QActionGroup>

#include "core/display/lcd_look.h"

namespace {
constexpr const char* kContrastItem = "pm_12_unlit_%1";
}  // namespace

LcdLookMenu::LcdLookMenu(QWidget* parent, MenuCommands& commands)
    : QMenu(parent), commands_(commands) {
    setObjectName("pm_12_lcdlook_menu");
    setProperty("_kde_no_accelerators", true);
    auto* looks = new QActionGroup(this);
    const auto addLook = [&](const char* name, const char* caption, LcdLook look) {
        QAction* action = addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        action->setCheckable(true);
        looks->addAction(action);
        connect(action, &QAction::triggered, this, [this, look] {
            commands_.pm_12_lookClick(look);
            showChoice();
        });
    };
    addLook("pm_12_plain", "Plain", LcdLook::Plain);
    addLook("pm_12_real", "Real", LcdLook::Real);
    addSeparator();
    auto* contrasts = new QActionGroup(this);
    for (const int percent : kUnlitContrasts) {
        QAction* action = addAction(QStringLiteral("Unlit segments %1 %").arg(percent));
        action->setObjectName(QString::fromLatin1(kContrastItem).arg(percent));
        action->setCheckable(true);
        contrasts->addAction(action);
        connect(action, &QAction::triggered, this, [this, percent] {
            commands_.pm_12_contrastClick(percent);
            showChoice();
        });
    }
    connect(this, &QMenu::aboutToShow, this, &LcdLookMenu::showChoice);
    showChoice();
}

QAction* LcdLookMenu::item(std::string_view name) const {
    for (QAction* action : actions())
        if (action->objectName() == QString::fromUtf8(name.data(), name.size())) return action;
    return nullptr;
}

void LcdLookMenu::showChoice() {
    const LcdLookChoice& choice = commands_.lcdLook();
    item("pm_12_plain")->setChecked(choice.look == LcdLook::Plain);
    item("pm_12_real")->setChecked(choice.look == LcdLook::Real);
    for (const int percent : kUnlitContrasts) {
        QAction* action = item(QString::fromLatin1(kContrastItem).arg(percent).toStdString());
        action->setChecked(choice.unlitContrast == percent);
        action->setEnabled(choice.look == LcdLook::Real);
    }
}
