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

// The layers of the LCD's look go under the first LCD segment, so under all of them.
constexpr SegmentId kFirstLcd = [] {
    SegmentId id = 0;
    while (!isLcdSegment(id)) ++id;
    return id;
}();
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

void DeviceView::setZoom(double zoom) {
    if (zoom_ == zoom) return;
    zoom_ = zoom;
    update();
}

void DeviceView::setSharpPictures(PictureCache::SharpSource sharp) {
    cache_.setSharp(std::move(sharp));
    update();
}

QPoint DeviceView::skinPoint(QPointF at) const {
    const ViewScale s = scale();
    return s.identity() ? at.toPoint() : s.skinPoint(at.x(), at.y());
}

void DeviceView::skinApplied() {
    cache_.dropUnused();
    lcdStale_ = true;
}

QRegion DeviceView::flushDamage() {
    lastDamage_ = QRegion();
    if (look_ != lcdBuiltFor_) {
        // The layers never reach the outline, so a new look leaves the window's shape alone.
        display_.takeDamage();
        update();
        return rect();
    }
    if (!display_.hasDamage()) return {};
    const ViewScale s = scale();
    const bool shadows = lcdBuiltFor_.look == LcdLook::Real;
    QRegion region;
    for (const Rect& d : display_.takeDamage()) {
        QRect changed(d.left, d.top, d.width, d.height);
        if (shadows) changed = LcdLayers::withShadow(changed);
        if (s.identity()) {
            region += changed;
            continue;
        }
        const Rect r{changed.x(), changed.y(), changed.width(), changed.height()};
        region += s.logicalRect(r);
        lastDamage_ += s.deviceRect(r);
    }
    update(region);
    return region;
}

void DeviceView::updateLcdLayers() {
    if (!lcdStale_ && look_ == lcdBuiltFor_) return;
    lcdStale_ = false;
    lcdBuiltFor_ = look_;
    // Made in the skin's pixels and scaled as they are drawn, like the segments they lie under.
    const QRect skin(QPoint(0, 0), scale().skinSize(size()));
    // At most one picture of the game area, however the skin spreads its segments.
    const std::int64_t area =
        std::min<std::int64_t>(std::int64_t{shown_.gameWidth} * shown_.gameHeight,
                               std::int64_t{skin.width()} * skin.height());
    lcd_.rebuild(display_, cache_, lcdBuiltFor_, colourKey_, skin, area * 4);
}

void DeviceView::paintSegments(QPainter& painter, const QRect& clip) {
    composed_ += clip;
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
    const ViewScale s = scale();
    composed_ = QRegion();
    if (!s.identity() && !colourKey_) {
        // Full screen at a scale: painted at once, and Qt clips it to the damaged region. Painted
        // rectangle by rectangle, every large picture would be set up again for each of them
        // (a game step at 4K: 2.4 ms instead of 0.7).
        paintScaled(painter, s, event->rect());
        composed_ = event->region();
        if (onPainted) onPainted(composed_);
        return;
    }
    // Rectangle by rectangle: the juggler's step and the pressed button lie far apart, and the
    // rectangle around both would be most of the device.
    for (const QRect& clip : event->region()) {
        if (!s.identity()) {
            painter.save();
            paintScaled(painter, s, clip);
            painter.restore();
        } else if (colourKey_) {
            paintKeyed(painter, clip);
        } else {
            paintSegments(painter, clip);
        }
    }
    if (onPainted) onPainted(composed_);
}

void DeviceView::useScale(const ViewScale& scale) {
    cache_.setScale(scale.factor(),
                    colourKey_ ? std::optional(*colourKey_ & 0xFFFFFFu) : std::nullopt);
}

QSize DeviceView::deviceSize(const ViewScale& scale) const {
    return scale.deviceOfLogical(rect()).size();
}

void DeviceView::paintSegmentsScaled(QPainter& painter, const ViewScale& scale, const QRect& clip) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(clip, colourKey_ ? QColor(Qt::transparent) : background_);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    updateLcdLayers();
    const bool real = lcdBuiltFor_.look == LcdLook::Real;
    const auto& segments = display_.segments();
    for (int id = 0; id < kSegmentCount; ++id) {
        if (id == kFirstLcd && real) paintLcdLayersScaled(painter, scale, clip);
        const Segment& s = segments[id];
        if (!s.visible || !s.picture || s.picture->width <= 0 || s.picture->height <= 0) continue;
        const QRect bounds = scale.deviceRect(s.bounds);
        if (!bounds.intersects(clip)) continue;
        if (id == seg("im_backdrop")) {
            // Stretched to the whole view, or centred at its own size times the scale. It lies
            // under everything and is seen whole only when the window is: drawn from its own
            // pixels, a screen-sized copy of it would cost more memory than it saves time.
            const QSize whole = deviceSize(scale);
            const QSize size = backdropStretch_ ? whole
                                                : QSize(scale.edge(s.picture->width),
                                                        scale.edge(s.picture->height));
            const QPoint corner((whole.width() - size.width()) / 2,
                                (whole.height() - size.height()) / 2);
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(corner, size), cache_.image(s.picture));
            painter.restore();
            continue;
        }
        const QPoint at(bounds.left(), bounds.top());
        const QSize size(scale.edge(s.bounds.left + s.picture->width) - at.x(),
                         scale.edge(s.bounds.top + s.picture->height) - at.y());
        if (const QImage* source = cache_.unscaledSource(s.picture, size)) {
            // Scaled within the repaint's area only, by the rule scaled() follows.
            painter.save();
            painter.setClipRect(bounds.intersected(clip));
            const bool repeat =
                size.width() % source->width() == 0 && size.height() % source->height() == 0;
            painter.setRenderHint(QPainter::SmoothPixmapTransform, !repeat);
            painter.drawImage(QRect(at, size), *source);
            painter.restore();
            continue;
        }
        const PictureCache::Scaled& picture = cache_.scaled(s.picture, size);
        painter.save();
        painter.setClipRect(bounds.intersected(clip));
        if (!picture.holes.isNull()) {
            // The key colour in a picture opens the outline there, whatever lies below.
            painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
            painter.drawImage(at, picture.holes);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        painter.drawImage(at, picture.image);
        painter.restore();
    }
}

