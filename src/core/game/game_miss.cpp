// After a miss: the dropped item falls, the hero walks to the edge, the miss animation and count,
// and after the third miss the game-over sequence with the high-score update.
#include <array>

#include "core/game/game.h"
#include "core/settings_store.h"

using namespace groups;

namespace {
// Parts changed by one step of the miss animation.
enum MissPart : unsigned {
    LLU = 1u << 0,  // hero(HeroPos).leg_left_up
    LLD = 1u << 1,
    LRU = 1u << 2,
    LRD = 1u << 3,
    C1 = 1u << 4,  // im_character_2_1
    C2 = 1u << 5,
};
enum FlameAction { FlameHide, FlameLight };

struct MissFrame {
    unsigned hide;
    unsigned light;
    FlameAction flame;  // the burning flame, when there is one
};

// Steps 2 to 12 of Timer_Miss_3: legs kicking, the second figure waving, the flame flickering.
constexpr std::array<MissFrame, 11> kMissFrames{{
    {LLD | LRD | C1, LLU | LRU | C2, FlameHide},
    {LLU | LRU, LLD | LRD, FlameLight},
    {LRD | C2, LRU | C1, FlameHide},
    {LRU, LRD, FlameLight},
    {LLD | C1, LLU | C2, FlameHide},
    {LLU, LLD, FlameLight},
    {LLD | LRD | C2, LLU | LRU | C1, FlameHide},
    {LLU | LRU, LLD | LRD, FlameLight},
    {LRD | C1, LRU | C2, FlameHide},
    {LRU, LRD, FlameLight},
    {C2, C1, FlameHide},
}};
}  // namespace

void Game::Timer_Miss_1Timer() {
    switch (DropStep) {
        case 1:
            Timer_Miss_1.setInterval(280);
            break;
        case 2:
            for (int r = 1; r <= kItemRows; ++r) {
                setLit(display_.item(r, 7), lit(display_.item(r, 6)));
                hide(display_.item(r, 6));
            }
            Timer_Miss_2.setInterval(1600);
            Timer_Miss_2.setEnabled(true);
            Timer_Miss_1.setEnabled(false);
            break;
        default:
            break;
    }
    ++DropStep;
}

void Game::Timer_Miss_2Timer() {
    if (HeroPos < 4) {
        sound_.Snd_Silence();
        sound_.Snd_Play(SoundId::Step);
        display_.Vid_Show_All_Hero(false);
        HeroPos = HeroPos + 1;
        lightHeroPose(HeroPos, HandDown, LegLeftDown, LegRightDown);
    } else {
        sound_.Snd_Play(SoundId::Miss2);
        MissStep = 1;
        startAtOnce(Timer_Miss_3);
        Timer_Miss_2.setEnabled(false);
    }
    Timer_Miss_2.setInterval(488);
}

void Game::Timer_Miss_3Timer() {
    const int s = MissStep;
    if (s == 1) {
        Timer_Miss_3.setInterval(200);
    } else if (s >= 2 && s <= 12) {
        const MissFrame& frame = kMissFrames[s - 2];
        const std::array<std::pair<MissPart, SegmentId>, 6> parts{{
            {LLU, heroPart(HeroPos, LegLeftUp)},
            {LLD, heroPart(HeroPos, LegLeftDown)},
            {LRU, heroPart(HeroPos, LegRightUp)},
            {LRD, heroPart(HeroPos, LegRightDown)},
            {C1, seg("im_character_2_1")},
            {C2, seg("im_character_2_2")},
        }};
        for (const auto& [bit, id] : parts)
            if (frame.hide & bit) hide(id);
        for (const auto& [bit, id] : parts)
            if (frame.light & bit) show(id);
        if (BurnRow != 0) setLit(display_.flame(BurnRow, 5), frame.flame == FlameLight);
        if (s == 12) Timer_Miss_3.setInterval(600);
    } else if (s == 13) {
        countMiss();
    }
    ++MissStep;
}

void Game::countMiss() {
    Misses = Misses + 1;
    display_.Vid_Show_Panel_Miss(Misses);
    if (Misses >= 3) {
        sound_.Snd_Play(SoundId::Gameover);
        GameOverStep = 1;
        Timer_Game_Over.setInterval(3800);
        Timer_Game_Over.setEnabled(true);
    } else {
        hide(heroPart(HeroPos, LegRightDown));
        show(heroPart(HeroPos, LegRightUp));
        placeFreshItems();
        CatchPoints = 1;
        Playing = true;
        StepPhase = 1;
        Timer_Game.setEnabled(true);
    }
    Timer_Miss_3.setEnabled(false);
}

void Game::Timer_Game_OverTimer() {
    const int s = GameOverStep;
    if (s == 1) {
        // Only the shown three digits count; a stored score can never exceed 999.
        if (Score >= 1000) Score %= 1000;
        if (GameState == ModeGameA && Score > HiScore1) {
            HiScore1 = Score;
            settings_.WriteInteger("HiScore1", HiScore1);
        }
        if (GameState == ModeGameB && Score > HiScore2) {
            HiScore2 = Score;
            settings_.WriteInteger("HiScore2", HiScore2);
        }
        enterMode(ModeGameOver);
    }
    const bool odd = s % 2 != 0;
    setLit(seg("im_character_2_1"), odd);
    setLit(seg("im_character_2_2"), !odd);
    setLit(heroPart(HeroPos, LegLeftDown), odd);
    setLit(heroPart(HeroPos, LegRightDown), odd);
    setLit(heroPart(HeroPos, LegLeftUp), !odd);
    setLit(heroPart(HeroPos, LegRightUp), !odd);
    GameOverStep = s + 1;
    if (GameOverStep == 375) {
        enterMode(ModeClock);
        Timer_Game_Over.setEnabled(false);
    }
    Timer_Game_Over.setInterval(800);
}
