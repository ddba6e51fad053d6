#include "qt/device_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "core/input/input_dispatch.h"

namespace {
Qt::CursorShape cursorShapeOf(PointerShape shape) {
    switch (shape) {
        case PointerShape::Hand:
            return Qt::PointingHandCursor;
        case PointerShape::Help:
            return Qt::WhatsThisCursor;
        case PointerShape::Arrow:
            break;
    }
    return Qt::ArrowCursor;
}
}  // namespace

DeviceView::DeviceView(SegmentDisplay& display, const LcdLookChoice& look,
                       const Presentation& shown, QWidget* parent)
    : QWidget(parent), display_(display), look_(look), shown_(shown) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void DeviceView::setBackdropStretch(bool stretch) {
    if (backdropStretch_ == stretch) return;
    backdropStretch_ = stretch;
    update();
}

void DeviceView::setBackgroundColour(QColor colour) {
    if (background_ == colour) return;
    background_ = colour;
    update();
}

void DeviceView::setColourKey(std::optional<QColor> key) {
    const std::optional<QRgb> rgb = key ? std::optional(key->rgb()) : std::nullopt;
    if (colourKey_ == rgb) return;
    colourKey_ = rgb;
    lcdStale_ = true;
    update();
}

void DeviceView::skinApplied() {
    cache_.dropUnused();
    lcdStale_ = true;
}

QRegion DeviceView::flushDamage() {
    if (look_ != lcdBuiltFor_) {
        display_.takeDamage();
        update();
        return rect();
    }
    if (!display_.hasDamage()) return {};
    const bool shadows = lcdBuiltFor_.look == LcdLook::Real;
    QRegion region;
    for (const Rect& r : display_.takeDamage()) {
        const QRect changed(r.left, r.top, r.width, r.height);
        region += shadows ? LcdLayers::withShadow(changed) : changed;
    }
    update(region);
    return region;
}

void DeviceView::updateLcdLayers() {
    if (!lcdStale_ && look_ == lcdBuiltFor_) return;
    lcdStale_ = false;
    lcdBuiltFor_ = look_;
    // At most one picture of the game area, however the skin spreads its segments.
    const std::int64_t area = std::min<std::int64_t>(
        std::int64_t{shown_.gameWidth} * shown_.gameHeight, std::int64_t{width()} * height());
    lcd_.rebuild(display_, cache_, lcdBuiltFor_, colourKey_, rect(), area * 4);
}

void DeviceView::paintSegments(QPainter& painter, const QRect& clip) {
    composed_ += clip;
    // The layers of the LCD's look go under the first LCD segment, so under all of them.
    static constexpr SegmentId kFirstLcd = [] {
        SegmentId id = 0;
        while (!isLcdSegment(id)) ++id;
        return id;
    }();
    updateLcdLayers();
    const bool real = lcdBuiltFor_.look == LcdLook::Real;
    painter.fillRect(clip, background_);
    const auto& segments = display_.segments();
    for (int id = 0; id < kSegmentCount; ++id) {
        if (id == kFirstLcd && real) lcd_.paint(painter, clip, display_);
        const Segment& s = segments[id];
        if (!s.visible || !s.picture) continue;
        const QRect bounds(s.bounds.left, s.bounds.top, s.bounds.width, s.bounds.height);
        if (!bounds.intersects(clip)) continue;
        const QImage& image = cache_.image(s.picture);
        painter.save();
        if (id == seg("im_backdrop")) {
            // The backdrop alone may be scaled: stretched to the view or centred at its own size.
            painter.setClipRect(clip);
            if (backdropStretch_) {
                painter.drawImage(rect(), image);
            } else {
                const QPoint corner((width() - image.width()) / 2, (height() - image.height()) / 2);
                painter.drawImage(corner, image);
            }
        } else {
            painter.setClipRect(bounds.intersected(clip));
            painter.drawImage(bounds.topLeft(), image);
        }
        painter.restore();
    }
}

void DeviceView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    composed_ = QRegion();
    // Rectangle by rectangle: the juggler's step and the pressed button lie far apart, and the
    // rectangle around both would be most of the device.
    for (const QRect& clip : event->region()) {
        if (colourKey_)
            paintKeyed(painter, clip);
        else
            paintSegments(painter, clip);
    }
    if (onPainted) onPainted(composed_);
}

void DeviceView::paintKeyed(QPainter& painter, const QRect& clip) {
    // The key is a colour of the finished picture, whichever picture it comes from: compose the
    // damaged rectangle first, then clear its key pixels.
    if (keyedBuffer_.width() < clip.width() || keyedBuffer_.height() < clip.height())
        keyedBuffer_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter buffer(&keyedBuffer_);
        buffer.translate(-clip.topLeft());
        paintSegments(buffer, clip);
    }
    const QRgb key = *colourKey_ | 0xFF000000u;
    for (int y = 0; y < clip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyedBuffer_.scanLine(y));
        for (int x = 0; x < clip.width(); ++x)
            if (line[x] == key) line[x] = 0;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(clip.topLeft(), keyedBuffer_, QRect(QPoint(0, 0), clip.size()));
}

QImage DeviceView::compose() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    paintSegments(painter, rect());
    return image;
}

void DeviceView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const SegmentId hit = display_.hitTest(p.x(), p.y());
    // Qt grabs the mouse for the widget from press to release; we remember which segment got the
    // left press so that its release goes to it even when the pointer has left it. Every left
    // press captures afresh: the release of an earlier press may have gone elsewhere (the
    // context menu takes the right button's).
    if (event->button() == Qt::LeftButton)
        captured_ = hit;
    else if (event->buttons() == event->button())
        captured_ = -1;
    if (onMousePress) onMousePress(hit, event);
}

void DeviceView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is two presses and two releases.
    mousePressEvent(event);
}

void DeviceView::mouseReleaseEvent(QMouseEvent* event) {
    const SegmentId target = captured_;
    if (event->buttons() == Qt::NoButton) captured_ = -1;
    if (onMouseRelease) onMouseRelease(target, event);
    updateCursor(event->position().toPoint());
}

void DeviceView::mouseMoveEvent(QMouseEvent* event) {
    if (captured_ >= 0 || event->buttons() != Qt::NoButton) {
        if (onMouseMove) onMouseMove(captured_, event);
        return;
    }
    updateCursor(event->position().toPoint());
}

void DeviceView::updateCursor(const QPoint& pos) {
    const SegmentId hit = display_.hitTest(pos.x(), pos.y());
    const Qt::CursorShape shape = hit >= 0 ? cursorShapeOf(pointerShapeOf(hit)) : Qt::ArrowCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

bool DeviceView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const SegmentId hit = display_.hitTest(help->pos().x(), help->pos().y());
        const QString hint = hintFor && hit >= 0 ? hintFor(hit) : QString();
        if (hint.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), hint, this);
        }
        return true;
    }
    return QWidget::event(event);
}
