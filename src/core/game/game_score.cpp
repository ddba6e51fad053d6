// Score-driven pace and flame odds, the chance-time pause and the blinking bonus score.
#include <algorithm>

#include "core/game/game.h"

// A saw-tooth: faster and fiercer within each hundred, eased again at every new hundred.
void Game::Gam_Set_Difficulty() {
    const std::int32_t hundreds = Score / 100;
    const std::int32_t tens = (Score - 100 * hundreds) / 10;
    SpawnRange = std::max<std::int32_t>(3, 12 - hundreds - tens);
    Timer_Game.setInterval(std::max<std::int32_t>(320, 650 - 24 * (hundreds + tens)));
}

void Game::Gam_Check_Chance_Time() {
    if (Score < ChanceThreshold) return;
    // A catch of a left-over item while a miss or the end of the game is being shown must not
    // restart play under that sequence; the chance time comes with the next catch in play.
    if (!Playing) return;
    Timer_Game.setEnabled(false);
    sound_.Snd_Silence();
    Playing = false;
    ChanceThreshold += 1000;
    ChanceStep = 1;
    startAtOnce(Timer_Chance_Time);
}

void Game::Timer_Chance_TimeTimer() {
    switch (ChanceStep) {
        case 1:
            sound_.Snd_Play(SoundId::Chance);
            Timer_Chance_Time.setInterval(3800);
            break;
        case 2:
            // The bonus is for a clean run; a bonus already blinking keeps its rhythm.
            if (Misses == 0) {
                CatchPoints = 2;
                BlinkPhase = 1;
                Timer_Score_Blink.setInterval(500);
                Timer_Score_Blink.setEnabled(true);
            }
            Misses = 0;
            display_.Vid_Show_Panel_Miss(0);
            Playing = true;
            Timer_Game.setEnabled(true);
            Timer_Chance_Time.setEnabled(false);
            break;
        default:
            break;
    }
    ++ChanceStep;
}

void Game::Timer_Score_BlinkTimer() {
    display_.Vid_Show_Panel_Score(Score, BlinkPhase % 2 == 0);
    BlinkPhase = BlinkPhase + 1;
    if (BlinkPhase == 3) BlinkPhase = 1;
}
