#include "core/display/window_outline.h"

#include <algorithm>
#include <utility>

namespace {
constexpr SegmentId kPhoto = seg("im_background_bottom");

// The device photograph itself, and the elements placed by the program (the backdrop below the
// photograph, the game menu of full screen): few, and they change only with the presentation.
bool alwaysWatched(SegmentId id) {
    return id == kPhoto || kSegmentCatalogue[id].section == 0;
}

bool isDigitPlace(SegmentId id) {
    return std::find(groups::DigitSegments.begin(), groups::DigitSegments.end(), id) !=
           groups::DigitSegments.end();
}

struct Rgb {
    std::uint8_t r, g, b;
};

// A point of the window where the device photograph is solid and not of the key colour: what an
// LCD segment draws there cannot open or close a hole in the outline (short of a blend that
// happens to give the key colour).
bool solidDevice(const Segment& photo, int x, int y, Rgb key) {
    if (!photo.picture || !photo.bounds.contains(x, y)) return false;
    const int px = x - photo.bounds.left;
    const int py = y - photo.bounds.top;
    if (px >= photo.picture->width || py >= photo.picture->height) return false;
    const std::uint8_t* p = photo.picture->pixel(px, py);
    return p[3] == 255 && !(p[0] == key.r && p[1] == key.g && p[2] == key.b);
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Whether a picture drawn in this rectangle (unscaled, clipped to it) can change the outline.
bool touchesOutline(const PictureData& picture, const Rect& bounds, const Segment& photo, Rgb key) {
    const int w = std::min(picture.width, bounds.width);
    const int h = std::min(picture.height, bounds.height);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = picture.pixel(x, y);
            if (p[3] == 0) continue;
            if (p[3] == 255 && p[0] == key.r && p[1] == key.g && p[2] == key.b) return true;
            if (!solidDevice(photo, bounds.left + x, bounds.top + y, key)) return true;
        }
    }
    return false;
}
}  // namespace

void WindowOutline::reset(const SegmentDisplay& display, std::uint32_t keyColour) {
    const Rgb key{static_cast<std::uint8_t>(keyColour & 0xFF),
                  static_cast<std::uint8_t>((keyColour >> 8) & 0xFF),
                  static_cast<std::uint8_t>((keyColour >> 16) & 0xFF)};
    const Segment& photo = display.segment(kPhoto);
    watched_.clear();
    for (SegmentId id = 0; id < kSegmentCount; ++id) {
        const Segment& s = display.segment(id);
        bool watch = alwaysWatched(id);
        // A digit place shows its own picture or any of the ten glyphs.
        std::vector<const PictureData*> pictures{s.picture.get()};
        if (isDigitPlace(id))
            for (SegmentId glyph : groups::NumberGlyphs)
                pictures.push_back(display.segment(glyph).picture.get());
        for (const PictureData* picture : pictures)
            if (!watch && picture) watch = touchesOutline(*picture, s.bounds, photo, key);
        // Over the solid photograph, a picture still covers or uncovers the key colour or the
        // see-through parts of a watched element between the photograph and itself.
        for (std::size_t i = 0; !watch && i < watched_.size(); ++i)
            watch = watched_[i] > kPhoto && overlaps(display.segment(watched_[i]).bounds, s.bounds);
        if (watch) watched_.push_back(id);
    }
    last_.assign(watched_.size(), State{});
    changed_ = true;
}

bool WindowOutline::changed(const SegmentDisplay& display) {
    bool changed = std::exchange(changed_, false);
    for (std::size_t i = 0; i < watched_.size(); ++i) {
        const Segment& s = display.segment(watched_[i]);
        const State now{s.visible, s.picture.get()};
        if (now == last_[i]) continue;
        last_[i] = now;
        changed = true;
    }
    return changed;
}
