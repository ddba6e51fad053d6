#pragma once
// The device window's drawing surface: paints the shown segments in stacking order and reports
// mouse presses to the topmost shown segment under the pointer.
#include <QWidget>
#include <functional>
#include <optional>

#include "core/display/segment_display.h"
#include "qt/picture_cache.h"

class DeviceView : public QWidget {
    Q_OBJECT
  public:
    explicit DeviceView(SegmentDisplay& display, QWidget* parent = nullptr);

    // Backdrop picture: centred at its own size, or stretched to the whole view.
    void setBackdropStretch(bool stretch);
    void setBackgroundColour(QColor colour);
    // Pixels whose composed colour is the key are painted fully transparent (nothing: opaque).
    void setColourKey(std::optional<QColor> key);
    // Forgets the segment that received the press (the desktop took over the pointer).
    void releaseCapture() { captured_ = -1; }

    // After a skin load: the cache lets go of the pictures the segments no longer show.
    void dropUnusedPictures() { cache_.dropUnused(); }

    // Repaints what changed in the segment display since the last call.
    void flushDamage();

    // The whole picture as it is on screen (for the window shape and for tests).
    QImage compose();

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
    void updateCursor(const QPoint& pos);

    SegmentDisplay& display_;
    PictureCache cache_;
    QColor background_ = Qt::black;
    std::optional<QRgb> colourKey_;
    QImage keyedBuffer_;  // reused: a keyed repaint composes here first
    QRegion composed_;    // by the paint under way
    bool backdropStretch_ = false;
    SegmentId captured_ = -1;  // segment that received the press, until the release
};
