#pragma once
// The group tables through which the game addresses segments by row, position, frame or place.
// Indices in the comments are 1-based like the game rules; the arrays are 0-based.
#include <array>
#include <string_view>

#include "core/display/segment_catalogue.h"

namespace groups {

inline constexpr int kHeroPositions = 4;
inline constexpr int kHeroParts = 8;
inline constexpr int kItemRows = 3;
inline constexpr int kFlameRows = 2;
inline constexpr int kRowPositions = 7;

// Part order of HeroSegments[p][part].
enum HeroPart { Body, HandUp, HandDown, LegLeftUp, LegLeftDown, LegRightUp, LegRightDown, Base };
inline constexpr std::array<std::string_view, kHeroParts> kHeroPartNames{
    "body",          "hand_up",      "hand_down",      "leg_left_up",
    "leg_left_down", "leg_right_up", "leg_right_down", "base"};

namespace detail {
// Builds "<prefix><a>_<b>" or "<prefix><a>" lookups at compile time without allocation.
template <std::size_t N>
struct Name {
    char text[N]{};
    std::size_t size = 0;
    constexpr void add(std::string_view s) {
        for (char c : s) text[size++] = c;
    }
    constexpr void add(int digit) { text[size++] = static_cast<char>('0' + digit); }
    constexpr std::string_view view() const { return {text, size}; }
};
constexpr SegmentId lookup(std::string_view n) {
    const SegmentId id = findSegment(n);
    if (id < 0) throw "group table names a segment that is not in the catalogue";
    return id;
}
constexpr SegmentId indexed(std::string_view prefix, int a) {
    Name<40> n;
    n.add(prefix);
    n.add(a);
    return lookup(n.view());
}
constexpr SegmentId indexed(std::string_view prefix, int a, std::string_view suffix) {
    Name<40> n;
    n.add(prefix);
    n.add(a);
    n.add("_");
    n.add(suffix);
    return lookup(n.view());
}
constexpr SegmentId indexed(std::string_view prefix, int a, int b) {
    Name<40> n;
    n.add(prefix);
    n.add(a);
    n.add("_");
    n.add(b);
    return lookup(n.view());
}
}  // namespace detail

// HeroSegments[p-1][part]: im_hero_{p}_{part}
inline constexpr auto HeroSegments = [] {
    std::array<std::array<SegmentId, kHeroParts>, kHeroPositions> t{};
    for (int p = 1; p <= kHeroPositions; ++p)
        for (int k = 0; k < kHeroParts; ++k)
            t[p - 1][k] = detail::indexed("im_hero_", p, kHeroPartNames[k]);
    return t;
}();

// ItemSegments[r-1][k-1]: im_item_{r}_{k}
inline constexpr auto ItemSegments = [] {
    std::array<std::array<SegmentId, kRowPositions>, kItemRows> t{};
    for (int r = 1; r <= kItemRows; ++r)
        for (int k = 1; k <= kRowPositions; ++k)
            t[r - 1][k - 1] = detail::indexed("im_item_", r, k);
    return t;
}();

// FlameSegments[f-1][k-1]: im_flame_{f}_{k}
inline constexpr auto FlameSegments = [] {
    std::array<std::array<SegmentId, kRowPositions>, kFlameRows> t{};
    for (int f = 1; f <= kFlameRows; ++f)
        for (int k = 1; k <= kRowPositions; ++k)
            t[f - 1][k - 1] = detail::indexed("im_flame_", f, k);
    return t;
}();

template <int N>
constexpr std::array<SegmentId, N> numbered(std::string_view prefix, int first) {
    std::array<SegmentId, N> t{};
    for (int i = 0; i < N; ++i) t[i] = detail::indexed(prefix, first + i);
    return t;
}

inline constexpr auto Character2Segments = numbered<2>("im_character_2_", 1);
inline constexpr auto MissSegments = numbered<3>("im_panel_miss_", 1);
inline constexpr auto AlarmSegments = numbered<3>("im_panel_alarm_", 1);
inline constexpr auto DigitSegments = numbered<4>("im_panel_digit_", 1);
inline constexpr auto NumberGlyphs = numbered<10>("im_panel_number_", 0);  // [d] for digit d

}  // namespace groups
