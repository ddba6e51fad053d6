#include "core/display/lcd_look.h"

#include <algorithm>

namespace {
constexpr const char* kLookName = "LcdLook";
constexpr const char* kContrastName = "LcdContrast";
// Read back as a sentinel: no stored value can be it once clamped to the valid range.
constexpr int kNotStored = -1;

template <std::size_t N>
int indexIn(const std::array<SegmentId, N>& table, SegmentId id) {
    const auto it = std::find(table.begin(), table.end(), id);
    return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}
}  // namespace

LcdLookChoice readLcdLook(SettingsStore& store, const LcdLookChoice& skinDefaults) {
    LcdLookChoice choice = skinDefaults;
    const int look = store.ReadInteger(kLookName, kNotStored);
    if (look == 0 || look == 1) choice.look = static_cast<LcdLook>(look);
    const int contrast = store.ReadInteger(kContrastName, kNotStored);
    if (contrast >= 0 && contrast <= 100) choice.unlitContrast = contrast;
    return choice;
}

void storeLcdLook(SettingsStore& store, const LcdLookChoice& was, const LcdLookChoice& now) {
    if (now.look != was.look) store.WriteInteger(kLookName, static_cast<int>(now.look));
    if (now.unlitContrast != was.unlitContrast)
        store.WriteInteger(kContrastName, now.unlitContrast);
}

std::vector<Picture> unlitPictures(const SegmentDisplay& display, SegmentId id) {
    if (!isLcdSegment(id) || indexIn(groups::NumberGlyphs, id) >= 0) return {};
    std::vector<Picture> pictures;
    const auto add = [&pictures](const Picture& p) {
        if (p && std::find(pictures.begin(), pictures.end(), p) == pictures.end())
            pictures.push_back(p);
    };
    const int place = indexIn(groups::DigitSegments, id);
    // A digit place's own picture is the skin's and never shows once the game has begun.
    if (place < 0) add(display.segment(id).picture);
    if (place == 0) {
        // The first place only ever shows the tens of the hour; the score never reaches it.
        add(display.segment(groups::NumberGlyphs[1]).picture);
    } else if (place > 0) {
        for (SegmentId glyph : groups::NumberGlyphs) add(display.segment(glyph).picture);
    }
    return pictures;
}
