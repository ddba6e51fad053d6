// Whole games in virtual time, played by scripted players through the device buttons only.
#include <gtest/gtest.h>

#include "support/game_rig.h"

namespace {

// Watches the screen state between ticks and walks under each item before it drops, keeping
// off the side of a flame about to burn.
class CatchingPlayer {
  public:
    explicit CatchingPlayer(GameRig& rig) : rig_(rig), game_(rig.game) {}

    void act() {
        if (!game_.sequence().Playing) return;
        const bool flamePhaseNext = game_.sequence().StepPhase % 2 == 0;
        // An item left at the hand drops at the next item phase: step under it now.
        for (int r = 1; r <= 3; ++r)
            if (game_.ItemPos[r - 1] == 5 && game_.ItemTarget[r - 1] == 6) rig_.moveTo(under(r));
        int want = game_.sequence().HeroPos;
        if (!flamePhaseNext) {
            for (int r = 1; r <= 3; ++r)
                if (game_.ItemPos[r - 1] == 4 && game_.ItemTarget[r - 1] == 6) want = under(r);
        } else if (!safe(want)) {
            for (int p : {want - 1, want + 1, want - 2, want + 2, 1, 4})
                if (p >= 1 && p <= 4 && safe(p)) {
                    want = p;
                    break;
                }
        }
        rig_.moveTo(want);
    }

  private:
    bool safe(int p) const {
        const int side = p <= 2 ? 1 : 2;
        return !rig_.display.isVisible(rig_.display.flame(side, 5));
    }
    // The position catching a row; for row 2 the one of 2 and 3 nearer to the hero and safe.
    int under(int row) const {
        if (row == 1) return 1;
        if (row == 3) return 4;
        const int nearer = game_.sequence().HeroPos >= 3 ? 3 : 2;
        return safe(nearer) ? nearer : 5 - nearer;
    }

    GameRig& rig_;
    Game& game_;
};

class PlayerTest : public ::testing::TestWithParam<bool> {
  protected:
    bool gameB() const { return GetParam(); }
    std::int32_t playMode() const { return gameB() ? ModeGameB : ModeGameA; }
    void runUntil(const std::function<bool()>& done, std::int64_t limitMs, bool play) {
        CatchingPlayer player(rig);
        for (std::int64_t t = 0; t < limitMs && !done(); t += 5) {
            if (play) player.act();
            rig.advance(5);
        }
    }
    GameRig rig;
    Game& game = rig.game;
};

TEST_P(PlayerTest, PlayerWhoNeverMovesLosesAfterThreeMissesAndTheDeviceEndsOnTheClock) {
    rig.random.useSeed(7);
    rig.clock.set(21, 5);
    rig.startGame(gameB());
    std::int64_t elapsed = 0;
    std::int64_t gameOverAt = -1;
    int missesSeen = 0;
    while (game.GameState != ModeClock && elapsed < 600'000) {
        rig.advance(10);
        elapsed += 10;
        if (game.Misses > missesSeen) missesSeen = game.Misses;
        if (gameOverAt < 0 && game.GameState == ModeGameOver) gameOverAt = elapsed;
        if (game.GameState == playMode()) {
            EXPECT_LE(game.Misses, 3);
        }
    }
    ASSERT_EQ(game.GameState, ModeClock);
    EXPECT_EQ(missesSeen, 3);
    EXPECT_EQ(rig.countSound("Gameover"), 1);
    EXPECT_EQ(rig.countSound("Chance"), 0);
    // The game-over sequence shows for 3.8 s plus 373 steps of 0.8 s.
    EXPECT_NEAR(static_cast<double>(elapsed - gameOverAt), 373 * 800, 20);
    rig.advance(1);
    EXPECT_EQ(rig.panel(), " 905");
    EXPECT_TRUE(rig.lit("im_panel_time_pm"));

    // Standing at 2 catches the middle row now and then: that score is the new record.
    EXPECT_GT(game.Score, 0);
    const char* key = gameB() ? "HiScore2" : "HiScore1";
    EXPECT_EQ(rig.backend.values[key], std::to_string(game.Score));
}

TEST_P(PlayerTest, CatchingPlayerReachesChanceTimeAndEarnsTheBonus) {
    rig.random.useSeed(gameB() ? 12 : 11);
    rig.startGame(gameB());
    runUntil([&] { return game.Timer_Chance_Time.enabled() || game.Misses == 3; }, 1'800'000, true);
    ASSERT_TRUE(game.Timer_Chance_Time.enabled()) << "score " << game.Score;
    EXPECT_GE(game.Score, 300);
    EXPECT_EQ(game.GameState, playMode());
    const int missesBefore = game.Misses;
    rig.advance(3801);
    EXPECT_EQ(rig.countSound("Chance"), 1);
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ(game.Misses, 0);
    EXPECT_EQ(game.sequence().CatchPoints, missesBefore == 0 ? 2 : 1);
    EXPECT_EQ(game.Timer_Score_Blink.enabled(), missesBefore == 0);

    // Keep playing a while: with the bonus every catch adds two.
    const std::int32_t before = game.Score;
    runUntil([&] { return game.Score >= before + 20 || !game.sequence().Playing; }, 120'000, true);
    EXPECT_EQ(missesBefore, 0) << "this player catches everything on its way to 300";
    EXPECT_TRUE(game.sequence().Playing);
    EXPECT_EQ((game.Score - before) % 2, 0);

    // Then stop playing: the game ends on its own and the record is stored modulo 1000.
    runUntil([&] { return game.GameState == ModeClock; }, 1'200'000, false);
    ASSERT_EQ(game.GameState, ModeClock);
    EXPECT_LT(game.Score, 1000);
    const char* key = gameB() ? "HiScore2" : "HiScore1";
    EXPECT_EQ(rig.backend.values[key], std::to_string(game.Score));
}

INSTANTIATE_TEST_SUITE_P(GamesAAndB, PlayerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "GameB" : "GameA"; });

}  // namespace
