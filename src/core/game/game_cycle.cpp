// The start sequence and the game tick: items along their arcs, flames along their rows, and the
// detection of both kinds of miss.
#include "core/game/game.h"

using namespace groups;

void Game::lightHeroPose(int p, HeroPart hand, HeroPart leftLeg, HeroPart rightLeg) {
    show(heroPart(p, Body));
    show(heroPart(p, hand));
    show(heroPart(p, leftLeg));
    show(heroPart(p, rightLeg));
    show(heroPart(p, Base));
}

// One item per row, two falling and one rising, and a first flame at the top of row 1.
void Game::placeFreshItems() {
    ItemPos = {3, 3, 1};
    display_.Vid_Show_Items(ItemPos);
    ItemTarget = {1, 6, 6};
    show(display_.flame(1, 1));
}

void Game::Timer_Game_StartTimer() {
    switch (StartStep) {
        case 1:
            sound_.Snd_Play(SoundId::Start);
            Timer_Game_Start.setInterval(300);
            break;
        case 2:
            lightHeroPose(1, HandDown, LegLeftDown, LegRightUp);
            Timer_Game_Start.setInterval(375);
            break;
        case 3:
            display_.Vid_Show_All_Hero(false);
            lightHeroPose(2, HandDown, LegLeftDown, LegRightUp);
            break;
        case 4:
            display_.Vid_Show_All_Hero(false);
            lightHeroPose(3, HandDown, LegLeftUp, LegRightDown);
            break;
        case 5:
            display_.Vid_Show_All_Hero(false);
            lightHeroPose(4, HandUp, LegLeftDown, LegRightDown);
            break;
        case 6:
            display_.Vid_Show_All_Hero(false);
            lightHeroPose(3, HandDown, LegLeftUp, LegRightDown);
            break;
        case 7:
            display_.Vid_Show_All_Hero(false);
            lightHeroPose(2, HandUp, LegLeftDown, LegRightDown);
            break;
        case 8:
            hide(heroPart(2, HandUp));
            hide(heroPart(2, LegRightDown));
            show(heroPart(2, HandDown));
            show(heroPart(2, LegRightUp));
            StepPhase = 1;
            // The first tick falls 275 ms after the last start step: the tick counts from here.
            Timer_Game.setInterval(650);
            Timer_Game.setEnabled(true);
            break;
        case 9:
            placeFreshItems();
            HeroPos = 2;
            Playing = true;
            MoveLock = false;
            Timer_Game_Start.setEnabled(false);
            break;
        default:
            break;
    }
    ++StartStep;
}

void Game::Timer_GameTimer() {
    display_.Vid_Show_Hero(HeroPos, StepPhase, true);
    if (StepPhase % 2 != 0)
        itemPhase();
    else
        flamePhase();
    // Also after a miss began: the resumed tick uses the interval set here.
    Gam_Set_Difficulty();
    StepPhase = StepPhase + 1;
    if (StepPhase == 3) StepPhase = 1;
}

void Game::itemPhase() {
    for (int r = 1; r <= kItemRows; ++r) {
        std::int32_t& pos = ItemPos[r - 1];
        std::int32_t& target = ItemTarget[r - 1];
        if (target == pos) {
            // At the top of the arc: stay for this phase, then fall.
            target = 6;
            continue;
        }
        hide(display_.item(r, pos));
        pos += target > pos ? 1 : -1;
        show(display_.item(r, pos));
    }
    sound_.Snd_Play(SoundId::Beep1);

    bool dropped = false;
    for (std::int32_t pos : ItemPos) dropped = dropped || pos == 6;
    if (!dropped) {
        Gam_Check_Collision_Item_Hand();
        return;
    }
    // A dropped item ends this phase; an item that arrived above the hero is not caught.
    Gam_Stop_All_Timers();
    Playing = false;
    display_.Vid_Show_Panel_Score(Score, true);
    display_.Vid_Show_All_Flames(false);
    for (int r = 1; r <= kItemRows; ++r)
        for (int k = 1; k <= 5; ++k) hide(display_.item(r, k));
    sound_.Snd_Silence();
    sound_.Snd_Play(SoundId::Miss1);
    BurnRow = 0;
    DropStep = 1;
    startAtOnce(Timer_Miss_1);
}

void Game::flamePhase() {
    // The burn is decided on the flames as they stand, before they advance.
    BurnRow = 0;
    if (lit(display_.flame(1, 5)) && HeroPos < 3) BurnRow = 1;
    if (lit(display_.flame(2, 5)) && HeroPos > 2) BurnRow = 2;
    if (BurnRow == 0) {
        advanceFlames();
        startNewFlame();
        return;
    }
    Gam_Stop_All_Timers();
    Playing = false;
    display_.Vid_Show_Panel_Score(Score, true);
    display_.Vid_Show_All_Items(false);
    display_.Vid_Show_All_Flames(false);
    show(display_.flame(BurnRow, 5));
    hide(heroPart(HeroPos, HandUp));
    show(heroPart(HeroPos, HandDown));
    sound_.Snd_Silence();
    sound_.Snd_Play(SoundId::Miss3);
    MissStep = 1;
    startAtOnce(Timer_Miss_3);
}

void Game::advanceFlames() {
    // Not cleared between the rows: a move in row 1 sounds after both rows.
    bool moved = false;
    for (int f = 1; f <= kFlameRows; ++f) {
        hide(display_.flame(f, kRowPositions));
        for (int k = kRowPositions - 1; k >= 1; --k) {
            if (!lit(display_.flame(f, k))) continue;
            show(display_.flame(f, k + 1));
            hide(display_.flame(f, k));
            moved = true;
        }
        if (moved) sound_.Snd_Play(SoundId::Beep4);
    }
}

void Game::startNewFlame() {
    const auto flameLit = [this](int f, int k) { return lit(display_.flame(f, k)); };
    if (GameState == ModeGameA) {
        if (flameLit(1, 1) != flameLit(1, 2) || flameLit(2, 1) != flameLit(2, 2)) return;
        int f = random_.Random(2) + 1;
        if (random_.Random(SpawnRange) >= 2) return;
        if (f == 1 && flameLit(1, 3))
            f = 2;
        else if (f == 2 && flameLit(2, 3))
            f = 1;
        show(display_.flame(f, 1));
    } else if (GameState == ModeGameB) {
        const int f = random_.Random(2) + 1;
        if (random_.Random(SpawnRange) >= 3) return;
        if (flameLit(f, 1) == flameLit(f, 2) && flameLit(f, 2) == flameLit(f, 3))
            show(display_.flame(f, 1));
    }
}
