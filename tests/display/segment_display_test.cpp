// The segment model and the Vid_ group operations, read back as a player would see the LCD.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/display/segment_display.h"
#include "core/display/window_outline.h"

using namespace groups;

namespace {

bool isLcd(std::string_view name) {
    return name.starts_with("im_") && !name.starts_with("im_back");
}

class SegmentDisplayTest : public ::testing::Test {
  protected:
    SegmentDisplayTest() {
        for (int d = 0; d < 10; ++d) {
            auto p = std::make_shared<PictureData>();
            p->width = p->height = 1;
            p->rgba = {static_cast<std::uint8_t>(d), 0, 0, 255};
            glyphs[d] = p;
            display.setPicture(NumberGlyphs[d], p);
        }
    }

    bool lit(std::string_view name) const { return display.isVisible(findSegment(name)); }

    // The digit places as text, ' ' for an empty picture.
    std::string panel() const {
        std::string out;
        for (SegmentId place : DigitSegments) {
            const Picture& p = display.segment(place).picture;
            char c = p ? '?' : ' ';
            for (int d = 0; d < 10; ++d)
                if (p == glyphs[d]) c = char('0' + d);
            out += c;
        }
        return out;
    }

    SegmentDisplay display;
    Picture glyphs[10];
};

// --- Vid_Show_All -------------------------------------------------------------------------------

TEST_F(SegmentDisplayTest, ShowAllOnLightsEveryLcdSegmentButPmAndReads1200) {
    display.Vid_Show_All(true);
    for (const Segment& s : display.segments()) {
        if (!isLcd(s.name) || s.name.starts_with("im_panel_number_")) continue;
        EXPECT_EQ(s.visible, s.name != "im_panel_time_pm") << s.name;
    }
    EXPECT_EQ(panel(), "1200");
    EXPECT_TRUE(lit("im_panel_time_colon"));
    EXPECT_TRUE(lit("im_panel_time_am"));
    for (SegmentId m : MissSegments) EXPECT_TRUE(display.isVisible(m));
    for (SegmentId a : AlarmSegments) EXPECT_TRUE(display.isVisible(a));
}

TEST_F(SegmentDisplayTest, ShowAllOffDarkensTheScreenButKeepsDigitPlacesVisibleAndEmpty) {
    display.Vid_Show_All(true);
    display.Vid_Show_All(false);
    for (const Segment& s : display.segments()) {
        if (!isLcd(s.name)) continue;
        const bool digitPlace = s.name.starts_with("im_panel_digit_");
        EXPECT_EQ(s.visible, digitPlace) << s.name;
    }
    EXPECT_EQ(panel(), "    ");
}

TEST_F(SegmentDisplayTest, ShowAllNeverTouchesDevicePictures) {
    display.Vid_Show_All(true);
    display.Vid_Show_All(false);
    EXPECT_TRUE(lit("im_background_front"));
    EXPECT_TRUE(lit("btn_open"));
    EXPECT_FALSE(lit("im_background_back"));
    EXPECT_FALSE(lit("btn_game_a_down"));
}

// --- Vid_Show_Panel_Score -----------------------------------------------------------------------

TEST_F(SegmentDisplayTest, ScoreIsRightAlignedWithLeadingZerosBlankAndShownModulo1000) {
    const std::pair<int, const char*> cases[] = {
        {0, "   0"},    {7, "   7"},    {40, "  40"},   {100, " 100"},   {999, " 999"},
        {1000, "   0"}, {1205, " 205"}, {1234, " 234"}, {20999, " 999"},
    };
    for (const auto& [score, shown] : cases) {
        display.Vid_Show_Panel_Score(score, true);
        EXPECT_EQ(panel(), shown) << "score " << score;
    }
}

TEST_F(SegmentDisplayTest, ScoreNeverUsesTheLeftmostPlace) {
    display.Vid_Show_All(true);  // place 1 shows "1"
    display.Vid_Show_Panel_Score(5, true);
    EXPECT_EQ(panel(), "   5");
}

TEST_F(SegmentDisplayTest, HiddenScoreBlanksAllPlacesAndLeavesVisibilityAlone) {
    display.Vid_Show_All(false);
    display.Vid_Show_Panel_Score(1234, true);
    display.Vid_Show_Panel_Score(1234, false);
    EXPECT_EQ(panel(), "    ");
    for (SegmentId place : DigitSegments) EXPECT_TRUE(display.isVisible(place));
}

TEST_F(SegmentDisplayTest, DigitPlacesShareTheGlyphPictureInsteadOfCopyingPixels) {
    display.Vid_Show_Panel_Score(88, true);
    EXPECT_EQ(display.segment(DigitSegments[2]).picture.get(), glyphs[8].get());
    EXPECT_EQ(display.segment(DigitSegments[3]).picture.get(), glyphs[8].get());
    EXPECT_FALSE(display.isVisible(NumberGlyphs[8])) << "glyphs are never shown themselves";
}

// --- Miss marks, hero, items ---------------------------------------------------------------------

TEST_F(SegmentDisplayTest, MissMarksFillFromTheLeft) {
    const int counts[] = {0, 1, 2, 3, 5, 1};
    for (int count : counts) {
        display.Vid_Show_Panel_Miss(count);
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(display.isVisible(MissSegments[i - 1]), i <= count)
                << "count " << count << " mark " << i;
    }
}

TEST_F(SegmentDisplayTest, HeroPhasesAlternateTheLegsAndLeaveTheRaisedHandAlone) {
    display.setVisible(display.hero(3, HandUp), true);
    display.Vid_Show_Hero(3, 2, true);
    EXPECT_TRUE(lit("im_hero_3_leg_left_up"));
    EXPECT_TRUE(lit("im_hero_3_leg_right_down"));
    EXPECT_FALSE(lit("im_hero_3_leg_left_down"));
    EXPECT_FALSE(lit("im_hero_3_leg_right_up"));
    EXPECT_TRUE(lit("im_hero_3_hand_up"));

    display.Vid_Show_Hero(3, 3, true);
    EXPECT_TRUE(lit("im_hero_3_leg_left_down"));
    EXPECT_TRUE(lit("im_hero_3_leg_right_up"));
    EXPECT_FALSE(lit("im_hero_3_leg_left_up"));
    EXPECT_FALSE(lit("im_hero_3_leg_right_down"));
    EXPECT_TRUE(lit("im_hero_3_body"));
    EXPECT_TRUE(lit("im_hero_3_hand_down"));
    EXPECT_TRUE(lit("im_hero_3_base"));
    EXPECT_TRUE(lit("im_hero_3_hand_up"));

    display.setVisible(display.hero(3, HandUp), false);
    display.Vid_Show_Hero(3, 3, true);
    EXPECT_FALSE(lit("im_hero_3_hand_up"));
}

TEST_F(SegmentDisplayTest, HidingTheHeroDarkensEveryTouchedPartWhateverThePhase) {
    for (int phase : {1, 2}) {
        display.Vid_Show_All_Hero(true);
        display.Vid_Show_Hero(2, phase, false);
        for (int part = 0; part < kHeroParts; ++part)
            EXPECT_EQ(display.isVisible(HeroSegments[1][part]), part == HandUp)
                << "phase " << phase << " part " << kHeroPartNames[part];
        EXPECT_TRUE(lit("im_hero_1_body")) << "other positions untouched";
    }
}

TEST_F(SegmentDisplayTest, ItemsShowOnePerRowAndNoneForPositionZero) {
    display.Vid_Show_All_Items(true);
    display.Vid_Show_Items({3, 0, 7});
    for (int r = 1; r <= kItemRows; ++r)
        for (int p = 1; p <= kRowPositions; ++p) {
            const bool expected = (r == 1 && p == 3) || (r == 3 && p == 7);
            EXPECT_EQ(display.isVisible(display.item(r, p)), expected)
                << "row " << r << " pos " << p;
        }
    display.Vid_Show_Items({9, -1, 1});
    EXPECT_FALSE(lit("im_item_1_7"));
    EXPECT_TRUE(lit("im_item_3_1"));
}

// --- Group tables and the catalogue
// ---------------------------------------------------------------

TEST(SegmentGroups, TablesNameTheirSegmentsInIndexOrder) {
    const auto nameOf = [](SegmentId id) { return std::string(kSegmentCatalogue[id].name); };
    for (int p = 1; p <= kHeroPositions; ++p)
        for (int k = 0; k < kHeroParts; ++k)
            EXPECT_EQ(nameOf(HeroSegments[p - 1][k]),
                      "im_hero_" + std::to_string(p) + "_" + std::string(kHeroPartNames[k]));
    EXPECT_EQ(nameOf(HeroSegments[3][HandUp]), "im_hero_4_hand_up");
    EXPECT_EQ(nameOf(HeroSegments[0][LegRightDown]), "im_hero_1_leg_right_down");
    for (int r = 1; r <= kItemRows; ++r)
        for (int k = 1; k <= kRowPositions; ++k)
            EXPECT_EQ(nameOf(ItemSegments[r - 1][k - 1]),
                      "im_item_" + std::to_string(r) + "_" + std::to_string(k));
    for (int f = 1; f <= kFlameRows; ++f)
        for (int k = 1; k <= kRowPositions; ++k)
            EXPECT_EQ(nameOf(FlameSegments[f - 1][k - 1]),
                      "im_flame_" + std::to_string(f) + "_" + std::to_string(k));
    for (int i = 1; i <= 2; ++i)
        EXPECT_EQ(nameOf(Character2Segments[i - 1]), "im_character_2_" + std::to_string(i));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(nameOf(MissSegments[i - 1]), "im_panel_miss_" + std::to_string(i));
        EXPECT_EQ(nameOf(AlarmSegments[i - 1]), "im_panel_alarm_" + std::to_string(i));
    }
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(nameOf(DigitSegments[i - 1]), "im_panel_digit_" + std::to_string(i));
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(nameOf(NumberGlyphs[d]), "im_panel_number_" + std::to_string(d));
}

