#pragma once
// What the "Real" look of the LCD adds to the device window: the unlit LCD segments, composed
// into one picture at the chosen contrast, and the soft shadow of every LCD segment picture. Both
// are made when the skin, the presentation or the choice changes, never during play: a paint
// draws the one picture of the unlit segments and a ready shadow for each lit segment.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/display/lcd_look.h"
#include "core/display/segment_display.h"

class PictureCache;
class QPainter;

class LcdLayers {
  public:
    // The shadow falls this far down and to the right of its segment, softened over kShadowBlur
    // pixels on either side, and darkens the back plate by at most kShadowDarkness of 255.
    static constexpr int kShadowOffset = 2;
    static constexpr int kShadowBlur = 2;
    static constexpr int kShadowDarkness = 80;

    // Composes the layers for the skin as it now stands. With a key colour (the shaped window)
    // both stay where the device photograph is solid and not of that colour, so that they never
    // change the window's outline. The layers hold at most budgetBytes; the unlit picture never
    // reaches beyond view.
    void rebuild(const SegmentDisplay& display, PictureCache& cache, const LcdLookChoice& choice,
                 std::optional<QRgb> key, const QRect& view, std::int64_t budgetBytes);
    void clear();

    // The unlit segments, then the shadows of the shown LCD segments, as far as they reach
    // into clip. Belongs under every LCD segment.
    void paint(QPainter& painter, const QRect& clip, const SegmentDisplay& display);

    // What a change within r repaints once the shadows are drawn: r and the shadow of r.
    static QRect withShadow(const QRect& r);

    std::int64_t bytes() const { return used_; }

  private:
    // A picture kept as square tiles without the empty ones: most of the LCD between its
    // segments is empty, and neither memory nor a paint needs to go through that.
    struct Tile {
        QPoint at;
        QImage image;
    };
    using Tiles = std::vector<Tile>;
    static constexpr int kTileSize = 32;
    static Tiles tiled(const QImage& image, QPoint at);
    static void draw(QPainter& painter, const QRect& clip, const Tiles& tiles);
    static std::int64_t bytesOf(const Tiles& tiles);

    struct Shadow {
        Picture picture;  // held, so that its address cannot be taken by another picture
        Tiles tiles;      // none: the picture casts no shadow, or the budget was spent
    };
    // The shadow of a picture in a segment's rectangle, made the first time it is asked for.
    const Shadow& shadowOf(SegmentId id, const Rect& bounds, const Picture& picture);
    Shadow makeShadow(const Rect& bounds, const Picture& picture);
    bool onBackplate(int x, int y) const;

    Tiles unlit_;
    std::array<std::vector<Shadow>, kSegmentCount> shadows_;
    // The device photograph and the key, while a key is on.
    Segment photo_;
    std::optional<QRgb> key_;
    std::int64_t budget_ = 0;
    std::int64_t used_ = 0;
    std::int64_t workLeft_ = 0;  // pixels the shadows may still go through
};
