// Moving the hero with LEFT and RIGHT, both catch tests and the hand raised after a catch.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

using Sounds = std::vector<std::string>;

class CatchTest : public ::testing::Test {
  protected:
    // Called right after the start sequence: the first tick (an item phase) is 275 ms away.
    void toFirstTick() { rig.advance(275); }
    void catchRow2AtTheFirstTick() {
        placeItems(rig, {3, 4, 1}, {1, 6, 6});
        rig.clearSounds();
        toFirstTick();
        ASSERT_EQ(game.Score, 1);
    }
    GameRig rig;
    Game& game = rig.game;
};

TEST_F(CatchTest, PressAtTheEdgeDoesNotMoveButStillRunsTheCatchTest) {
    rig.startGame();
    rig.moveTo(1);
    placeItems(rig, {5, 3, 1}, {6, 6, 6});
    rig.clearSounds();
    rig.pressLeft();
    EXPECT_EQ(game.sequence().HeroPos, 1);
    EXPECT_EQ(rig.sounds(), Sounds{"Beep2"});
    EXPECT_EQ(game.Score, 1);
    EXPECT_EQ(rig.panel(), "   1");
    EXPECT_EQ(game.ItemTarget[0], 2) << "sent back to the top: Random(2) + 1";
    EXPECT_TRUE(game.Timer_Hero_Hand_1.enabled());

    rig.moveTo(4);
    placeItems(rig, {3, 3, 5}, {6, 6, 6});
    rig.random.script = {0};
    rig.clearSounds();
    rig.pressRight();
    EXPECT_EQ(game.sequence().HeroPos, 4);
    EXPECT_EQ(rig.sounds(), Sounds{"Beep2"});
    EXPECT_EQ(game.ItemTarget[2], 1);
}

TEST_F(CatchTest, HeldKeyMovesOnceAndMovesAgainOnlyWhenPressedAgain) {
    rig.startGame();
    game.Inp_right_down();
    EXPECT_EQ(game.sequence().HeroPos, 3);
    game.Inp_right_down();  // the key repeats while held
    EXPECT_EQ(game.sequence().HeroPos, 3);
    game.Inp_left_down();
    EXPECT_EQ(game.sequence().HeroPos, 3) << "the other key is locked too";
    game.Inp_left_up();  // releasing LEFT clears the lock; RIGHT is still held
    EXPECT_FALSE(game.sequence().MoveLock);
    EXPECT_EQ(game.sequence().HeroPos, 3);
    EXPECT_TRUE(rig.lit("btn_right_down"));
    game.Inp_right_down();  // a new press of RIGHT
    EXPECT_EQ(game.sequence().HeroPos, 4);
    EXPECT_EQ(rig.countSound("Step"), 2);
    // Its release never comes (another window took it): the next game frees the hero anyway.
    game.Inp_acl_down();
    game.Inp_acl_up();
    rig.startGame();
    game.Inp_left_down();
    EXPECT_EQ(game.sequence().HeroPos, 1);
}

TEST_F(CatchTest, MovingRedrawsTheHeroAtTheNewPositionWithTheHandDown) {
    rig.startGame();
    game.Inp_left_down();
    EXPECT_EQ(heroPose(rig, 2), "");
    EXPECT_EQ(heroPose(rig, 1), "body hand_down leg_left_down leg_right_up base");
    // A hand raised after a catch stays behind with nothing else.
    game.Inp_left_up();
    rig.pressRight();
    catchRow2AtTheFirstTick();
    rig.advance(80);
    ASSERT_TRUE(rig.lit("im_hero_2_hand_up"));
    game.Inp_left_down();
    EXPECT_EQ(heroPose(rig, 2), "");
}

TEST_F(CatchTest, MovingUnderAnItemAtFiveCatchesItRightAfterTheStep) {
    rig.startGame();
    rig.moveTo(1);
    placeItems(rig, {3, 5, 1}, {6, 6, 6});
    rig.clearSounds();
    rig.pressRight();
    EXPECT_EQ(game.sequence().HeroPos, 2);
    EXPECT_EQ(rig.sounds(), (Sounds{"Step", "Beep2"}));
    EXPECT_EQ(game.Score, 1);
}