void DeviceView::paintLcdLayersScaled(QPainter& painter, const ViewScale& scale,
                                      const QRect& clip) {
    // The layers are soft already: drawn scaled, by the same rule as the pictures.
    const QPoint from = scale.skinPoint(clip.left() / scale.ratio, clip.top() / scale.ratio);
    const QPoint to =
        scale.skinPoint((clip.right() + 1) / scale.ratio, (clip.bottom() + 1) / scale.ratio);
    const QRect skinClip = QRect(from, to).adjusted(-1, -1, 1, 1);
    painter.save();
    painter.setClipRect(clip);
    painter.scale(scale.factor(), scale.factor());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !scale.whole());
    lcd_.paint(painter, skinClip, display_);
    painter.restore();
}

namespace {
// The outline of the windowed device at a scale: the edges of its scaled pictures are partly
// clear, and a shaped window can only show a pixel or not. Mostly clear is clear; the rest is
// opaque in its own colour, never blended with what lies behind (a key colour or black).
void hardenOutline(QImage& image, QSize size) {
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha == 255) continue;
            line[x] = alpha < 128 ? 0 : (qUnpremultiply(line[x]) | 0xFF000000u);
        }
    }
}
}  // namespace

void DeviceView::paintScaled(QPainter& painter, const ViewScale& scale, const QRect& logicalClip) {
    composed_ += logicalClip;
    useScale(scale);
    const QRect clip = scale.deviceOfLogical(logicalClip);
    // The painter in the screen's own pixels, where the pictures were scaled to.
    painter.scale(1.0 / scale.ratio, 1.0 / scale.ratio);
    if (!colourKey_) {
        keyedBuffer_ = QImage();
        paintSegmentsScaled(painter, scale, clip);
        return;
    }
    if (keyedBuffer_.width() < clip.width() || keyedBuffer_.height() < clip.height())
        keyedBuffer_ = QImage(clip.size().expandedTo(keyedBuffer_.size()),
                              QImage::Format_ARGB32_Premultiplied);
    {
        QPainter buffer(&keyedBuffer_);
        buffer.translate(-clip.topLeft());
        paintSegmentsScaled(buffer, scale, clip);
    }
    hardenOutline(keyedBuffer_, clip.size());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(clip.topLeft(), keyedBuffer_, QRect(QPoint(0, 0), clip.size()));
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
    const ViewScale s = scale();
    if (s.identity()) {
        QImage image(size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        paintSegments(painter, rect());
        return image;
    }
    QImage image(deviceSize(s), QImage::Format_ARGB32_Premultiplied);
    composeArea(image, image.rect());
    return image;
}

void DeviceView::composeArea(QImage& image, const QRect& area) {
    const ViewScale s = scale();
    useScale(s);
    {
        QPainter painter(&image);
        painter.setClipRect(area);
        paintSegmentsScaled(painter, s, area);
    }
    if (!colourKey_) return;
    QImage part(image.scanLine(area.top()) + area.left() * 4, area.width(), area.height(),
                image.bytesPerLine(), QImage::Format_ARGB32_Premultiplied);
    hardenOutline(part, area.size());
}

void DeviceView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = skinPoint(event->position());
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
    updateCursor(skinPoint(event->position()));
}

void DeviceView::mouseMoveEvent(QMouseEvent* event) {
    if (captured_ >= 0 || event->buttons() != Qt::NoButton) {
        if (onMouseMove) onMouseMove(captured_, event);
        return;
    }
    updateCursor(skinPoint(event->position()));
}

void DeviceView::updateCursor(const QPoint& pos) {
    const SegmentId hit = display_.hitTest(pos.x(), pos.y());
    const Qt::CursorShape shape = hit >= 0 ? cursorShapeOf(pointerShapeOf(hit)) : Qt::ArrowCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

bool DeviceView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint at = skinPoint(help->pos());
        const SegmentId hit = display_.hitTest(at.x(), at.y());
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
