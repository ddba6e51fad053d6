#include "core/display/segment_display.h"

using namespace groups;

namespace {
// Segments that keep fixed rectangles because no picture section places them.
Rect fixedBounds(std::string_view name) {
    if (name == "im_backdrop") return {0, 0, 498, 771};
    if (name == "im_backdrop_logo") return {0, 0, 64, 64};
    if (name == "btn_game_menu_background" || name == "btn_game_menu_top") return kGameMenuButton;
    return {};
}
}  // namespace

SegmentDisplay::SegmentDisplay() {
    for (int i = 0; i < kSegmentCount; ++i) {
        const SegmentInfo& info = kSegmentCatalogue[i];
        segments_[i].name = info.name;
        segments_[i].visible = info.visibleAtStart;
        segments_[i].transparent = info.transparent;
        segments_[i].bounds = fixedBounds(info.name);
    }
    damage_.reserve(256);
}

void SegmentDisplay::setVisible(SegmentId id, bool visible) {
    Segment& s = segments_[id];
    if (s.visible == visible) return;
    s.visible = visible;
    if (s.picture) damage(s.bounds);
}

void SegmentDisplay::copyPicture(SegmentId destination, SegmentId source) {
    setPicture(destination, segments_[source].picture);
}

void SegmentDisplay::clearPicture(SegmentId id) {
    setPicture(id, nullptr);
}

void SegmentDisplay::setPicture(SegmentId id, Picture picture) {
    Segment& s = segments_[id];
    if (s.picture == picture) return;
    s.picture = std::move(picture);
    if (s.visible) damage(s.bounds);
}

void SegmentDisplay::setBounds(SegmentId id, Rect bounds) {
    Segment& s = segments_[id];
    if (s.bounds == bounds) return;
    if (s.visible) damage(s.bounds);
    s.bounds = bounds;
    if (s.visible) damage(s.bounds);
}

SegmentId SegmentDisplay::hitTest(int x, int y) const {
    for (int i = kSegmentCount - 1; i >= 0; --i)
        if (segments_[i].visible && segments_[i].bounds.contains(x, y)) return i;
    return -1;
}

std::vector<Rect> SegmentDisplay::takeDamage() {
    std::vector<Rect> out;
    out.swap(damage_);
    damage_.reserve(256);
    return out;
}

void SegmentDisplay::setDigit(int place, int digit) {
    if (digit < 0)
        clearPicture(DigitSegments[place - 1]);
    else
        copyPicture(DigitSegments[place - 1], NumberGlyphs[digit]);
}

std::array<int, 4> SegmentDisplay::digitsShown() const {
    std::array<int, 4> digits{};
    for (int place = 1; place <= 4; ++place) {
        const Segment& s = segments_[DigitSegments[place - 1]];
        int& digit = digits[place - 1];
        digit = !s.picture && s.visible ? kNoDigit : kSkinDigit;
        for (int d = 0; d < 10 && s.picture; ++d)
            if (segments_[NumberGlyphs[d]].picture == s.picture) {
                digit = d;
                break;
            }
    }
    return digits;
}

void SegmentDisplay::showDigits(const std::array<int, 4>& digits) {
    for (int place = 1; place <= 4; ++place)
        if (digits[place - 1] != kSkinDigit) setDigit(place, digits[place - 1]);
}

void SegmentDisplay::Vid_Show_All(bool show) {
    for (SegmentId d : DigitSegments) setVisible(d, true);
    if (show) {
        setDigit(1, 1);
        setDigit(2, 2);
        setDigit(3, 0);
        setDigit(4, 0);
    } else {
        for (int place = 1; place <= 4; ++place) setDigit(place, -1);
    }
    Vid_Show_Panel_Miss(show ? 3 : 0);
    for (SegmentId a : AlarmSegments) setVisible(a, show);
    setVisible(seg("im_game_background"), show);
    setVisible(seg("im_panel_time_am"), show);
    setVisible(seg("im_panel_time_pm"), false);
    setVisible(seg("im_panel_time_colon"), show);
    setVisible(seg("im_panel_game_a"), show);
    setVisible(seg("im_panel_game_b"), show);
    Vid_Show_All_Hero(show);
    Vid_Show_All_Items(show);
    Vid_Show_All_Flames(show);
    Vid_Show_All_Character_2(show);
}

void SegmentDisplay::Vid_Show_All_Hero(bool show) {
    for (const auto& position : HeroSegments)
        for (SegmentId part : position) setVisible(part, show);
}

void SegmentDisplay::Vid_Show_All_Items(bool show) {
    for (const auto& row : ItemSegments)
        for (SegmentId s : row) setVisible(s, show);
}

void SegmentDisplay::Vid_Show_All_Flames(bool show) {
    for (const auto& row : FlameSegments)
        for (SegmentId s : row) setVisible(s, show);
}

void SegmentDisplay::Vid_Show_All_Character_2(bool show) {
    for (SegmentId s : Character2Segments) setVisible(s, show);
}

void SegmentDisplay::Vid_Show_Panel_Miss(int count) {
    for (int i = 1; i <= 3; ++i) setVisible(MissSegments[i - 1], i <= count);
}

void SegmentDisplay::Vid_Show_Panel_Score(int score, bool show) {
    int n = score;
    while (n >= 1000) n -= 1000;
    // A negative number can only come from a stored high score; show it as 0 rather than
    // indexing outside the ten glyphs.
    if (n < 0) n = 0;
    setDigit(1, -1);
    if (!show) {
        for (int place = 2; place <= 4; ++place) setDigit(place, -1);
        return;
    }
    setDigit(2, n > 99 ? (n / 100) % 10 : -1);
    setDigit(3, n > 9 ? (n / 10) % 10 : -1);
    setDigit(4, n % 10);
}

void SegmentDisplay::Vid_Show_Hero(int position, int phase, bool show) {
    const bool odd = (phase & 1) != 0;
    setVisible(hero(position, Body), show);
    setVisible(hero(position, HandDown), show);
    setVisible(hero(position, LegLeftDown), show && odd);
    setVisible(hero(position, LegLeftUp), show && !odd);
    setVisible(hero(position, LegRightDown), show && !odd);
    setVisible(hero(position, LegRightUp), show && odd);
    setVisible(hero(position, Base), show);
}

void SegmentDisplay::Vid_Show_Items(const std::array<int, 3>& itemPos) {
    for (int r = 1; r <= kItemRows; ++r)
        for (int p = 1; p <= kRowPositions; ++p) setVisible(item(r, p), p == itemPos[r - 1]);
}
