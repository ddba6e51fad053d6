#pragma once
// The device window's drawing surface: paints the shown segments in stacking order and reports
// mouse presses to the topmost shown segment under the pointer.
#include <QWidget>
#include <functional>
#include <optional>

#include "core/device.h"
#include "qt/lcd_layers.h"
#include "qt/picture_cache.h"
#include "qt/view_scale.h"

class DeviceView : public QWidget {
    Q_OBJECT
  public:
    // Draws the segments in the LCD look given, which the view follows as it changes; the
    // presentation tells it how large the game area is.
    DeviceView(SegmentDisplay& display, const LcdLookChoice& look, const Presentation& shown,
               QWidget* parent = nullptr);
    // Draws the device's segments, in the device's choice of LCD look.
    explicit DeviceView(Device& device, QWidget* parent = nullptr)
        : DeviceView(device.display(), device.lcdLook(), device.presentation(), parent) {}

    // Backdrop picture: centred at its own size, or stretched to the whole view.
    void setBackdropStretch(bool stretch);
    void setBackgroundColour(QColor colour);
    // Pixels whose composed colour is the key are painted fully transparent (nothing: opaque).
    void setColourKey(std::optional<QColor> key);
    // Forgets the segment that received the press (the desktop took over the pointer).
    void releaseCapture() { captured_ = -1; }

    // The player's zoom; the desktop's scale is the window's own.
    void setZoom(double zoom);
    ViewScale scale() const { return {zoom_, devicePixelRatioF()}; }
    // Sharper pictures for scales of 2 and more, by the picture each one replaces.
    void setSharpPictures(PictureCache::SharpSource sharp);
    // The skin point under a point of the view.
    QPoint skinPoint(QPointF at) const;

    // After a skin load: the cache lets go of the pictures the segments no longer show, and the
    // LCD's layers are made again for the new pictures at the next paint.
    void skinApplied();

    // Repaints what changed in the segment display since the last call (all of it when the
    // LCD's look was changed) and returns that region.
    QRegion flushDamage();

    // Bytes the LCD's look holds beyond the segments' own pictures.
    std::int64_t lcdLayerBytes() const { return lcd_.bytes(); }

    // The whole picture as it is on screen, in the screen's pixels (for the window shape and
    // for tests). At a scale the windowed device's outline is in its alpha: each pixel is
    // either opaque or clear.
    QImage compose();
    // The same within an area of such a picture only (the view's size in screen pixels).
    void composeArea(QImage& image, const QRect& area);
    // At a scale: the screen pixels whose look the last flushDamage changed.
    const QRegion& lastDamage() const { return lastDamage_; }

    // Hooks for the window that hosts the view.
    std::function<void(SegmentId, QMouseEvent*)> onMousePress;
    std::function<void(SegmentId, QMouseEvent*)> onMouseRelease;
    std::function<void(SegmentId, QMouseEvent*)> onMouseMove;
    std::function<QString(SegmentId)> hintFor;
    // After each paint, with the area it composed: the damage, not the rectangle around it.
    std::function<void(const QRegion& composed)> onPainted;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void paintSegments(QPainter& painter, const QRect& clip);
    void paintKeyed(QPainter& painter, const QRect& clip);
    // The same at a scale: painter and clip in the screen's pixels.
    void paintScaled(QPainter& painter, const ViewScale& scale, const QRect& logicalClip);
    void paintSegmentsScaled(QPainter& painter, const ViewScale& scale, const QRect& clip);
    QSize deviceSize(const ViewScale& scale) const;
    void useScale(const ViewScale& scale);
    void updateLcdLayers();
    void paintLcdLayersScaled(QPainter& painter, const ViewScale& scale, const QRect& clip);
    void updateCursor(const QPoint& pos);

    SegmentDisplay& display_;
    const LcdLookChoice& look_;
    const Presentation& shown_;
    PictureCache cache_;
    LcdLayers lcd_;
    // The look the layers were made for; stale after a skin load or a change of the key.
    LcdLookChoice lcdBuiltFor_;
    bool lcdStale_ = true;
    QColor background_ = Qt::black;
    std::optional<QRgb> colourKey_;
    QImage keyedBuffer_;  // reused: a keyed repaint composes here first
    QRegion composed_;    // by the paint under way
    bool backdropStretch_ = false;
    double zoom_ = 1.0;
    QRegion lastDamage_;
    SegmentId captured_ = -1;  // segment that received the press, until the release
};
