#include "qt/window_shape.h"

#include <QBitmap>
#include <QImage>
#include <QWidget>

#include "qt/device_view.h"

void WindowShape::reset(const SegmentDisplay& display, const Presentation& shown) {
    if (shown.colourKeyOn) outline_.reset(display, shown.colourKey);
    valid_ = false;
}

void WindowShape::update(QWidget& window, DeviceView& view, const SegmentDisplay& display,
                         const Presentation& shown) {
    if (!shown.colourKeyOn) {
        if (!valid_) window.clearMask();
        valid_ = true;
        return;
    }
    const bool changed = outline_.changed(display);
    if (valid_ && !changed) return;
    valid_ = true;
    const std::uint32_t key = shown.colourKey;
    const QRgb keyColour = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    const QImage mask = view.compose().createMaskFromColor(keyColour, Qt::MaskInColor);
    window.setMask(QBitmap::fromImage(mask));
}
