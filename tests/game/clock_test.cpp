// The clock and alarm views.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

class ClockTest : public ::testing::Test {
  protected:
    void showClock(int h, int m) {
        rig.clock.set(h, m);
        rig.open();
        rig.game.Inp_time_down();
        rig.game.Inp_time_up();
        rig.advance(1);
    }
    GameRig rig;
};

TEST_F(ClockTest, ShowsTwelveHourTimeWithAmAndPm) {
    struct Case {
        int h, m;
        const char* panel;
        bool pm;
    };
    const Case cases[] = {{0, 5, "1205", false},   {9, 7, " 907", false}, {10, 0, "1000", false},
                          {11, 59, "1159", false}, {12, 0, "1200", true}, {12, 30, "1230", true},
                          {13, 1, " 101", true},   {23, 59, "1159", true}};
    showClock(6, 0);
    for (const Case& c : cases) {
        rig.clock.set(c.h, c.m);
        rig.advance(1000);
        EXPECT_EQ(rig.panel(), c.panel) << c.h << ":" << c.m;
        EXPECT_EQ(rig.lit("im_panel_time_pm"), c.pm) << c.h << ":" << c.m;
        EXPECT_EQ(rig.lit("im_panel_time_am"), !c.pm) << c.h << ":" << c.m;
    }
}

TEST_F(ClockTest, ClockViewLightsTheSceneryAndColonOnly) {
    showClock(8, 15);
    EXPECT_EQ(rig.game.GameState, ModeClock);
    EXPECT_EQ(rig.panel(), " 815");
    EXPECT_TRUE(rig.lit("im_game_background"));
    EXPECT_TRUE(rig.lit("im_panel_time_colon"));
    EXPECT_TRUE(rig.lit("im_character_2_1"));
    EXPECT_FALSE(rig.lit("im_character_2_2"));
    EXPECT_FALSE(rig.lit("im_hero_2_body"));
    EXPECT_FALSE(rig.lit("im_panel_alarm_1"));
    EXPECT_FALSE(rig.lit("im_panel_miss_1"));
}

TEST_F(ClockTest, RefreshesEverySecondCountedFromTheFirstRun) {
    showClock(9, 59);  // first run at once
    EXPECT_EQ(rig.panel(), " 959");
    rig.clock.set(10, 0);  // the minute changes between two runs
    rig.advance(999);
    EXPECT_EQ(rig.panel(), " 959");
    rig.advance(1);
    EXPECT_EQ(rig.panel(), "1000");
    EXPECT_EQ(rig.game.Timer_Clock.interval(), 1000);
    rig.clock.set(10, 1);
    rig.advance(1000);
    EXPECT_EQ(rig.panel(), "1001");
}

TEST_F(ClockTest, HoldingTimeShowsTheFixedAlarmTimeAndReleaseShowsTheTimeAtOnce) {
    showClock(7, 30);
    rig.game.Inp_time_down();
    EXPECT_EQ(rig.game.GameState, ModeAlarmView);
    EXPECT_EQ(rig.panel(), "1200");
    EXPECT_TRUE(rig.lit("im_panel_time_pm"));
    EXPECT_FALSE(rig.lit("im_panel_time_am"));
    EXPECT_TRUE(rig.lit("im_panel_time_colon"));
    EXPECT_TRUE(rig.lit("im_character_2_1"));
    for (const char* alarm : {"im_panel_alarm_1", "im_panel_alarm_2", "im_panel_alarm_3"})
        EXPECT_FALSE(rig.lit(alarm));
    EXPECT_FALSE(rig.game.Timer_Clock.enabled());
    rig.advance(5000);
    EXPECT_EQ(rig.panel(), "1200") << "nothing refreshes while the view is held";

    rig.game.Inp_time_up();
    rig.advance(1);
    EXPECT_EQ(rig.panel(), " 730");
    EXPECT_TRUE(rig.lit("im_panel_time_am"));
}

TEST_F(ClockTest, StartingAGameStopsTheClock) {
    showClock(7, 30);
    rig.game.Inp_game_a_down();
    EXPECT_FALSE(rig.game.Timer_Clock.enabled());
    rig.clock.set(8, 0);
    rig.advance(3000);
    EXPECT_EQ(rig.panel(), "   0");
    EXPECT_FALSE(rig.lit("im_panel_time_am"));
}

}  // namespace
