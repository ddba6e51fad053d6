// The start sequence and the game tick: item arcs, flames, burns, drops and new flames.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

using Sounds = std::vector<std::string>;

class CycleTest : public ::testing::Test {
  protected:
    // From the end of the start sequence to the first tick.
    static constexpr std::int64_t kToFirstTick = 275;
    void tick() { rig.advance(game.Timer_Game.interval()); }
    bool flame(int f, int k) const { return rig.display.isVisible(rig.display.flame(f, k)); }
    bool item(int r, int k) const { return rig.display.isVisible(rig.display.item(r, k)); }
    void clearFlames() { rig.display.Vid_Show_All_Flames(false); }

    GameRig rig;
    Game& game = rig.game;
};

TEST_F(CycleTest, StartSequenceWalksTheHeroAcrossToTheJingleThenDealsTheItems) {
    rig.open();
    game.Inp_game_a_down();
    game.Inp_game_a_up();
    EXPECT_TRUE(rig.sounds().empty()) << "step 1 runs after the release returns";
    rig.advance(1);
    EXPECT_EQ(rig.sounds(), Sounds{"Start"});
    EXPECT_EQ(heroPose(rig, 1), "");
    EXPECT_EQ(game.sequence().HeroPos, 0) << "still the value before the first game";

    const char* walk = "body hand_down leg_left_down leg_right_up base";
    rig.advance(300);
    EXPECT_EQ(heroPose(rig, 1), walk);
    rig.advance(375);
    EXPECT_EQ(heroPose(rig, 1), "");
    EXPECT_EQ(heroPose(rig, 2), walk);
    rig.advance(375);
    EXPECT_EQ(heroPose(rig, 3), "body hand_down leg_left_up leg_right_down base");
    rig.advance(375);
    EXPECT_EQ(heroPose(rig, 4), "body hand_up leg_left_down leg_right_down base");
    rig.advance(375);
    EXPECT_EQ(heroPose(rig, 4), "");
    EXPECT_EQ(heroPose(rig, 3), "body hand_down leg_left_up leg_right_down base");
    rig.advance(375);
    EXPECT_EQ(heroPose(rig, 2), "body hand_up leg_left_down leg_right_down base");
    EXPECT_FALSE(game.Timer_Game.enabled());
    rig.advance(375);  // step 8
    EXPECT_EQ(heroPose(rig, 2), walk);
    EXPECT_TRUE(game.Timer_Game.enabled());
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_FALSE(item(1, 3));
    rig.advance(374);
    EXPECT_FALSE(game.sequence().Playing);
    rig.advance(1);  // step 9, 2926 ms after the release
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Game_Start.enabled());
    EXPECT_EQ(game.sequence().HeroPos, 2);
    EXPECT_TRUE(item(1, 3));
    EXPECT_TRUE(item(2, 3));
    EXPECT_TRUE(item(3, 1));
    EXPECT_TRUE(flame(1, 1));
    EXPECT_EQ(game.ItemTarget, (std::array<std::int32_t, 3>{1, 6, 6}));
    EXPECT_EQ(rig.sounds(), Sounds{"Start"});
}

TEST_F(CycleTest, FirstTickComes275MsAfterTheLastStartStepAndMovesOnlyTheItems) {
    rig.startGame();
    rig.clearSounds();
    rig.advance(kToFirstTick - 1);
    EXPECT_TRUE(item(1, 3));
    rig.advance(1);
    EXPECT_TRUE(item(1, 2));
    EXPECT_TRUE(item(2, 4));
    EXPECT_TRUE(item(3, 2));
    EXPECT_FALSE(item(1, 3) || item(2, 3) || item(3, 1));
    EXPECT_TRUE(flame(1, 1)) << "flames move in the second tick";
    EXPECT_EQ(rig.sounds(), Sounds{"Beep1"});
    EXPECT_EQ(heroPose(rig, 2), "body hand_down leg_left_down leg_right_up base");

    rig.clearSounds();
    tick();
    EXPECT_FALSE(flame(1, 1));
    EXPECT_TRUE(flame(1, 2));
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep4", "Beep4"})) << "row 1 moved: sounded after both rows";
    EXPECT_EQ(heroPose(rig, 2), "body hand_down leg_left_up leg_right_down base");
}

