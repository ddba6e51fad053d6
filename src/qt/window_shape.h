#pragma once
// The outline of the windowed device on the desktop: an X shape cut out of the composed picture
// where it shows the key colour. Made again only when an element that can change it changed,
// since composing the whole device and handing the X server a new shape costs milliseconds.
#include "core/display/window_outline.h"
#include "core/skin/skin_loader.h"

class DeviceView;
class QWidget;

class WindowShape {
  public:
    // After a skin load: which elements can change the outline (none without a colour key).
    void reset(const SegmentDisplay& display, const Presentation& shown);
    // The native window may be new: it gets its outline again at the next update.
    void invalidate() { valid_ = false; }
    // Gives the window its outline when it is due.
    void update(QWidget& window, DeviceView& view, const SegmentDisplay& display,
                const Presentation& shown);

  private:
    WindowOutline outline_;
    bool valid_ = false;
};
