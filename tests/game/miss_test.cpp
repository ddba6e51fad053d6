// Dropped items, burns, the miss count and the game-over sequence with the stored high score.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

using Sounds = std::vector<std::string>;

// From a dropped item to the miss count with the hero already at position 4.
constexpr std::int64_t kDropToCount = 1 + 280 + 1600 + 1 + 200 * 11 + 600;
constexpr std::int64_t kGameOverSteps = 3800 + 373 * 800;

class MissTest : public ::testing::Test {
  protected:
    // The first tick after the start drops the item of a row the hero does not catch.
    void dropAtFirstTick(int heroPos) {
        rig.startGame();
        rig.moveTo(heroPos);
        if (heroPos == 4)
            placeItems(rig, {5, 3, 3}, {6, 1, 1});
        else
            placeItems(rig, {3, 3, 5}, {1, 1, 6});
        rig.clearSounds();
        rig.advance(275);
        ASSERT_FALSE(game.sequence().Playing);
    }
    // Ends a game with a dropped item as its third miss; returns at the miss count.
    void loseThirdMiss(bool gameB = false) {
        rig.startGame(gameB);
        rig.moveTo(4);
        game.Misses = 2;
        placeItems(rig, {5, 3, 3}, {6, 1, 1});
        rig.advance(275 + kDropToCount);
        ASSERT_EQ(game.Misses, 3);
    }
    bool lit(const char* name) const { return rig.lit(name); }

    GameRig rig;
    Game& game = rig.game;
};

TEST_F(MissTest, DroppedItemFallsThenTheHeroWalksToTheEdgeThenTheMissIsCounted) {
    dropAtFirstTick(1);
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep1", "silence", "Miss1"}));
    EXPECT_TRUE(lit("im_item_3_6"));
    rig.advance(280);
    EXPECT_TRUE(lit("im_item_3_6"));
    rig.advance(1);
    EXPECT_FALSE(lit("im_item_3_6"));
    EXPECT_TRUE(lit("im_item_3_7")) << "the missed item lies on the ground";
    EXPECT_FALSE(lit("im_item_1_7") || lit("im_item_2_7")) << "only the missed one";

    rig.advance(1599);
    EXPECT_EQ(game.sequence().HeroPos, 1);
    for (int pos = 2; pos <= 4; ++pos) {
        rig.advance(pos == 2 ? 1 : 488);
        EXPECT_EQ(game.sequence().HeroPos, pos);
        EXPECT_EQ(heroPose(rig, pos), "body hand_down leg_left_down leg_right_down base");
        EXPECT_EQ(heroPose(rig, pos - 1), "");
    }
    rig.advance(488);
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep1", "silence", "Miss1", "silence", "Step", "silence",
                                    "Step", "silence", "Step", "Miss2"}));
    EXPECT_TRUE(game.Timer_Miss_3.enabled());
    EXPECT_FALSE(game.Timer_Miss_2.enabled());

    rig.advance(1 + 200 * 11 + 600 - 1);
    EXPECT_EQ(game.Misses, 0);
    rig.advance(1);
    EXPECT_EQ(game.Misses, 1);
    EXPECT_TRUE(lit("im_panel_miss_1"));
    EXPECT_FALSE(lit("im_panel_miss_2"));
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().HeroPos, 4) << "play resumes where the walk ended";
    EXPECT_EQ(heroPose(rig, 4), "body hand_down leg_left_down leg_right_up base");
    EXPECT_FALSE(lit("im_item_3_7"));
    EXPECT_TRUE(lit("im_item_1_3"));
    EXPECT_TRUE(lit("im_item_2_3"));
    EXPECT_TRUE(lit("im_item_3_1"));
    EXPECT_TRUE(lit("im_flame_1_1"));
    EXPECT_EQ(game.ItemTarget, (std::array<std::int32_t, 3>{1, 6, 6}));
    EXPECT_EQ(game.sequence().StepPhase, 1);
    EXPECT_TRUE(game.Timer_Game.enabled());
}

TEST_F(MissTest, HeroAlreadyAtTheEdgeDoesNotWalk) {
    dropAtFirstTick(4);
    rig.advance(1 + 280 + 1600 - 1);
    EXPECT_EQ(rig.countSound("Miss2"), 0);
    rig.advance(1);
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep1", "silence", "Miss1", "Miss2"}));
    rig.advance(1 + 200 * 11 + 600);
    EXPECT_EQ(game.Misses, 1);
}

