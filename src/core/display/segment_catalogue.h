#pragma once
// Every element of the device window, in stacking order (first = bottom). Everything else about
// segments (group tables, picture sections, lookups) is derived from this one table.
#include <array>
#include <cstddef>
#include <string_view>

struct SegmentInfo {
    std::string_view name;
    bool visibleAtStart;
    bool transparent;  // see-through element: a bitmap leaves out its bottom-left colour
    int section;       // Config.ini section ImageN, 0 = no section (placed by the program)
};

inline constexpr std::array<SegmentInfo, 117> kSegmentCatalogue{{
    {"im_backdrop", true, false, 0},
    {"im_backdrop_logo", true, true, 0},
    {"im_background_bottom", true, true, 1},
    {"im_background_back", false, true, 2},
    {"im_game_background", false, true, 19},
    {"im_panel_miss_1", false, true, 20},
    {"im_panel_miss_2", false, true, 21},
    {"im_panel_miss_3", false, true, 22},
    {"im_panel_game_a", false, true, 26},
    {"im_panel_game_b", false, true, 27},
    {"im_panel_digit_1", false, true, 31},
    {"im_panel_time_am", false, true, 28},
    {"im_panel_time_pm", false, true, 29},
    {"im_panel_digit_2", false, true, 32},
    {"im_panel_time_colon", false, true, 30},
    {"im_panel_digit_3", false, true, 33},
    {"im_panel_digit_4", false, true, 34},
    {"im_panel_alarm_2", false, true, 24},
    {"im_panel_alarm_3", false, true, 25},
    {"im_panel_alarm_1", false, true, 23},
    {"im_item_1_1", false, true, 77},
    {"im_item_1_2", false, true, 78},
    {"im_item_1_3", false, true, 79},
    {"im_flame_1_1", false, true, 98},
    {"im_flame_1_2", false, true, 99},
    {"im_flame_1_3", false, true, 100},
    {"im_item_2_1", false, true, 84},
    {"im_item_2_2", false, true, 85},
    {"im_item_2_3", false, true, 86},
    {"im_flame_2_1", false, true, 105},
    {"im_flame_2_2", false, true, 106},
    {"im_flame_2_3", false, true, 107},
    {"im_item_3_1", false, true, 91},
    {"im_item_3_2", false, true, 92},
    {"im_item_3_3", false, true, 93},
    {"im_item_1_4", false, true, 80},
    {"im_item_2_4", false, true, 87},
    {"im_item_3_4", false, true, 94},
    {"im_character_2_2", false, true, 113},
    {"im_item_1_5", false, true, 81},
    {"im_hero_1_body", false, true, 45},
    {"im_hero_2_body", false, true, 53},
    {"im_flame_1_5", false, true, 102},
    {"im_hero_1_hand_up", false, true, 47},
    {"im_hero_2_hand_up", false, true, 55},
    {"im_hero_2_hand_down", false, true, 54},
    {"im_item_2_5", false, true, 88},
    {"im_hero_3_body", false, true, 61},
    {"im_hero_4_body", false, true, 69},
    {"im_flame_2_5", false, true, 109},
    {"im_hero_3_hand_up", false, true, 63},
    {"im_flame_1_4", false, true, 101},
    {"im_flame_2_4", false, true, 108},
    {"im_hero_4_hand_down", false, true, 70},
    {"im_hero_4_hand_up", false, true, 71},
    {"im_item_3_5", false, true, 95},
    {"im_item_1_6", false, true, 82},
    {"im_item_1_7", false, true, 83},
    {"im_flame_1_6", false, true, 103},
    {"im_flame_1_7", false, true, 104},
    {"im_item_2_6", false, true, 89},
    {"im_item_2_7", false, true, 90},
    {"im_flame_2_6", false, true, 110},
    {"im_flame_2_7", false, true, 111},
    {"im_item_3_6", false, true, 96},
    {"im_item_3_7", false, true, 97},
    {"im_hero_1_base", false, true, 52},
    {"im_hero_1_leg_left_down", false, true, 49},
    {"im_hero_1_leg_right_up", false, true, 50},
    {"im_hero_1_leg_left_up", false, true, 48},
    {"im_hero_1_leg_right_down", false, true, 51},
    {"im_hero_2_base", false, true, 60},
    {"im_hero_2_leg_left_down", false, true, 57},
    {"im_hero_2_leg_right_down", false, true, 59},
    {"im_hero_2_leg_left_up", false, true, 56},
    {"im_hero_2_leg_right_up", false, true, 58},
    {"im_hero_3_base", false, true, 68},
    {"im_hero_3_leg_left_down", false, true, 65},
    {"im_hero_3_leg_right_down", false, true, 67},
    {"im_hero_3_leg_left_up", false, true, 64},
    {"im_hero_3_leg_right_up", false, true, 66},
    {"im_hero_4_base", false, true, 76},
    {"im_hero_4_leg_left_down", false, true, 73},
    {"im_hero_4_leg_right_down", false, true, 75},
    {"im_hero_4_leg_left_up", false, true, 72},
    {"im_hero_4_leg_right_up", false, true, 74},
    {"im_character_2_1", false, true, 112},
    {"btn_left_down", false, false, 15},
    {"btn_right_down", false, false, 17},
    {"im_hero_1_hand_down", false, true, 46},
    {"im_hero_3_hand_down", false, true, 62},
    {"btn_left_top", true, false, 16},
    {"btn_right_top", true, false, 18},
    {"im_panel_number_0", false, true, 35},
    {"im_panel_number_1", false, true, 36},
    {"im_panel_number_2", false, true, 37},
    {"im_panel_number_3", false, true, 38},
    {"im_panel_number_4", false, true, 39},
    {"im_panel_number_5", false, true, 40},
    {"im_panel_number_6", false, true, 41},
    {"im_panel_number_7", false, true, 42},
    {"im_panel_number_8", false, true, 43},
    {"im_panel_number_9", false, true, 44},
    {"btn_acl_down", false, false, 12},
    {"btn_alarm_top", true, false, 14},
    {"btn_game_a_down", false, false, 6},
    {"btn_game_a_top", true, false, 7},
    {"btn_game_b_down", false, false, 8},
    {"btn_game_b_top", true, false, 9},
    {"btn_time_down", false, false, 10},
    {"btn_time_top", true, false, 11},
    {"btn_acl_top", true, false, 13},
    {"im_background_screen_top", true, false, 4},
    {"im_background_front", true, true, 3},
    {"btn_open", true, false, 5},
    {"btn_game_menu_background", true, false, 0},
    {"btn_game_menu_top", true, false, 0},
}};

