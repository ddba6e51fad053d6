#include "qt/zoom.h"

#include <QAction>
#include <QActionGroup>
#include <QSize>

#include "qt/view_scale.h"

ZoomChoice zoomChoiceOf(int stored) {
    for (const ZoomEntry& entry : kZoomEntries)
        if (entry.stored == stored) return entry.choice;
    return ZoomChoice::Actual;
}

const ZoomEntry& zoomEntry(ZoomChoice choice) {
    for (const ZoomEntry& entry : kZoomEntries)
        if (entry.choice == choice) return entry;
    return kZoomEntries[0];
}

double zoomFactor(ZoomChoice choice, QSize room, QSize game) {
    const double factor = zoomEntry(choice).factor;
    return factor > 0.0 ? factor : fitZoom(room, game);
}

ZoomMenu::ZoomMenu(QWidget& window, std::function<void(ZoomChoice)> choose) : QMenu(&window) {
    setObjectName(QStringLiteral("pm_12_zoom_choices"));
    setTitle(QStringLiteral("Zoom"));
    setProperty("_kde_no_accelerators", true);
    auto* group = new QActionGroup(this);
    for (std::size_t i = 0; i < kZoomEntries.size(); ++i) {
        const ZoomEntry& entry = kZoomEntries[i];
        QAction* action = addAction(
            QString::fromUtf8(entry.caption.data(), static_cast<int>(entry.caption.size())));
        action->setCheckable(true);
        action->setActionGroup(group);
        action->setShortcut(QKeySequence(Qt::Key_F1 + (entry.shortcut - VkF1)));
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        connect(action, &QAction::triggered, this,
                [choose, choice = entry.choice] { choose(choice); });
        actions_[i] = action;
    }
    setChecked(ZoomChoice::Actual);
}

void ZoomMenu::setChecked(ZoomChoice choice) {
    for (std::size_t i = 0; i < kZoomEntries.size(); ++i)
        actions_[i]->setChecked(kZoomEntries[i].choice == choice);
}

ZoomChoice ZoomMenu::checked() const {
    for (std::size_t i = 0; i < kZoomEntries.size(); ++i)
        if (actions_[i]->isChecked()) return kZoomEntries[i].choice;
    return ZoomChoice::Actual;
}

QAction* ZoomMenu::entry(ZoomChoice choice) const {
    for (std::size_t i = 0; i < kZoomEntries.size(); ++i)
        if (kZoomEntries[i].choice == choice) return actions_[i];
    return nullptr;
}

bool ZoomMenu::triggerShortcut(int virtualKey) {
    for (std::size_t i = 0; i < kZoomEntries.size(); ++i) {
        if (kZoomEntries[i].shortcut != virtualKey) continue;
        actions_[i]->trigger();
        return true;
    }
    return false;
}