TEST_F(MissTest, TwoItemsDroppingTogetherCountAsOneMiss) {
    rig.startGame();
    rig.moveTo(1);
    placeItems(rig, {3, 5, 5}, {1, 6, 6});
    rig.advance(275 + 281);
    EXPECT_TRUE(lit("im_item_2_7"));
    EXPECT_TRUE(lit("im_item_3_7"));
    rig.advance(1600 + 488 * 3 + 1 + 200 * 11 + 600);
    EXPECT_EQ(game.Misses, 1);
    EXPECT_TRUE(game.sequence().Playing);
}

TEST_F(MissTest, BurnAnimationBlinksOnlyTheBurningFlameAndEndsWithItDark) {
    rig.startGame();
    rig.display.Vid_Show_All_Flames(false);
    rig.display.setVisible(rig.display.flame(1, 5), true);
    rig.advance(275);  // item phase
    rig.advance(game.Timer_Game.interval());
    ASSERT_EQ(game.sequence().BurnRow, 1);
    rig.advance(1);  // animation step 1
    // Steps 2 to 12 as seen: the hero's left and right leg, which figure waves, the flame.
    const std::array<const char*, 11> frames{
        "up up 2",   "down down 2 flame", "down up 1",  "down down 1 flame",
        "up down 2", "down down 2 flame", "up up 1",    "down down 1 flame",
        "down up 2", "down down 2 flame", "down down 1"};
    const auto seen = [&] {
        const auto leg = [&](const std::string& side) -> std::string {
            const bool up = rig.lit("im_hero_2_leg_" + side + "_up");
            const bool down = rig.lit("im_hero_2_leg_" + side + "_down");
            return up == down ? (up ? "both" : "none") : (up ? "up" : "down");
        };
        const bool first = lit("im_character_2_1");
        const char* figure = first == lit("im_character_2_2") ? "?" : first ? "1" : "2";
        return leg("left") + " " + leg("right") + " " + figure +
               (lit("im_flame_1_5") ? " flame" : "");
    };
    for (int step = 2; step <= 12; ++step) {
        rig.advance(200);
        EXPECT_EQ(seen(), frames[step - 2]) << "step " << step;
        for (int k : {1, 2, 3, 4, 6, 7})
            EXPECT_FALSE(rig.display.isVisible(rig.display.flame(1, k))) << "step " << step;
    }
    EXPECT_TRUE(lit("im_character_2_1"));
    rig.advance(599);
    EXPECT_EQ(game.Misses, 0);
    rig.advance(1);
    EXPECT_EQ(game.Misses, 1);
    EXPECT_EQ(game.sequence().HeroPos, 2) << "a burnt hero resumes at its own position";
    EXPECT_EQ(heroPose(rig, 2), "body hand_down leg_left_down leg_right_up base");
    EXPECT_TRUE(lit("im_flame_1_1"));
    EXPECT_FALSE(lit("im_flame_1_5"));
}

TEST_F(MissTest, ThirdMissStartsTheGameOverSequenceAfter3800Ms) {
    rig.startGame();
    rig.moveTo(4);
    game.Misses = 2;
    placeItems(rig, {5, 3, 3}, {6, 1, 1});
    rig.advance(275 + kDropToCount - 1);
    rig.clearSounds();
    rig.advance(1);
    EXPECT_EQ(rig.sounds(), Sounds{"Gameover"});
    EXPECT_TRUE(lit("im_panel_miss_3"));
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Game.enabled());
    EXPECT_EQ(game.GameState, ModeGameA) << "until the first game-over step";

    const std::string panel = rig.panel();
    rig.advance(3799);
    EXPECT_EQ(game.GameState, ModeGameA);
    rig.advance(1);
    EXPECT_EQ(game.GameState, ModeGameOver);
    for (int step = 1; step <= 4; ++step) {
        const bool odd = step % 2 == 1;
        EXPECT_EQ(lit("im_character_2_1"), odd) << step;
        EXPECT_EQ(lit("im_character_2_2"), !odd) << step;
        EXPECT_EQ(lit("im_hero_4_leg_left_down"), odd) << step;
        EXPECT_EQ(lit("im_hero_4_leg_right_down"), odd) << step;
        EXPECT_EQ(lit("im_hero_4_leg_left_up"), !odd) << step;
        EXPECT_EQ(lit("im_hero_4_leg_right_up"), !odd) << step;
        EXPECT_EQ(rig.panel(), panel);
        EXPECT_TRUE(lit("im_panel_miss_3"));
        rig.advance(800);
    }
}

