#pragma once
// The player's zoom: how many times larger than the skin's own pixels the device is shown, on
// top of the desktop's scale. Chosen from the "Zoom" submenu of the context menu (and the game
// menu), or with keys that no device button can be bound to; stored as "Zoom".
#include <QMenu>
#include <array>
#include <functional>
#include <string_view>

#include "core/input/virtual_keys.h"

class QAction;
class QSize;

enum class ZoomChoice { Actual, Percent150, Percent200, Percent300, Fit };

struct ZoomEntry {
    ZoomChoice choice;
    std::string_view caption;
    int stored;     // the value kept as "Zoom"
    int shortcut;   // virtual-key code
    double factor;  // 0: as large as the monitor allows
};

// The device buttons can be bound to letters, digits, arrows, Space and the modifier keys, never
// to the function keys.
inline constexpr std::array<ZoomEntry, 5> kZoomEntries{{
    {ZoomChoice::Actual, "Actual size", 100, VkF1 + 4, 1.0},
    {ZoomChoice::Percent150, "150 %", 150, VkF1 + 5, 1.5},
    {ZoomChoice::Percent200, "200 %", 200, VkF1 + 6, 2.0},
    {ZoomChoice::Percent300, "300 %", 300, VkF1 + 7, 3.0},
    {ZoomChoice::Fit, "Fit to screen", 0, VkF1 + 8, 0.0},
}};

inline constexpr const char* kZoomSetting = "Zoom";

// The choice a stored value names; any other value is the actual size.
ZoomChoice zoomChoiceOf(int stored);
const ZoomEntry& zoomEntry(ZoomChoice choice);

// The zoom of a choice. "Fit to screen" is the largest at which the game area fits `room`:
// the monitor in full screen, 90 % of its work area for the windowed device.
double zoomFactor(ZoomChoice choice, QSize room, QSize game);

// The submenu: one checked entry, each with its shortcut acting in the device window.
class ZoomMenu : public QMenu {
    Q_OBJECT
  public:
    ZoomMenu(QWidget& window, std::function<void(ZoomChoice)> choose);

    void setChecked(ZoomChoice choice);
    ZoomChoice checked() const;
    QAction* entry(ZoomChoice choice) const;
    // Runs the entry whose shortcut is this plain key; false when none has it.
    bool triggerShortcut(int virtualKey);

  private:
    std::array<QAction*, kZoomEntries.size()> actions_{};
};
