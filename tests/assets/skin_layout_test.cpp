// The drawing fits the game: the places the rules talk about are where a player expects them.
#include <gtest/gtest.h>

#include <string>

#include "asset_paths.h"
#include "core/display/segment_catalogue.h"

namespace {

class SkinLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        auto loaded = IniFile::load(kProgramDir + "/Config.ini");
        ASSERT_TRUE(loaded.has_value());
        ini = *loaded;
    }
    SectionRect rect(const std::string& segment) const {
        const SegmentId id = findSegment(segment);
        EXPECT_GE(id, 0) << segment;
        return sectionRect(ini, kSegmentCatalogue[id].section);
    }
    double centreX(const std::string& s) const {
        const SectionRect r = rect(s);
        return r.left + r.width / 2.0;
    }
    double centreY(const std::string& s) const {
        const SectionRect r = rect(s);
        return r.top + r.height / 2.0;
    }
    static std::string hero(int p, const char* part) {
        return "im_hero_" + std::to_string(p) + "_" + part;
    }
    static std::string item(int r, int k) {
        return "im_item_" + std::to_string(r) + "_" + std::to_string(k);
    }
    static std::string flame(int f, int k) {
        return "im_flame_" + std::to_string(f) + "_" + std::to_string(k);
    }
    IniFile ini;
};

TEST_F(SkinLayout, HeroPositionsRunLeftToRightAndThePartsOfOnePositionStayTogether) {
    for (int p = 1; p < 4; ++p)
        EXPECT_LT(centreX(hero(p, "body")), centreX(hero(p + 1, "body"))) << p;
    for (int p = 1; p <= 4; ++p) {
        const double x = centreX(hero(p, "body"));
        for (const char* part : {"hand_up", "hand_down", "leg_left_up", "leg_left_down",
                                 "leg_right_up", "leg_right_down", "base"})
            EXPECT_NEAR(centreX(hero(p, part)), x, 14.0) << p << " " << part;
        EXPECT_LT(centreY(hero(p, "hand_up")), centreY(hero(p, "hand_down"))) << p;
        EXPECT_LT(centreY(hero(p, "body")), centreY(hero(p, "base"))) << p;
    }
}

// Position 1 catches row 1, positions 2 and 3 row 2, position 4 row 3: the item at the hand
// (position 5) hangs above the catching hands.
TEST_F(SkinLayout, EachRowsItemAtTheHandIsAboveTheHeroesThatCatchIt) {
    EXPECT_NEAR(centreX(item(1, 5)), centreX(hero(1, "body")), 8.0);
    EXPECT_NEAR(centreX(item(3, 5)), centreX(hero(4, "body")), 8.0);
    EXPECT_GT(centreX(item(2, 5)), centreX(hero(2, "body")));
    EXPECT_LT(centreX(item(2, 5)), centreX(hero(3, "body")));
    for (int r = 1; r <= 3; ++r) {
        EXPECT_LE(rect(item(r, 5)).top + rect(item(r, 5)).height, rect(hero(1, "body")).top + 12)
            << r;
        // the arc rises from the hand to positions 1 and 2 and the dropped torch falls below it
        for (int k = 2; k <= 5; ++k)
            EXPECT_GT(centreY(item(r, k)), centreY(item(r, k - 1))) << r << "," << k;
        EXPECT_GT(centreY(item(r, 6)), centreY(item(r, 5)));
        EXPECT_GT(centreY(item(r, 7)), centreY(item(r, 6)));
    }
}

// Flame row 1 burns positions 1 and 2, row 2 positions 3 and 4, at position 5: the lanes run
// between those heroes, from the top down, and position 5 is at the heroes' height.
TEST_F(SkinLayout, FlameLanesRunDownBetweenTheHeroesTheyBurn) {
    for (int f = 1; f <= 2; ++f) {
        const int left = f == 1 ? 1 : 3;
        for (int k = 1; k <= 7; ++k) {
            EXPECT_GT(centreX(flame(f, k)), centreX(hero(left, "body"))) << f << "," << k;
            EXPECT_LT(centreX(flame(f, k)), centreX(hero(left + 1, "body"))) << f << "," << k;
            if (k > 1) {
                EXPECT_GT(centreY(flame(f, k)), centreY(flame(f, k - 1))) << f << "," << k;
            }
        }
        const SectionRect body = rect(hero(left, "body"));
        const double y5 = centreY(flame(f, 5));
        EXPECT_GT(y5, body.top);
        EXPECT_LT(y5, rect(hero(left, "base")).top + rect(hero(left, "base")).height);
    }
}

TEST_F(SkinLayout, TheSecondFigureStandsAtTheRightEdgeClearOfTheHero) {
    const SectionRect screen = rect("im_background_back");
    for (const char* c : {"im_character_2_1", "im_character_2_2"}) {
        EXPECT_GT(centreX(c), centreX(hero(4, "body"))) << c;
        EXPECT_GT(centreX(c), screen.left + screen.width * 0.85) << c;
    }
}

TEST_F(SkinLayout, PanelReadsMissMarksFromTheLeftAndTheWidestFirst) {
    EXPECT_GT(rect("im_panel_miss_1").width, rect("im_panel_miss_2").width);
    EXPECT_GT(rect("im_panel_miss_1").width, rect("im_panel_miss_3").width);
    EXPECT_LT(centreX("im_panel_miss_1"), centreX("im_panel_miss_2"));
    EXPECT_LT(centreX("im_panel_miss_2"), centreX("im_panel_miss_3"));
    // the colon sits between places 2 and 3; AM above PM
    EXPECT_GT(centreX("im_panel_time_colon"),
              rect("im_panel_digit_2").left + rect("im_panel_digit_2").width - 2);
    EXPECT_LT(centreX("im_panel_time_colon"), rect("im_panel_digit_3").left + 2);
    EXPECT_LT(centreY("im_panel_time_am"), centreY("im_panel_time_pm"));
    EXPECT_LT(centreY("im_panel_game_a"), centreY("im_panel_game_b"));
    // the whole panel lies above the juggled torches
    for (int n = 20; n <= 34; ++n) {
        const SectionRect r = sectionRect(ini, n);
        for (int row = 1; row <= 3; ++row) EXPECT_LT(r.top, rect(item(row, 1)).top) << "Image" << n;
    }
}

}  // namespace