TEST_F(CatchTest, ItemArrivingAboveTheHeroIsCaughtAndLiftedByTheHand) {
    rig.startGame();
    catchRow2AtTheFirstTick();
    EXPECT_EQ(rig.sounds(), (Sounds{"Beep1", "Beep3"}));
    EXPECT_TRUE(rig.lit("im_item_2_5"));
    EXPECT_EQ(game.Timer_Hero_Hand_2.interval(), 80);

    rig.advance(79);
    EXPECT_FALSE(rig.lit("im_hero_2_hand_up"));
    rig.advance(1);
    EXPECT_TRUE(rig.lit("im_hero_2_hand_up"));
    EXPECT_FALSE(rig.lit("im_hero_2_hand_down"));
    EXPECT_TRUE(rig.lit("im_item_2_4"));
    EXPECT_FALSE(rig.lit("im_item_2_5"));
    EXPECT_EQ(game.ItemPos[1], 4);
    EXPECT_TRUE(game.Timer_Hero_Hand_2.enabled());

    rig.advance(80);
    EXPECT_FALSE(rig.lit("im_hero_2_hand_up"));
    EXPECT_TRUE(rig.lit("im_hero_2_hand_down"));
    EXPECT_FALSE(game.Timer_Hero_Hand_2.enabled());

    rig.advance(game.Timer_Game.interval() * 2 - 160);  // next item phase: on up the arc
    EXPECT_EQ(game.ItemPos[1], 3);
}

TEST_F(CatchTest, MovingAwayBeforeTheHandRisesKeepsThePointAndLeavesTheItemAtFive) {
    rig.startGame();
    catchRow2AtTheFirstTick();
    rig.advance(40);
    rig.pressLeft();
    EXPECT_FALSE(game.Timer_Hero_Hand_2.enabled());
    rig.advance(200);
    EXPECT_FALSE(rig.lit("im_hero_2_hand_up"));
    EXPECT_FALSE(rig.lit("im_hero_1_hand_up"));
    EXPECT_TRUE(rig.lit("im_item_2_5"));
    EXPECT_EQ(game.ItemPos[1], 5);
    EXPECT_EQ(game.Score, 1);
    rig.advance(game.Timer_Game.interval() * 2 - 240);
    EXPECT_EQ(game.ItemPos[1], 4) << "the next item phase carries it upward";
    EXPECT_TRUE(game.sequence().Playing);
}

TEST_F(CatchTest, MovingAcrossRowTwoWithin80MsCatchesTheSameItemAgain) {
    rig.startGame();
    catchRow2AtTheFirstTick();
    rig.advance(40);
    rig.clearSounds();
    rig.pressRight();
    EXPECT_EQ(rig.sounds(), (Sounds{"Step", "Beep2"}));
    EXPECT_EQ(game.Score, 2);
    EXPECT_FALSE(game.Timer_Hero_Hand_2.enabled());
    EXPECT_TRUE(game.Timer_Hero_Hand_3.enabled());
    rig.advance(80);
    EXPECT_TRUE(rig.lit("im_hero_3_hand_up"));
    EXPECT_TRUE(rig.lit("im_item_2_4"));
    rig.pressLeft();  // the item is at 4 now: nothing more to catch
    EXPECT_EQ(game.Score, 2);
}

TEST_F(CatchTest, PressAtTheEdgeWithin80MsScoresTheSameItemAgainWithoutDelayingTheHand) {
    rig.startGame();
    rig.moveTo(4);
    placeItems(rig, {3, 3, 4}, {1, 6, 6});
    toFirstTick();
    ASSERT_EQ(game.Score, 1);
    rig.advance(40);
    rig.pressRight();
    EXPECT_EQ(game.Score, 2);
    rig.advance(40);
    EXPECT_TRUE(rig.lit("im_hero_4_hand_up")) << "the running hand timer was not restarted";
    EXPECT_TRUE(rig.lit("im_item_3_4"));
}

TEST_F(CatchTest, PressesOutsideAGameNeverScoreFromWhatTheLastGameLeft) {
    rig.startGame();
    game.Inp_acl_down();
    game.Inp_acl_up();
    game.ItemPos = {5, 5, 5};  // left over at the hand of every position
    const auto pressBoth = [&] {
        rig.pressLeft();
        rig.pressRight();
    };
    pressBoth();
    game.Inp_time_down();
    pressBoth();
    game.Inp_time_up();
    rig.advance(1);
    pressBoth();
    game.Inp_game_b_down();
    pressBoth();
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(rig.countSound("Beep2"), 0);
    EXPECT_EQ(game.sequence().HeroPos, 2);
    for (const Timer* t : game.HandTimers) EXPECT_FALSE(t->enabled());
    EXPECT_EQ(game.ItemTarget, (std::array<std::int32_t, 3>{1, 6, 6}));

    // Within a game the test runs after every press, on the state as it stands, even before
    // play begins.
    game.Inp_game_b_up();
    rig.advance(1);
    rig.pressLeft();
    EXPECT_EQ(game.sequence().HeroPos, 2) << "no moving during the start steps";
    EXPECT_EQ(rig.countSound("Beep2"), 1);
    EXPECT_EQ(game.Score, 1);
}

TEST_F(CatchTest, NoCatchRowBeforeTheFirstGame) {
    rig.open();
    game.GameState = ModeGameA;  // as during the first start steps: HeroPos is still 0
    game.ItemPos = {5, 5, 5};
    rig.pressLeft();
    rig.pressRight();
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(game.sequence().HeroPos, 0);
}

}  // namespace
