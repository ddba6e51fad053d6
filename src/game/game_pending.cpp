// Temporary: the rules of play are being written in game_cycle.cpp, game_catch.cpp,
// game_miss.cpp and game_score.cpp; each definition here is removed when its real one lands.
#include "game/game.h"

void Game::Gam_Set_Difficulty() {}
void Game::Gam_Check_Chance_Time() {}
void Game::Gam_Check_Collision_Hand_Item() {}
void Game::Gam_Check_Collision_Item_Hand() {}
void Game::Inp_left_down() {}
void Game::Inp_left_up() {}
void Game::Inp_right_down() {}
void Game::Inp_right_up() {}
void Game::Timer_Game_StartTimer() {}
void Game::Timer_GameTimer() {}
void Game::Timer_Hero_HandTimer(int) {}
void Game::Timer_Miss_1Timer() {}
void Game::Timer_Miss_2Timer() {}
void Game::Timer_Miss_3Timer() {}
void Game::Timer_Game_OverTimer() {}
void Game::Timer_Chance_TimeTimer() {}
void Game::Timer_Score_BlinkTimer() {}