TEST_F(MissTest, LeftAloneTheGameOverSequenceEndsOnTheClockAfterAboutFiveMinutes) {
    rig.clock.set(15, 45);
    loseThirdMiss();
    rig.advance(kGameOverSteps - 1);
    EXPECT_EQ(game.GameState, ModeGameOver);
    rig.advance(1);
    EXPECT_EQ(game.GameState, ModeClock);
    EXPECT_FALSE(game.Timer_Game_Over.enabled());
    rig.advance(1);
    EXPECT_EQ(rig.panel(), " 345");
    EXPECT_TRUE(lit("im_panel_time_pm"));
    EXPECT_FALSE(lit("im_character_2_2"));
    EXPECT_FALSE(lit("im_panel_miss_1"));
}

TEST_F(MissTest, FinalScoreCountsModulo1000AgainstTheHighScore) {
    struct Case {
        std::int32_t score, hiScore, expectedHi;
        bool written;
    };
    const Case cases[] = {
        {1234, 233, 234, true}, {1234, 234, 234, false}, {1234, 500, 500, false},
        {1000, 0, 0, false},    {57, 0, 57, true},
    };
    for (const Case& c : cases) {
        GameRig r;
        r.game.HiScore1 = c.hiScore;
        r.startGame();
        r.moveTo(4);
        r.game.Misses = 2;
        r.game.Score = c.score;
        placeItems(r, {5, 3, 3}, {6, 1, 1});
        r.advance(275 + kDropToCount + 3800);
        ASSERT_EQ(r.game.GameState, ModeGameOver);
        EXPECT_EQ(r.game.Score, c.score % 1000);
        EXPECT_EQ(r.game.HiScore1, c.expectedHi) << c.score << " vs " << c.hiScore;
        EXPECT_EQ(r.backend.values.count("HiScore1"), c.written ? 1u : 0u);
        if (c.written) {
            EXPECT_EQ(r.backend.values["HiScore1"], std::to_string(c.expectedHi));
        }
        EXPECT_EQ(r.backend.values.count("HiScore2"), 0u);
    }
}

TEST_F(MissTest, GameBUpdatesOnlyItsOwnHighScore) {
    game.HiScore1 = 5;
    loseThirdMiss(true);
    game.Score = 321;
    rig.advance(3800);
    EXPECT_EQ(game.HiScore2, 321);
    EXPECT_EQ(game.HiScore1, 5);
    EXPECT_EQ(rig.backend.values["HiScore2"], "321");
    EXPECT_EQ(rig.backend.values.count("HiScore1"), 0u);
}

TEST_F(MissTest, AclBeforeTheFirstGameOverStepEndsWithoutAHighScore) {
    loseThirdMiss();
    game.Score = 90;
    rig.advance(3000);
    game.Inp_acl_down();
    game.Inp_acl_up();
    rig.advance(10'000);
    EXPECT_EQ(game.HiScore1, 0);
    EXPECT_TRUE(rig.backend.values.empty());
    EXPECT_EQ(game.GameState, ModeAllSegments);
}

TEST_F(MissTest, GameAAfterTheFirstGameOverStepShowsTheNewHighScoreAndStartsAfresh) {
    loseThirdMiss();
    game.Score = 64;
    rig.advance(3800 + 800 * 5);
    game.Inp_game_a_down();
    EXPECT_EQ(game.GameState, ModeGameAScore);
    EXPECT_EQ(rig.panel(), "  64");
    EXPECT_FALSE(game.Timer_Game_Over.enabled());
    EXPECT_FALSE(lit("im_panel_miss_1"));
    game.Inp_game_a_up();
    rig.advance(3000);
    EXPECT_EQ(game.Misses, 0);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(rig.panel(), "   0");
    EXPECT_TRUE(game.sequence().Playing);
}

TEST_F(MissTest, StoredHighScoresAreReadBackAtStartUp) {
    loseThirdMiss();
    game.Score = 432;
    rig.advance(3800);
    RecordingSettings& stored = rig.backend;
    GameRig next;
    next.backend.values = stored.values;
    next.game.loadHighScores();
    EXPECT_EQ(next.game.HiScore1, 432);
    EXPECT_EQ(next.game.HiScore2, 0);
}

TEST_F(MissTest, AKeyHeldThroughAMissStillHasToBeReleasedBeforeTheNextMove) {
    rig.startGame();
    game.Inp_left_down();  // moves to 1 and stays held
    placeItems(rig, {3, 3, 5}, {1, 1, 6});
    rig.advance(275 + 1 + 280 + 1600 + 488 * 3 + 1 + 200 * 11 + 600);
    ASSERT_TRUE(game.sequence().Playing);
    ASSERT_EQ(game.sequence().HeroPos, 4);
    EXPECT_TRUE(game.sequence().MoveLock);
    game.Inp_left_down();
    EXPECT_EQ(game.sequence().HeroPos, 4);
    game.Inp_left_up();
    game.Inp_left_down();
    EXPECT_EQ(game.sequence().HeroPos, 3);
}

}  // namespace
