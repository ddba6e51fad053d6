// Hero movement with LEFT and RIGHT, the two catch tests and the hand raised after a catch.
#include "core/game/game.h"

using namespace groups;

int Game::catchRow(int heroPos) {
    switch (heroPos) {
        case 1:
            return 1;
        case 2:
        case 3:
            return 2;
        case 4:
            return 3;
        default:
            return 0;
    }
}

void Game::Inp_left_down() {
    show(seg("btn_left_down"));
    if (Playing && !MoveLock && HeroPos > 1) moveHero(-1);
    Gam_Check_Collision_Hand_Item();
}

void Game::Inp_right_down() {
    show(seg("btn_right_down"));
    if (Playing && !MoveLock && HeroPos < 4) moveHero(+1);
    Gam_Check_Collision_Hand_Item();
}

// Either release ends the held move, so a key held down moves the hero only once.
void Game::Inp_left_up() {
    hide(seg("btn_left_down"));
    MoveLock = false;
}

void Game::Inp_right_up() {
    hide(seg("btn_right_down"));
    MoveLock = false;
}

void Game::moveHero(int step) {
    MoveLock = true;
    // A hand that has not risen yet never will: the item stays at 5 for the next item phase.
    HandTimers[HeroPos - 1]->setEnabled(false);
    display_.Vid_Show_Hero(HeroPos, StepPhase, false);
    hide(heroPart(HeroPos, HandUp));
    HeroPos += step;
    display_.Vid_Show_Hero(HeroPos, StepPhase, true);
    sound_.Snd_Play(SoundId::Step);
}

// On the clock or the high-score views a press must not score or start a chance time from
// whatever the last game left behind, so presses reach the catch test only while a game runs
// (start steps, misses and pauses included, where it sees the state as it stands).
void Game::Gam_Check_Collision_Hand_Item() {
    if (GameState != ModeGameA && GameState != ModeGameB) return;
    catchTest(SoundId::Beep2);
}

void Game::Gam_Check_Collision_Item_Hand() {
    catchTest(SoundId::Beep3);
}

void Game::catchTest(SoundId sound) {
    const int r = catchRow(HeroPos);
    if (r == 0 || ItemPos[r - 1] != 5) return;
    ItemTarget[r - 1] = random_.Random(2) + 1;
    Timer& hand = *HandTimers[HeroPos - 1];
    hand.setInterval(80);
    hand.setEnabled(true);
    sound_.Snd_Play(sound);
    Score += CatchPoints;
    display_.Vid_Show_Panel_Score(Score, true);
    Gam_Set_Difficulty();
    Gam_Check_Chance_Time();
}

// First run raises the hand and lifts the item to 4; the second lowers the hand again.
void Game::Timer_Hero_HandTimer(int position) {
    const int r = catchRow(position);
    if (!lit(heroPart(position, HandUp))) {
        hide(heroPart(position, HandDown));
        show(heroPart(position, HandUp));
        hide(display_.item(r, 5));
        show(display_.item(r, 4));
        ItemPos[r - 1] = 4;
    } else {
        hide(heroPart(position, HandUp));
        show(heroPart(HeroPos, HandDown));
        HandTimers[position - 1]->setEnabled(false);
    }
}