TEST_F(CycleTest, ItemAtTheTopOfItsArcStaysOnePhaseThenFalls) {
    rig.startGame();
    rig.advance(kToFirstTick);
    EXPECT_EQ(game.ItemPos[0], 2);
    tick();
    tick();
    EXPECT_EQ(game.ItemPos[0], 1);
    EXPECT_EQ(game.ItemTarget[0], 1);
    tick();
    tick();
    EXPECT_EQ(game.ItemPos[0], 1) << "stays for one item phase";
    EXPECT_EQ(game.ItemTarget[0], 6);
    EXPECT_TRUE(item(1, 1));
    tick();
    tick();
    EXPECT_EQ(game.ItemPos[0], 2);
    EXPECT_TRUE(item(1, 2));
    EXPECT_FALSE(item(1, 1));
}

TEST_F(CycleTest, DroppedItemEndsThePhaseEvenWithAnotherItemArrivingAtTheHand) {
    rig.startGame();
    rig.moveTo(1);
    placeItems(rig, {4, 5, 3}, {6, 6, 6});
    rig.clearSounds();
    rig.advance(kToFirstTick);
    EXPECT_EQ(game.Score, 0) << "the item arriving above the hero is not caught";
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep1", "silence", "Miss1"}));
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_FALSE(game.Timer_Game.enabled());
    EXPECT_FALSE(item(1, 5)) << "positions 1 to 5 go dark";
    EXPECT_FALSE(item(3, 4));
    EXPECT_TRUE(item(2, 6));
    EXPECT_EQ(game.sequence().BurnRow, 0);
    EXPECT_FALSE(flame(1, 1) || flame(1, 2));
    EXPECT_TRUE(game.Timer_Miss_1.enabled());
    EXPECT_EQ(game.sequence().StepPhase, 2) << "the tick still ends with the phase change";
}

TEST_F(CycleTest, BurnIsDecidedOnTheFlamesBeforeTheyAdvance) {
    rig.startGame();
    clearFlames();
    rig.display.setVisible(rig.display.flame(1, 4), true);
    rig.advance(kToFirstTick);  // item phase
    tick();                     // flame phase: 4 -> 5, no burn yet
    EXPECT_TRUE(flame(1, 5));
    EXPECT_TRUE(game.sequence().Playing);
    tick();  // item phase: the row-2 item is caught at 5
    rig.clearSounds();
    tick();  // flame phase: burnt
    EXPECT_FALSE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().BurnRow, 1);
    EXPECT_EQ(rig.sounds(), (Sounds{"silence", "Miss3"}));
    for (int f = 1; f <= 2; ++f)
        for (int k = 1; k <= 7; ++k) EXPECT_EQ(flame(f, k), f == 1 && k == 5) << f << "," << k;
    for (int r = 1; r <= 3; ++r)
        for (int k = 1; k <= 7; ++k) EXPECT_FALSE(item(r, k)) << r << "," << k;
    EXPECT_TRUE(rig.lit("im_hero_2_hand_down"));
    EXPECT_FALSE(rig.lit("im_hero_2_hand_up"));
    EXPECT_TRUE(game.Timer_Miss_3.enabled());
}

TEST_F(CycleTest, FlamesAtFiveBurnTheirSideLowerTheHandAndStopEveryHandTimer) {
    // Row 1 burns the hero at 1 and 2, row 2 at 3 and 4. A catch just before the burn raises the
    // hand 80 ms later unless the burn stops that hand's timer; one 100 ms before has the hand up.
    for (int pos = 1; pos <= 4; ++pos) {
        for (const int lead : {10, 100}) {
            SCOPED_TRACE("position " + std::to_string(pos) + ", catch " + std::to_string(lead) +
                         " ms before");
            GameRig r;
            r.startGame();
            r.display.Vid_Show_All_Flames(false);
            r.display.setVisible(r.display.flame(1, 5), true);
            r.display.setVisible(r.display.flame(2, 5), true);
            const int from = pos == 4 ? 3 : pos + 1;
            r.moveTo(from);
            r.advance(kToFirstTick);  // item phase
            r.advance(r.game.Timer_Game.interval() - lead);
            const int row = pos == 1 ? 1 : pos == 4 ? 3 : 2;  // the row caught there
            std::array<std::int32_t, 3> items{2, 2, 2};
            items[row - 1] = 5;
            placeItems(r, items, {1, 1, 1});
            r.moveTo(pos);
            ASSERT_EQ(r.game.Score, 1);
            r.advance(lead);  // flame phase
            EXPECT_EQ(r.game.sequence().BurnRow, pos < 3 ? 1 : 2);
            r.advance(200);
            EXPECT_EQ(heroPose(r, pos), "body hand_down leg_left_up leg_right_down base");
            EXPECT_FALSE(r.display.isVisible(r.display.item(row, 4)));
        }
    }
}