TEST(SegmentCatalogue, NamesAreUniqueAndEveryPictureSectionHasOneSegment) {
    for (int i = 0; i < kSegmentCount; ++i)
        EXPECT_EQ(findSegment(kSegmentCatalogue[i].name), i) << kSegmentCatalogue[i].name;
    for (int n = 1; n <= kPictureSectionCount; ++n) EXPECT_GE(segmentOfSection(n), 0) << n;
    EXPECT_EQ(segmentOfSection(0), -1);
    EXPECT_EQ(segmentOfSection(kPictureSectionCount + 1), -1);
}

TEST(SegmentCatalogue, StackingPutsEachButtonsClickAreaAboveItsPressedLook) {
    for (const char* b : {"game_a", "game_b", "time", "acl", "left", "right"}) {
        const std::string base = std::string("btn_") + b;
        EXPECT_LT(findSegment(base + "_down"), findSegment(base + "_top")) << base;
    }
}

TEST(SegmentCatalogue, StackingKeepsTheLcdBetweenTheDeviceBackAndTheScreenOverlay) {
    const SegmentId back = seg("im_background_back");
    const SegmentId overlay = seg("im_background_screen_top");
    for (int i = 0; i < kSegmentCount; ++i) {
        const std::string_view name = kSegmentCatalogue[i].name;
        if (!isLcd(name) || name.starts_with("im_panel_number_")) continue;
        EXPECT_GT(i, back) << name;
        EXPECT_LT(i, overlay) << name;
    }
    EXPECT_EQ(seg("im_background_bottom"), 2) << "lowest device picture, above backdrop and logo";
    EXPECT_LT(overlay, seg("im_background_front")) << "the closed front covers the screen";
    EXPECT_EQ(seg("btn_game_menu_top"), kSegmentCount - 1);
}