inline constexpr int kSegmentCount = static_cast<int>(kSegmentCatalogue.size());
inline constexpr int kPictureSectionCount = 113;

using SegmentId = int;  // index into kSegmentCatalogue, i.e. the stacking position from 0

// Compile-time lookup; an unknown name fails to compile where it is used in a constant.
consteval SegmentId seg(std::string_view name) {
    for (int i = 0; i < kSegmentCount; ++i)
        if (kSegmentCatalogue[i].name == name) return i;
    throw "unknown segment name";
}

// Run-time lookup; -1 when there is no such segment.
constexpr SegmentId findSegment(std::string_view name) {
    for (int i = 0; i < kSegmentCount; ++i)
        if (kSegmentCatalogue[i].name == name) return i;
    return -1;
}

// The LCD segments are those of picture sections 19 and up: the scenery, the panel, the juggler,
// the torches, the drops, the second figure and the digit pictures. Sections 1 to 18 are the
// device's photographs and buttons; the elements without a section belong to the program.
inline constexpr int kFirstLcdSection = 19;
constexpr bool isLcdSegment(SegmentId id) {
    return kSegmentCatalogue[id].section >= kFirstLcdSection;
}

// The segment of picture section ImageN (1..113); -1 outside that range.
constexpr SegmentId segmentOfSection(int n) {
    for (int i = 0; i < kSegmentCount; ++i)
        if (kSegmentCatalogue[i].section == n && n != 0) return i;
    return -1;
}
