// Scoring, the saw-tooth of pace and flame odds, chance time and the blinking bonus.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

using Sounds = std::vector<std::string>;

class ScoreTest : public ::testing::Test {
  protected:
    // In play, hero at 1, the row-1 item at the hand; rows 2 and 3 high up and rising, so that
    // nothing drops for several seconds.
    void readyToCatchAtPosition1(std::int32_t score) {
        rig.startGame();
        rig.moveTo(1);
        game.Score = score;
        placeItems(rig, {5, 2, 2}, {6, 1, 1});
        rig.clearSounds();
    }
    void pauseForChanceAt300(int misses) {
        readyToCatchAtPosition1(299);
        game.Misses = misses;
        rig.display.Vid_Show_Panel_Miss(misses);
        rig.pressLeft();
        ASSERT_EQ(game.Score, 300);
    }
    GameRig rig;
    Game& game = rig.game;
};

TEST_F(ScoreTest, DifficultyRisesWithinEachHundredAndEasesAtTheNext) {
    struct Case {
        std::int32_t score;
        int interval, spawnRange;
    };
    const Case cases[] = {
        {0, 650, 12},  {9, 650, 12},   {10, 626, 11},  {50, 530, 7},   {89, 458, 4},
        {90, 434, 3},  {99, 434, 3},   {100, 626, 11}, {190, 410, 3},  {300, 578, 9},
        {589, 338, 3}, {590, 320, 3},  {599, 320, 3},  {600, 506, 6},  {900, 434, 3},
        {990, 320, 3}, {1000, 410, 3}, {1234, 320, 3}, {1300, 338, 3}, {1400, 320, 3},
    };
    for (const Case& c : cases) {
        game.Score = c.score;
        game.Gam_Set_Difficulty();
        EXPECT_EQ(game.Timer_Game.interval(), c.interval) << "score " << c.score;
        EXPECT_EQ(game.sequence().SpawnRange, c.spawnRange) << "score " << c.score;
    }
}

TEST_F(ScoreTest, CatchBetweenTicksThatChangesTheTensRestartsTheTickCountdown) {
    readyToCatchAtPosition1(9);
    const auto before = game.ItemPos;
    rig.advance(100);  // the first tick was due 175 ms from here
    rig.pressLeft();
    EXPECT_EQ(game.Timer_Game.interval(), 626);
    rig.advance(200);
    EXPECT_EQ(game.ItemPos[1], before[1]) << "no tick at the old deadline";
    rig.advance(425);
    EXPECT_EQ(game.ItemPos[1], before[1]);
    rig.advance(1);
    EXPECT_EQ(game.ItemPos[1], before[1] - 1) << "tick 626 ms after the catch";
}

TEST_F(ScoreTest, CatchReaching300PausesPlayAtOnceForChanceTime) {
    pauseForChanceAt300(0);
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Game.enabled());
    EXPECT_EQ(game.sequence().ChanceThreshold, 1300);
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep2", "silence"}));
    rig.advance(1);
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep2", "silence", "Chance"}));

    rig.advance(80);  // the hand timer started by the catch still runs
    EXPECT_TRUE(rig.lit("im_hero_1_hand_up"));
    EXPECT_TRUE(rig.lit("im_item_1_4"));
    const auto items = game.ItemPos;
    rig.pressRight();
    EXPECT_EQ(game.sequence().HeroPos, 1) << "no moving during the pause";
    rig.advance(3800 - 80 - 1);
    EXPECT_EQ(game.ItemPos, items) << "items stand still";
    EXPECT_FALSE(game.sequence().Playing);

    rig.advance(1);
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_TRUE(game.Timer_Game.enabled());
    EXPECT_EQ(game.sequence().CatchPoints, 2);
    EXPECT_TRUE(game.Timer_Score_Blink.enabled());
}

TEST_F(ScoreTest, ChanceTimeClearsEarlierMissesWithoutABonus) {
    for (int misses : {1, 2}) {
        GameRig r;
        r.startGame();
        r.moveTo(1);
        r.game.Score = 299;
        r.game.Misses = misses;
        r.display.Vid_Show_Panel_Miss(misses);
        placeItems(r, {5, 2, 2}, {6, 1, 1});
        r.pressLeft();
        r.advance(3801);
        EXPECT_TRUE(r.game.sequence().Playing);
        EXPECT_EQ(r.game.Misses, 0);
        EXPECT_FALSE(r.lit("im_panel_miss_1")) << misses;
        EXPECT_EQ(r.game.sequence().CatchPoints, 1) << misses;
        EXPECT_FALSE(r.game.Timer_Score_Blink.enabled()) << misses;
    }
}

TEST_F(ScoreTest, BonusScoreBlinksDarkFirstAndEveryCatchCountsTwiceShownLitAtOnce) {
    pauseForChanceAt300(0);
    rig.advance(3801);
    ASSERT_EQ(game.sequence().CatchPoints, 2);
    EXPECT_EQ(rig.panel(), " 300");
    rig.advance(499);
    EXPECT_EQ(rig.panel(), " 300");
    rig.advance(1);
    EXPECT_EQ(rig.panel(), "    ");
    rig.advance(500);
    EXPECT_EQ(rig.panel(), " 300");
    rig.advance(500);
    EXPECT_EQ(rig.panel(), "    ");

    placeItems(rig, {5, game.ItemPos[1], game.ItemPos[2]}, {6, 1, 1});
    rig.pressLeft();
    EXPECT_EQ(game.Score, 302);
    EXPECT_EQ(rig.panel(), " 302") << "a catch redraws the score lit whatever the phase";
    rig.advance(500);
    EXPECT_EQ(rig.panel(), " 302") << "the blink goes on from its own phase";
}