TEST(SegmentCatalogue, AtStartOnlyTheClosedDeviceIsShownAndTheLcdIsDark) {
    SegmentDisplay display;
    for (const Segment& s : display.segments()) {
        if (!isLcd(s.name)) continue;
        EXPECT_FALSE(s.visible) << s.name;
    }
    for (const char* shown : {"im_background_bottom", "im_background_front", "btn_open",
                              "im_background_screen_top", "btn_left_top", "btn_alarm_top"})
        EXPECT_TRUE(display.isVisible(findSegment(shown))) << shown;
    for (const char* hidden : {"im_background_back", "btn_left_down", "btn_acl_down"})
        EXPECT_FALSE(display.isVisible(findSegment(hidden))) << hidden;
    EXPECT_FALSE(display.segment(seg("im_backdrop")).transparent);
    EXPECT_TRUE(display.segment(seg("im_item_2_5")).transparent);
    EXPECT_FALSE(display.segment(seg("btn_time_down")).transparent);
}

TEST(SegmentDisplayHitTest, PressGoesToTheTopmostShownSegment) {
    SegmentDisplay display;
    display.setBounds(seg("btn_time_down"), {100, 100, 20, 20});
    display.setBounds(seg("btn_time_top"), {100, 100, 20, 20});
    display.setVisible(seg("btn_time_down"), true);
    EXPECT_EQ(display.hitTest(105, 105), seg("btn_time_top"));
    display.setVisible(seg("btn_time_top"), false);
    EXPECT_EQ(display.hitTest(105, 105), seg("btn_time_down"));
    // The right edge is outside the rectangle: the backdrop below gets the press.
    EXPECT_EQ(display.hitTest(120, 105), seg("im_backdrop"));
}

