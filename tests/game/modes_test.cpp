// The device modes: opening, the buttons accepted in each mode, the high-score views and ACL.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

struct Button {
    void (*down)(Game&);
    void (*up)(Game&);
    const char* picture;
};
constexpr Button kButtons[] = {
    {[](Game& g) { g.Inp_game_a_down(); }, [](Game& g) { g.Inp_game_a_up(); }, "btn_game_a_down"},
    {[](Game& g) { g.Inp_game_b_down(); }, [](Game& g) { g.Inp_game_b_up(); }, "btn_game_b_down"},
    {[](Game& g) { g.Inp_time_down(); }, [](Game& g) { g.Inp_time_up(); }, "btn_time_down"},
    {[](Game& g) { g.Inp_acl_down(); }, [](Game& g) { g.Inp_acl_up(); }, "btn_acl_down"},
    {[](Game& g) { g.Inp_left_down(); }, [](Game& g) { g.Inp_left_up(); }, "btn_left_down"},
    {[](Game& g) { g.Inp_right_down(); }, [](Game& g) { g.Inp_right_up(); }, "btn_right_down"},
};

class ModesTest : public ::testing::Test {
  protected:
    // Every button shows its pressed picture while held and hides it on release.
    void checkPressedPictures(const char* where) {
        for (const Button& b : kButtons) {
            b.down(game);
            EXPECT_TRUE(rig.lit(b.picture)) << where << ": " << b.picture;
            b.up(game);
            EXPECT_FALSE(rig.lit(b.picture)) << where << ": " << b.picture;
        }
    }
    bool anyTimerEnabled() const {
        const Game& g = rig.game;
        for (const Timer* t :
             {&g.Timer_Game_Start, &g.Timer_Game, &g.Timer_Hero_Hand_1, &g.Timer_Hero_Hand_2,
              &g.Timer_Hero_Hand_3, &g.Timer_Hero_Hand_4, &g.Timer_Miss_1, &g.Timer_Miss_2,
              &g.Timer_Miss_3, &g.Timer_Game_Over, &g.Timer_Chance_Time, &g.Timer_Score_Blink,
              &g.Timer_Clock})
            if (t->enabled()) return true;
        return false;
    }
    bool anyLit(std::string_view prefix) const {
        for (const Segment& s : rig.display.segments())
            if (s.name.starts_with(prefix) && s.visible) return true;
        return false;
    }
    GameRig rig;
    Game& game = rig.game;
};

TEST_F(ModesTest, ClosedDeviceReactsOnlyToOpening) {
    game.Inp_game_a_down();
    game.Inp_time_down();
    game.Inp_acl_down();
    EXPECT_EQ(game.GameState, ModeClosed);
    EXPECT_TRUE(rig.lit("btn_acl_down")) << "the pressed look shows in every mode";
    EXPECT_FALSE(rig.lit("im_game_background"));
    game.Inp_acl_up();
    game.Inp_game_a_up();
    game.Inp_time_up();
    EXPECT_EQ(game.GameState, ModeClosed);
    EXPECT_FALSE(rig.lit("btn_acl_down"));

    rig.open();
    EXPECT_EQ(game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.lit("btn_open"));
    EXPECT_FALSE(rig.lit("im_background_front"));
    EXPECT_TRUE(rig.lit("im_background_back"));
    EXPECT_TRUE(rig.lit("im_background_screen_top"));
    EXPECT_TRUE(rig.lit("im_hero_4_hand_up"));
    EXPECT_EQ(rig.panel(), "1200");
    EXPECT_FALSE(anyTimerEnabled());
}

TEST_F(ModesTest, PressedPicturesFollowTheButtonsInEveryMode) {
    checkPressedPictures("closed");
    rig.open();
    checkPressedPictures(
        "all segments");  // GAME A's release starts a game, which the later ACL ends
    EXPECT_EQ(game.GameState, ModeAllSegments);
    rig.startGame();
    checkPressedPictures("game");
}