TEST_F(CycleTest, FlameAtFiveOnTheOtherSideMovesOnAndVanishes) {
    rig.startGame();
    clearFlames();
    rig.display.setVisible(rig.display.flame(1, 5), true);
    rig.moveTo(3);
    rig.advance(kToFirstTick);
    rig.clearSounds();
    tick();
    EXPECT_TRUE(flame(1, 6));
    tick();
    tick();
    EXPECT_TRUE(flame(1, 7));
    tick();
    tick();
    EXPECT_FALSE(flame(1, 7));
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ(game.sequence().BurnRow, 0);
    // Each move in row 1 sounds twice; a flame leaving the screen is not a move.
    EXPECT_EQ(rig.countSound("Beep4"), 4);
}

TEST_F(CycleTest, GameANeverStartsFlamesInTwoFlamePhasesInARow) {
    rig.startGame();
    clearFlames();
    rig.random.script = {0, 1};  // second tick: row 1, started (1 < 2)
    rig.advance(kToFirstTick);
    tick();
    EXPECT_TRUE(flame(1, 1));
    EXPECT_EQ(rig.random.bounds, (std::vector<int>{2, 12}));
    tick();  // item phase: the row-2 item is caught (one draw of 2)
    rig.random.bounds.clear();
    tick();
    EXPECT_TRUE(rig.random.bounds.empty()) << "no draw while a flame stands at 2";
    EXPECT_TRUE(flame(1, 2));
    EXPECT_FALSE(flame(1, 1) || flame(2, 1));

    rig.random.script = {0, 0};  // row 1 chosen, but its flame is at 3: goes to row 2
    tick();
    tick();
    EXPECT_EQ(rig.random.bounds, (std::vector<int>{2, 12}));
    EXPECT_TRUE(flame(1, 3));
    EXPECT_TRUE(flame(2, 1));
    EXPECT_FALSE(flame(1, 1));
}

TEST_F(CycleTest, GameBCanStartAFlameInTheOtherRowInTheNextFlamePhase) {
    rig.startGame(true);
    clearFlames();
    rig.random.script = {0, 2};  // row 1, started (2 < 3)
    rig.advance(kToFirstTick);
    tick();
    EXPECT_TRUE(flame(1, 1));
    tick();  // the row-2 catch draws once
    rig.random.script = {1, 0};
    tick();
    EXPECT_TRUE(flame(1, 2));
    EXPECT_TRUE(flame(2, 1));

    rig.random.script = {0, 0};  // row 1 has a flame at 3 after the advance: refused
    tick();
    tick();
    EXPECT_TRUE(flame(1, 3));
    EXPECT_FALSE(flame(1, 1));
    EXPECT_TRUE(rig.random.script.empty()) << "game B draws in every flame phase";
}

TEST_F(CycleTest, GameADrawsNoFlameWhileEitherRowHasOneJustPastItsStart) {
    for (const int row : {1, 2}) {
        GameRig r;
        r.startGame();
        r.display.Vid_Show_All_Flames(false);
        r.display.setVisible(r.display.flame(row, 1), true);
        r.advance(kToFirstTick);
        r.random.bounds.clear();
        r.advance(r.game.Timer_Game.interval());  // flame phase: 1 -> 2
        EXPECT_TRUE(r.random.bounds.empty()) << "row " << row;
    }
}

TEST_F(CycleTest, SpawnOddsAreTwoInRangeForGameAAndThreeForGameB) {
    for (bool gameB : {false, true}) {
        GameRig r;
        r.startGame(gameB);
        r.display.Vid_Show_All_Flames(false);
        r.random.script = {1, 2};  // row 2, draw 2 of 12
        r.advance(kToFirstTick);
        r.advance(r.game.Timer_Game.interval());
        EXPECT_EQ(r.display.isVisible(r.display.flame(2, 1)), gameB) << "game B " << gameB;
    }
}

TEST_F(CycleTest, GameBAtTheSpawnFloorStartsAFlameInEveryFreeFlamePhase) {
    rig.startGame(true);
    clearFlames();
    rig.random.fallbackHighest = false;  // every draw 0: always row 1, always "start"
    game.Score = 90;                     // SpawnRange 3 from the first tick on
    rig.moveTo(3);                       // out of row 1's way
    rig.advance(kToFirstTick);
    EXPECT_EQ(game.sequence().SpawnRange, 3);
    std::vector<int> started;
    for (int phase = 1; phase <= 4; ++phase) {
        tick();  // flame phase
        if (flame(1, 1)) started.push_back(phase);
        tick();  // item phase
    }
    // Row 1 is free again every third flame phase, when its last flame has passed 3.
    EXPECT_EQ(started, (std::vector<int>{1, 4}));
}

}  // namespace