// --- Window outline ------------------------------------------------------------------------------

// GAME A's pressed picture shown on a grey device that is see-through in its right quarter.
TEST(WindowOutline, OnlyPicturesThatCanMeetTheKeyColourOrASeeThroughPartChangeIt) {
    const auto picture = [](int side, int seeThroughFrom, bool keyPixel) {
        auto p = std::make_shared<PictureData>();
        p->width = p->height = side;
        for (int i = 0; i < side * side; ++i)
            p->rgba.insert(p->rgba.end(),
                           {90, 90, 90, std::uint8_t(i % side < seeThroughFrom ? 255 : 0)});
        const std::uint8_t magenta[] = {255, 0, 255};
        if (keyPixel) std::copy_n(magenta, 3, p->pixel(5, 5));
        return Picture(p);
    };
    struct Case {
        const char* what;
        int left;
        bool keyPixel, overKeyedBack, changes;
    };
    for (const Case& c :
         {Case{"opaque, over the solid device", 10, false, false, false},
          Case{"with a key-coloured pixel", 10, true, false, true},
          Case{"reaching over the see-through part", 70, false, false, true},
          Case{"over an element with a key-coloured pixel", 10, false, true, true}}) {
        SCOPED_TRACE(c.what);
        SegmentDisplay display;
        display.setPicture(seg("im_background_bottom"), picture(100, 75, false));
        display.setBounds(seg("im_background_bottom"), {0, 0, 100, 100});
        display.setPicture(seg("im_background_back"), picture(20, 20, c.overKeyedBack));
        display.setBounds(seg("im_background_back"), {10, 10, 20, 20});
        display.setPicture(seg("btn_game_a_down"), picture(10, 10, c.keyPixel));
        display.setBounds(seg("btn_game_a_down"), {c.left, 10, 10, 10});
        WindowOutline outline;
        outline.reset(display, 0x00FF00FF);
        ASSERT_TRUE(outline.changed(display)) << "a skin load always gives a new outline";
        display.setVisible(seg("btn_game_a_down"), true);
        EXPECT_EQ(outline.changed(display), c.changes);
    }
}

}  // namespace
