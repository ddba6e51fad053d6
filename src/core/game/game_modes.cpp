// The mode state machine: button operations, Gam_Set_Mode and stopping the timers.
#include "core/game/game.h"
#include "core/settings_store.h"

Game::Game(const GameContext& c)
    : Timer_Game_Start(
          c.scheduler.createTimer("Timer_Game_Start", [this] { Timer_Game_StartTimer(); })),
      Timer_Game(c.scheduler.createTimer("Timer_Game", [this] { Timer_GameTimer(); })),
      Timer_Hero_Hand_1(
          c.scheduler.createTimer("Timer_Hero_Hand_1", [this] { Timer_Hero_HandTimer(1); })),
      Timer_Hero_Hand_2(
          c.scheduler.createTimer("Timer_Hero_Hand_2", [this] { Timer_Hero_HandTimer(2); })),
      Timer_Hero_Hand_3(
          c.scheduler.createTimer("Timer_Hero_Hand_3", [this] { Timer_Hero_HandTimer(3); })),
      Timer_Hero_Hand_4(
          c.scheduler.createTimer("Timer_Hero_Hand_4", [this] { Timer_Hero_HandTimer(4); })),
      Timer_Miss_1(c.scheduler.createTimer("Timer_Miss_1", [this] { Timer_Miss_1Timer(); })),
      Timer_Miss_2(c.scheduler.createTimer("Timer_Miss_2", [this] { Timer_Miss_2Timer(); })),
      Timer_Miss_3(c.scheduler.createTimer("Timer_Miss_3", [this] { Timer_Miss_3Timer(); })),
      Timer_Game_Over(
          c.scheduler.createTimer("Timer_Game_Over", [this] { Timer_Game_OverTimer(); })),
      Timer_Chance_Time(
          c.scheduler.createTimer("Timer_Chance_Time", [this] { Timer_Chance_TimeTimer(); })),
      Timer_Score_Blink(
          c.scheduler.createTimer("Timer_Score_Blink", [this] { Timer_Score_BlinkTimer(); })),
      Timer_Clock(c.scheduler.createTimer("Timer_Clock", [this] { Timer_ClockTimer(); })),
      HandTimers{&Timer_Hero_Hand_1, &Timer_Hero_Hand_2, &Timer_Hero_Hand_3, &Timer_Hero_Hand_4},
      display_(c.display),
      scheduler_(c.scheduler),
      sound_(c.sound),
      settings_(c.settings),
      random_(c.random),
      clock_(c.clock) {}

void Game::loadHighScores() {
    HiScore1 = settings_.ReadInteger("HiScore1", HiScore1);
    HiScore2 = settings_.ReadInteger("HiScore2", HiScore2);
}

void Game::resetHighScores() {
    HiScore1 = 0;
    settings_.WriteInteger("HiScore1", 0);
    HiScore2 = 0;
    settings_.WriteInteger("HiScore2", 0);
}

void Game::Inp_open_down() {
    hide(seg("btn_open"));
    hide(seg("im_background_front"));
    show(seg("im_background_back"));
    show(seg("im_background_screen_top"));
    enterMode(ModeAllSegments);
}

namespace {
bool acceptsStartButtons(std::int32_t mode) {
    return mode == ModeAllSegments || mode == ModeClock || mode == ModeGameOver;
}
}  // namespace

void Game::Inp_game_a_down() {
    show(seg("btn_game_a_down"));
    if (acceptsStartButtons(GameState)) enterMode(ModeGameAScore);
}

void Game::Inp_game_a_up() {
    hide(seg("btn_game_a_down"));
    if (GameState == ModeGameAScore) enterMode(ModeGameA);
}

void Game::Inp_game_b_down() {
    show(seg("btn_game_b_down"));
    if (acceptsStartButtons(GameState)) enterMode(ModeGameBScore);
}

void Game::Inp_game_b_up() {
    hide(seg("btn_game_b_down"));
    if (GameState == ModeGameBScore) enterMode(ModeGameB);
}

void Game::Inp_time_down() {
    show(seg("btn_time_down"));
    if (acceptsStartButtons(GameState)) enterMode(ModeAlarmView);
}

void Game::Inp_time_up() {
    hide(seg("btn_time_down"));
    if (GameState == ModeAlarmView) enterMode(ModeClock);
}

void Game::Inp_acl_down() {
    show(seg("btn_acl_down"));
    if (GameState != ModeClosed) enterMode(ModeReset);
}

void Game::Inp_acl_up() {
    hide(seg("btn_acl_down"));
    if (GameState == ModeReset) enterMode(ModeAllSegments);
}

void Game::Gam_Stop_All_Timers() {
    Timer_Chance_Time.setEnabled(false);
    Timer_Clock.setEnabled(false);
    Timer_Game.setEnabled(false);
    Timer_Game_Over.setEnabled(false);
    Timer_Game_Start.setEnabled(false);
    Timer_Miss_1.setEnabled(false);
    Timer_Miss_2.setEnabled(false);
    Timer_Miss_3.setEnabled(false);
    Timer_Score_Blink.setEnabled(false);
    for (Timer* t : HandTimers) t->setEnabled(false);
}

void Game::Gam_Set_Mode() {
    switch (GameState) {
        case ModeReset:
            Gam_Stop_All_Timers();
            display_.Vid_Show_All(false);
            sound_.Snd_Silence();
            Playing = false;
            break;
        case ModeAllSegments:
            display_.Vid_Show_All(true);
            break;
        case ModeAlarmView:
            Gam_Stop_All_Timers();
            display_.Vid_Show_All(false);
            show(seg("im_game_background"));
            show(seg("im_character_2_1"));
            show(seg("im_panel_time_pm"));
            show(seg("im_panel_time_colon"));
            display_.setDigit(1, 1);
            display_.setDigit(2, 2);
            display_.setDigit(3, 0);
            display_.setDigit(4, 0);
            break;
        case ModeClock:
            Gam_Stop_All_Timers();
            display_.Vid_Show_All(false);
            show(seg("im_game_background"));
            show(seg("im_panel_time_colon"));
            show(seg("im_character_2_1"));
            startAtOnce(Timer_Clock);
            break;
        case ModeGameAScore:
            Gam_Stop_All_Timers();
            display_.Vid_Show_All(false);
            show(seg("im_panel_game_a"));
            display_.Vid_Show_Panel_Score(HiScore1, true);
            break;
        case ModeGameBScore:
            Gam_Stop_All_Timers();
            display_.Vid_Show_All(false);
            show(seg("im_panel_game_b"));
            display_.Vid_Show_Panel_Score(HiScore2, true);
            break;
        case ModeGameA:
        case ModeGameB:
            Gam_Stop_All_Timers();
            show(seg("im_game_background"));
            show(seg("im_character_2_1"));
            Misses = 0;
            Score = 0;
            display_.Vid_Show_Panel_Score(Score, true);
            CatchPoints = 1;
            ChanceThreshold = 300;
            Gam_Set_Difficulty();
            StartStep = 1;
            startAtOnce(Timer_Game_Start);
            break;
        case ModeClosed:
        case ModeGameOver:
        default:
            break;
    }
}
