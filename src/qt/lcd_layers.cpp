#include "qt/lcd_layers.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "qt/picture_cache.h"

namespace {
// The painted part of a picture in its segment: unscaled, clipped to the rectangle.
QRect drawnRect(const Rect& bounds, const PictureData& picture) {
    return QRect(bounds.left, bounds.top, std::min(picture.width, bounds.width),
                 std::min(picture.height, bounds.height));
}

// A premultiplied pixel times f / 255.
QRgb scaled(QRgb pixel, int f) {
    const auto mul = [f](int c) { return (c * f + 127) / 255; };
    return qRgba(mul(qRed(pixel)), mul(qGreen(pixel)), mul(qBlue(pixel)), mul(qAlpha(pixel)));
}

// A tent filter of radius r along rows (step 1) or columns (step = width), in place.
void tent(std::vector<int>& plane, int width, int height, bool rows, int r) {
    const int lines = rows ? height : width;
    const int length = rows ? width : height;
    const int step = rows ? 1 : width;
    std::vector<int> line(length);
    for (int l = 0; l < lines; ++l) {
        int* first = plane.data() + (rows ? l * width : l);
        for (int i = 0; i < length; ++i) line[i] = first[i * step];
        for (int i = 0; i < length; ++i) {
            int sum = 0;
            for (int k = -r; k <= r; ++k)
                if (i + k >= 0 && i + k < length) sum += line[i + k] * (r + 1 - std::abs(k));
            first[i * step] = sum;
        }
    }
}
}  // namespace

LcdLayers::Tiles LcdLayers::tiled(const QImage& image, QPoint at) {
    Tiles tiles;
    for (int top = 0; top < image.height(); top += kTileSize) {
        for (int left = 0; left < image.width(); left += kTileSize) {
            const QRect r = QRect(left, top, kTileSize, kTileSize) & image.rect();
            bool empty = true;
            for (int y = r.top(); y <= r.bottom() && empty; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = r.left(); x <= r.right() && empty; ++x) empty = line[x] == 0;
            }
            if (!empty) tiles.push_back({at + r.topLeft(), image.copy(r)});
        }
    }
    return tiles;
}

void LcdLayers::draw(QPainter& painter, const QRect& clip, const Tiles& tiles) {
    for (const Tile& tile : tiles) {
        const QRect r = QRect(tile.at, tile.image.size()) & clip;
        if (!r.isEmpty()) painter.drawImage(r.topLeft(), tile.image, r.translated(-tile.at));
    }
}

std::int64_t LcdLayers::bytesOf(const Tiles& tiles) {
    std::int64_t bytes = 0;
    for (const Tile& tile : tiles) bytes += tile.image.sizeInBytes();
    return bytes;
}

void LcdLayers::clear() {
    unlit_.clear();
    for (auto& shadows : shadows_) shadows.clear();
    photo_ = Segment{};
    key_.reset();
    used_ = 0;
    workLeft_ = 0;
}

void LcdLayers::rebuild(const SegmentDisplay& display, PictureCache& cache,
                        const LcdLookChoice& choice, std::optional<QRgb> key, const QRect& view,
                        std::int64_t budgetBytes) {
    clear();
    if (choice.look != LcdLook::Real) return;
    budget_ = budgetBytes;
    // The shadows may go through four pictures of the budget's size; the default skin's go
    // through less than one.
    workLeft_ = budgetBytes;
    key_ = key;
    if (key_) photo_ = display.segment(seg("im_background_bottom"));

    // The unlit segments: every picture drawn where it stands, in stacking order, into one
    // picture; then all of it at the contrast, so that overlapping segments stay as faint as
    // single ones.
    struct Part {
        QRect rect;
        Picture picture;
    };
    std::vector<Part> parts;
    QRect area;
    for (SegmentId id = 0; id < kSegmentCount; ++id) {
        for (const Picture& picture : unlitPictures(display, id)) {
            const QRect rect = drawnRect(display.segment(id).bounds, *picture);
            if (rect.isEmpty()) continue;
            parts.push_back({rect, picture});
            area |= rect;
        }
    }
    area &= view;
    // Composed whole first; only its tiles with something in them are kept.
    const std::int64_t composedBytes = std::int64_t{area.width()} * area.height() * 4;
    if (choice.unlitContrast > 0 && !area.isEmpty() && composedBytes <= budget_) {
        QImage unlit(area.size(), QImage::Format_ARGB32_Premultiplied);
        unlit.fill(Qt::transparent);
        {
            QPainter painter(&unlit);
            painter.translate(-area.topLeft());
            for (const Part& part : parts) {
                painter.setClipRect(part.rect);
                painter.drawImage(part.rect.topLeft(), cache.image(part.picture));
            }
        }
        const int contrast = (std::min(choice.unlitContrast, 100) * 255 + 50) / 100;
        for (int y = 0; y < area.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(unlit.scanLine(y));
            for (int x = 0; x < area.width(); ++x)
                if (line[x])
                    line[x] = onBackplate(area.left() + x, area.top() + y)
                                  ? scaled(line[x], contrast)
                                  : 0;
        }
        unlit_ = tiled(unlit, area.topLeft());
        used_ += bytesOf(unlit_);
    }

    // The shadows of every picture an LCD segment can show, made now rather than in play.
    for (SegmentId id = 0; id < kSegmentCount; ++id)
        for (const Picture& picture : unlitPictures(display, id))
            shadowOf(id, display.segment(id).bounds, picture);
}

