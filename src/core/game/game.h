#pragma once
// The device's firmware: the mode state machine, the game variables, the thirteen sequence timers
// and the button operations. It draws only by showing and hiding segments and setting digit
// pictures, and sounds only through the sound system.
#include <array>
#include <cstdint>

#include "core/display/segment_display.h"
#include "core/game/local_clock.h"
#include "core/game/random.h"
#include "core/game/scheduler.h"
#include "core/sound/sound_system.h"

class SettingsStore;

enum GameState : std::int32_t {
    ModeClosed = 0,
    ModeReset = 1,
    ModeAllSegments = 2,
    ModeAlarmView = 3,
    ModeClock = 4,
    ModeGameAScore = 5,
    ModeGameA = 6,
    ModeGameBScore = 7,
    ModeGameB = 8,
    ModeGameOver = 9,
};

// Everything the game needs from outside, handed over at construction.
struct GameContext {
    SegmentDisplay& display;
    Scheduler& scheduler;
    SoundSystem& sound;
    SettingsStore& settings;
    RandomSource& random;
    const LocalClock& clock;
};

// The variables of the running sequences: written only by the firmware itself.
struct GameSequence {
    std::int32_t HeroPos = 0;
    std::int32_t StepPhase = 0;
    bool Playing = false;
    bool MoveLock = false;
    std::int32_t CatchPoints = 0;
    std::int32_t ChanceThreshold = 0;
    std::int32_t SpawnRange = 0;
    std::int32_t StartStep = 0;
    std::int32_t ChanceStep = 0;
    std::int32_t DropStep = 0;
    std::int32_t MissStep = 0;
    std::int32_t GameOverStep = 0;
    std::int32_t BlinkPhase = 0;
    std::int32_t BurnRow = 0;
};

class Game : private GameSequence {
  public:
    explicit Game(const GameContext& context);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Device buttons: a press and a release each, accepted in any mode any number of times.
    void Inp_open_down();
    void Inp_game_a_down();
    void Inp_game_a_up();
    void Inp_game_b_down();
    void Inp_game_b_up();
    void Inp_time_down();
    void Inp_time_up();
    void Inp_acl_down();
    void Inp_acl_up();
    void Inp_left_down();
    void Inp_left_up();
    void Inp_right_down();
    void Inp_right_up();

    void Gam_Set_Mode();
    void Gam_Stop_All_Timers();
    void Gam_Set_Difficulty();
    void Gam_Check_Chance_Time();
    void Gam_Check_Collision_Hand_Item();
    void Gam_Check_Collision_Item_Hand();

    // Reads HiScore1 and HiScore2 from the store (start-up), each with the in-memory value as
    // default.
    void loadHighScores();
    // Reset Hiscores: both to 0, stored at once; the panel is not redrawn.
    void resetHighScores();

    // The variables a situation is made of: the mode, the score, the misses, the high scores
    // and the items. Tests put the device into a situation through them; the sequences keep
    // their own variables (sequence()).
    std::int32_t GameState = ModeClosed;
    std::int32_t Score = 0;
    std::int32_t HiScore1 = 0;
    std::int32_t HiScore2 = 0;
    std::int32_t Misses = 0;
    std::array<std::int32_t, 3> ItemPos{};
    std::array<std::int32_t, 3> ItemTarget{};

    // Sets the mode and applies it.
    void enterMode(std::int32_t mode) {
        GameState = mode;
        Gam_Set_Mode();
    }

    // The variables only the firmware writes, to read.
    const GameSequence& sequence() const { return *this; }

    // Timers, in creation order (which is also the order of ties).
    Timer& Timer_Game_Start;
    Timer& Timer_Game;
    Timer& Timer_Hero_Hand_1;
    Timer& Timer_Hero_Hand_2;
    Timer& Timer_Hero_Hand_3;
    Timer& Timer_Hero_Hand_4;
    Timer& Timer_Miss_1;
    Timer& Timer_Miss_2;
    Timer& Timer_Miss_3;
    Timer& Timer_Game_Over;
    Timer& Timer_Chance_Time;
    Timer& Timer_Score_Blink;
    Timer& Timer_Clock;
    std::array<Timer*, 4> HandTimers;  // [p-1] for hero position p

    // Timer handlers.
    void Timer_Game_StartTimer();
    void Timer_GameTimer();
    void Timer_Hero_HandTimer(int position);
    void Timer_Miss_1Timer();
    void Timer_Miss_2Timer();
    void Timer_Miss_3Timer();
    void Timer_Game_OverTimer();
    void Timer_Chance_TimeTimer();
    void Timer_Score_BlinkTimer();
    void Timer_ClockTimer();

    SegmentDisplay& display() { return display_; }

  private:
    // Starts a sequence "at once": interval 1, enabled; the first step runs after we return.
    static void startAtOnce(Timer& t) {
        t.setInterval(1);
        t.setEnabled(true);
    }
    void show(SegmentId id) { display_.setVisible(id, true); }
    void hide(SegmentId id) { display_.setVisible(id, false); }
    bool lit(SegmentId id) const { return display_.isVisible(id); }
    void showClockDigits(int h, int m);
    void setLit(SegmentId id, bool on) { display_.setVisible(id, on); }
    SegmentId heroPart(int p, groups::HeroPart part) const { return display_.hero(p, part); }

    // Game cycle (game_cycle.cpp).
    void lightHeroPose(int p, groups::HeroPart hand, groups::HeroPart leftLeg,
                       groups::HeroPart rightLeg);
    void itemPhase();
    void flamePhase();
    void advanceFlames();
    void startNewFlame();
    void placeFreshItems();

    // Movement and catching (game_catch.cpp).
    // Item row caught at a hero position: 1 for 1, 2 for 2 and 3, 3 for 4; 0 for none.
    static int catchRow(int heroPos);
    void moveHero(int step);
    void catchTest(SoundId sound);

    // Misses (game_miss.cpp): step 13 of the miss animation.
    void countMiss();

    SegmentDisplay& display_;
    Scheduler& scheduler_;
    SoundSystem& sound_;
    SettingsStore& settings_;
    RandomSource& random_;
    const LocalClock& clock_;
};