TEST_F(ScoreTest, PauseKeepsThePhaseOfTheTickThatCaught) {
    rig.startGame();
    game.Score = 299;
    placeItems(rig, {2, 4, 2}, {1, 6, 1});  // row 2 arrives above the hero at the first tick
    rig.advance(275);
    ASSERT_EQ(game.Score, 300);
    EXPECT_EQ(rig.countSound("Beep3"), 1);
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().StepPhase, 2);
    rig.advance(3801 + game.Timer_Game.interval());
    EXPECT_EQ(game.sequence().StepPhase, 1) << "the first tick after the pause is the flame phase";
}

TEST_F(ScoreTest, BonusCarriesOverTheNextThresholdAndKeepsBlinking) {
    pauseForChanceAt300(0);
    rig.advance(3801);
    rig.advance(700);
    const std::int64_t blinkDue = game.Timer_Score_Blink.due();
    game.Score = 1299;
    placeItems(rig, {5, game.ItemPos[1], game.ItemPos[2]}, {6, 1, 1});
    rig.pressLeft();
    EXPECT_EQ(game.Score, 1301);
    EXPECT_FALSE(game.sequence().Playing) << "passing 1300 with the bonus still starts chance time";
    EXPECT_EQ(game.sequence().ChanceThreshold, 2300);
    rig.advance(3801);
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().CatchPoints, 2);
    EXPECT_TRUE(game.Timer_Score_Blink.enabled());
    EXPECT_EQ((game.Timer_Score_Blink.due() - blinkDue) % 500, 0) << "blink timer not restarted";
}

TEST_F(ScoreTest, MissEndsTheBonus) {
    pauseForChanceAt300(0);
    rig.advance(3801);
    rig.display.Vid_Show_All_Flames(false);
    // Up to an item phase that falls while the blinking score is dark; the row-3 item drops.
    for (int i = 0; i < 20; ++i) {
        rig.advance(game.Timer_Game.due() - rig.scheduler.now() - 1);
        if (game.sequence().StepPhase % 2 == 1 && rig.panel() == "    ") break;
        rig.advance(1);
    }
    ASSERT_EQ(rig.panel(), "    ");
    placeItems(rig, {game.ItemPos[0], 2, 5}, {game.ItemTarget[0], 1, 6});
    rig.advance(1);
    ASSERT_FALSE(game.sequence().Playing);
    EXPECT_EQ(rig.panel(), " 300") << "the drop redraws the score lit";
    EXPECT_FALSE(game.Timer_Score_Blink.enabled());
    for (int i = 0; i < 200 && !game.sequence().Playing; ++i) rig.advance(100);
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().CatchPoints, 1);
    EXPECT_EQ(game.Misses, 1);
}

// A chance time started under a running miss sequence would restart play while the miss is
// still being shown (or after the third miss, under the game-over sequence).
TEST_F(ScoreTest, CatchOfALeftOverItemDuringAMissDefersChanceTimeToTheNextCatchInPlay) {
    rig.startGame();
    game.Score = 299;
    placeItems(rig, {2, 4, 5}, {1, 6, 6});  // row 3 drops while row 2 arrives above the hero
    rig.advance(275);
    ASSERT_FALSE(game.sequence().Playing);
    ASSERT_EQ(game.Score, 299);
    rig.advance(100);
    rig.pressLeft();
    EXPECT_EQ(game.Score, 300) << "the catch test still runs within a game";
    EXPECT_FALSE(game.Timer_Chance_Time.enabled());
    EXPECT_EQ(game.sequence().ChanceThreshold, 300);
    rig.advance(8000);
    ASSERT_EQ(game.Misses, 1);
    ASSERT_TRUE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Chance_Time.enabled());

    placeItems(rig, {3, 3, 5}, {1, 1, 6});
    rig.moveTo(4);
    rig.pressRight();
    EXPECT_EQ(game.Score, 301);
    EXPECT_TRUE(game.Timer_Chance_Time.enabled());
    EXPECT_EQ(game.sequence().ChanceThreshold, 1300);
}

TEST_F(ScoreTest, CatchAfterTheThirdMissCannotRestartPlayUnderTheGameOverSequence) {
    rig.startGame();
    rig.moveTo(4);
    game.Misses = 2;
    game.Score = 299;
    placeItems(rig, {5, 3, 3}, {6, 1, 1});
    rig.advance(275 + 1 + 280 + 1600 + 1 + 200 * 11 + 600);
    ASSERT_EQ(game.Misses, 3);
    game.ItemPos[2] = 5;  // a left-over item at the hero's hand
    rig.pressRight();
    EXPECT_EQ(game.Score, 300);
    rig.advance(3800 + 800);
    EXPECT_EQ(game.GameState, ModeGameOver);
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Game.enabled());
    EXPECT_TRUE(rig.lit("im_panel_miss_3"));
    EXPECT_EQ(game.HiScore1, 300);
}

}  // namespace