QRect LcdLayers::withShadow(const QRect& r) {
    return r | r.translated(kShadowOffset, kShadowOffset)
                   .adjusted(-kShadowBlur, -kShadowBlur, kShadowBlur, kShadowBlur);
}

void LcdLayers::paint(QPainter& painter, const QRect& clip, const SegmentDisplay& display) {
    draw(painter, clip, unlit_);
    for (SegmentId id = 0; id < kSegmentCount; ++id) {
        const Segment& s = display.segment(id);
        if (s.visible && s.picture && isLcdSegment(id))
            draw(painter, clip, shadowOf(id, s.bounds, s.picture).tiles);
    }
}

const LcdLayers::Shadow& LcdLayers::shadowOf(SegmentId id, const Rect& bounds,
                                             const Picture& picture) {
    auto& shadows = shadows_[id];
    for (const Shadow& shadow : shadows)
        if (shadow.picture == picture) return shadow;
    return shadows.emplace_back(makeShadow(bounds, picture));
}

LcdLayers::Shadow LcdLayers::makeShadow(const Rect& bounds, const Picture& picture) {
    Shadow shadow{picture, {}};
    const QRect drawn = drawnRect(bounds, *picture);
    // A skin of many huge, nearly empty pictures would otherwise keep this busy for long.
    const std::int64_t work =
        std::int64_t{drawn.width() + 2 * kShadowBlur} * (drawn.height() + 2 * kShadowBlur);
    if (drawn.isEmpty() || work > workLeft_) return shadow;
    workLeft_ -= work;
    // Only the picture's covered part casts a shadow; a segment's rectangle is often larger.
    int x0 = drawn.width(), y0 = drawn.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (picture->pixel(x, y)[3] == 0) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    if (x1 < 0) return shadow;
    constexpr int r = kShadowBlur;
    const int w = x1 - x0 + 1 + 2 * r;
    const int h = y1 - y0 + 1 + 2 * r;
    // Made whole first, so it has to fit the budget whole.
    if (std::int64_t{w} * h * 4 > budget_) return shadow;

    std::vector<int> alpha(static_cast<std::size_t>(w) * h, 0);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            alpha[(y - y0 + r) * w + (x - x0 + r)] = picture->pixel(x, y)[3];
    tent(alpha, w, h, true, r);
    tent(alpha, w, h, false, r);
    // Each tent pass weighs (r + 1)^2 in all.
    const std::int64_t full = std::int64_t{255} * (r + 1) * (r + 1) * (r + 1) * (r + 1);

    const QPoint at(bounds.left + x0 - r + kShadowOffset, bounds.top + y0 - r + kShadowOffset);
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = static_cast<int>(alpha[y * w + x] * kShadowDarkness / full);
            line[x] = onBackplate(at.x() + x, at.y() + y) ? qRgba(0, 0, 0, a) : 0;
        }
    }
    Tiles tiles = tiled(image, at);
    const std::int64_t bytes = bytesOf(tiles);
    if (used_ + bytes > budget_) return shadow;
    shadow.tiles = std::move(tiles);
    used_ += bytes;
    return shadow;
}

bool LcdLayers::onBackplate(int x, int y) const {
    if (!key_) return true;
    // The same test the window's outline makes: a solid photograph pixel not of the key colour.
    if (!photo_.picture || !photo_.bounds.contains(x, y)) return false;
    const int px = x - photo_.bounds.left;
    const int py = y - photo_.bounds.top;
    if (px >= photo_.picture->width || py >= photo_.picture->height) return false;
    const std::uint8_t* p = photo_.picture->pixel(px, py);
    return p[3] == 255 && qRgb(p[0], p[1], p[2]) != (*key_ | 0xFF000000u);
}