TEST_F(ModesTest, HoldingGameAShowsItsHighScoreAndTheGameStartsOnRelease) {
    const std::pair<int, const char*> cases[] = {
        {0, "   0"}, {40, "  40"}, {999, " 999"}, {1205, " 205"}};
    for (const auto& [stored, shown] : cases) {
        rig.backend.values["HiScore1"] = std::to_string(stored);
        game.loadHighScores();
        if (game.GameState == ModeClosed) rig.open();
        game.Inp_acl_down();
        game.Inp_acl_up();
        game.Inp_game_a_down();
        rig.advance(10'000);
        EXPECT_EQ(game.GameState, ModeGameAScore);
        EXPECT_EQ(rig.panel(), shown) << stored;
        EXPECT_TRUE(rig.lit("im_panel_game_a"));
        EXPECT_FALSE(rig.lit("im_panel_game_b"));
        EXPECT_FALSE(rig.lit("im_game_background"));
        EXPECT_FALSE(anyTimerEnabled());
    }
    game.Inp_game_a_up();
    EXPECT_EQ(game.GameState, ModeGameA);
    EXPECT_EQ(rig.panel(), "   0");
    EXPECT_TRUE(rig.lit("im_panel_game_a")) << "stays lit for the whole game";
    EXPECT_TRUE(rig.lit("im_game_background"));
    EXPECT_TRUE(rig.lit("im_character_2_1"));
}

TEST_F(ModesTest, HoldingGameBShowsTheSecondHighScore) {
    rig.backend.values["HiScore2"] = "77";
    game.loadHighScores();
    rig.open();
    game.Inp_game_b_down();
    EXPECT_EQ(game.GameState, ModeGameBScore);
    EXPECT_EQ(rig.panel(), "  77");
    EXPECT_TRUE(rig.lit("im_panel_game_b"));
    game.Inp_game_b_up();
    EXPECT_EQ(game.GameState, ModeGameB);
}

TEST_F(ModesTest, GameBWhileGameAIsHeldIsRefusedAndItsReleaseChangesNothing) {
    rig.open();
    game.Inp_game_a_down();
    game.Inp_game_b_down();
    EXPECT_EQ(game.GameState, ModeGameAScore);
    EXPECT_TRUE(rig.lit("btn_game_b_down"));
    game.Inp_game_a_up();
    EXPECT_EQ(game.GameState, ModeGameA);
    game.Inp_game_b_up();
    EXPECT_EQ(game.GameState, ModeGameA);
    EXPECT_TRUE(rig.lit("im_panel_game_a"));
    EXPECT_FALSE(rig.lit("im_panel_game_b"));
}

TEST_F(ModesTest, RunningGameRefusesGameATimeAndGameB) {
    rig.startGame();
    rig.advance(2000);
    const std::int32_t score = game.Score;
    game.Inp_game_a_down();
    game.Inp_game_a_up();
    game.Inp_game_b_down();
    game.Inp_game_b_up();
    game.Inp_time_down();
    game.Inp_time_up();
    EXPECT_EQ(game.GameState, ModeGameA);
    EXPECT_EQ(game.Score, score);
    EXPECT_TRUE(game.Timer_Game.enabled());
    EXPECT_FALSE(rig.lit("im_panel_game_b"));
}

TEST_F(ModesTest, ReleasesInOtherModesChangeNothing) {
    rig.open();
    game.Inp_game_a_up();
    game.Inp_game_b_up();
    game.Inp_time_up();
    game.Inp_acl_up();
    EXPECT_EQ(game.GameState, ModeAllSegments);
    game.Inp_time_down();
    game.Inp_game_a_up();
    EXPECT_EQ(game.GameState, ModeAlarmView);
}

TEST_F(ModesTest, AclDuringAGameStopsEveryTimerAndSoundAndItsReleaseLightsEverything) {
    rig.startGame();
    rig.advance(1000);
    ASSERT_TRUE(game.sequence().Playing);
    const std::int32_t score = game.Score;
    const auto itemPos = game.ItemPos;
    const std::int32_t hero = game.sequence().HeroPos;
    rig.clearSounds();

    game.Inp_acl_down();
    EXPECT_EQ(game.GameState, ModeReset);
    EXPECT_FALSE(anyTimerEnabled());
    EXPECT_EQ(rig.sounds(), (std::vector<std::string>{"silence"}));
    EXPECT_FALSE(anyLit("im_item_"));
    EXPECT_FALSE(anyLit("im_hero_"));
    EXPECT_FALSE(rig.lit("im_game_background"));
    EXPECT_EQ(rig.panel(), "    ");
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_EQ(game.Score, score) << "no game variable but Playing is reset";
    EXPECT_EQ(game.ItemPos, itemPos);
    EXPECT_EQ(game.sequence().HeroPos, hero);
    rig.advance(60'000);
    EXPECT_FALSE(anyLit("im_item_"));

    game.Inp_acl_up();
    EXPECT_EQ(game.GameState, ModeAllSegments);
    EXPECT_EQ(rig.panel(), "1200");
    EXPECT_TRUE(rig.lit("im_flame_2_7"));
    EXPECT_FALSE(anyTimerEnabled());
}

TEST_F(ModesTest, TimeInGameOverLeavesTheSequenceForTheAlarmViewAndReleaseShowsTheClock) {
    rig.startGame();
    rig.advance(120'000);  // a player who never moves has lost by now
    ASSERT_EQ(game.GameState, ModeGameOver);
    rig.clock.set(9, 41);
    game.Inp_time_down();
    EXPECT_EQ(game.GameState, ModeAlarmView);
    EXPECT_FALSE(anyTimerEnabled());
    EXPECT_EQ(rig.panel(), "1200");
    EXPECT_TRUE(rig.lit("im_panel_time_pm"));
    game.Inp_time_up();
    rig.advance(1);
    EXPECT_EQ(game.GameState, ModeClock);
    EXPECT_EQ(rig.panel(), " 941");
}

// Brings a fresh device into a mode the way a user would, holding the button where the mode
// needs it held.
void reach(GameRig& rig, std::int32_t mode) {
    Game& g = rig.game;
    if (mode == ModeClosed) return;
    rig.open();
    switch (mode) {
        case ModeReset:
            g.Inp_acl_down();
            break;
        case ModeAlarmView:
            g.Inp_time_down();
            break;
        case ModeClock:
            g.Inp_time_down();
            g.Inp_time_up();
            break;
        case ModeGameAScore:
            g.Inp_game_a_down();
            break;
        case ModeGameBScore:
            g.Inp_game_b_down();
            break;
        case ModeGameA:
        case ModeGameB:
            rig.startGame(mode == ModeGameB);
            break;
        case ModeGameOver:
            rig.startGame();
            rig.advance(120'000);  // a player who never moves has lost by now
            break;
        default:
            break;
    }
    rig.advance(1);
}

TEST(ModeTable, EachModeAcceptsExactlyItsButtonsAndEveryPressShowsItsPicture) {
    struct Press {
        void (*down)(Game&);
        const char* picture;
        std::int32_t target;
    };
    const Press presses[] = {
        {[](Game& g) { g.Inp_game_a_down(); }, "btn_game_a_down", ModeGameAScore},
        {[](Game& g) { g.Inp_game_b_down(); }, "btn_game_b_down", ModeGameBScore},
        {[](Game& g) { g.Inp_time_down(); }, "btn_time_down", ModeAlarmView},
        {[](Game& g) { g.Inp_acl_down(); }, "btn_acl_down", ModeReset},
    };
    for (std::int32_t mode = ModeClosed; mode <= ModeGameOver; ++mode) {
        const bool startButtons =
            mode == ModeAllSegments || mode == ModeClock || mode == ModeGameOver;
        for (const Press& p : presses) {
            GameRig rig;
            reach(rig, mode);
            ASSERT_EQ(rig.game.GameState, mode);
            p.down(rig.game);
            const bool accepted = p.target == ModeReset ? mode != ModeClosed : startButtons;
            EXPECT_EQ(rig.game.GameState, accepted ? p.target : mode)
                << "mode " << mode << ", " << p.picture;
            EXPECT_TRUE(rig.lit(p.picture)) << "mode " << mode;
        }
    }
}

}  // namespace
