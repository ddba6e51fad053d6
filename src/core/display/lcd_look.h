#pragma once
// The LCD's own look, the player's choice: "Plain" draws the lit segments only; "Real" also shows
// the unlit LCD segments faintly, at a contrast, and lets each lit one cast a soft shadow on the
// back plate. Neither changes which segments are shown: this is how they are drawn.
#include <array>
#include <vector>

#include "core/display/segment_display.h"
#include "core/settings_store.h"

enum class LcdLook { Plain = 0, Real = 1 };

struct LcdLookChoice {
    LcdLook look = LcdLook::Plain;
    int unlitContrast = 10;  // percent of an unlit segment's own colour over the back plate
    bool operator==(const LcdLookChoice&) const = default;
};

// The contrasts the menus offer.
inline constexpr std::array<int, 4> kUnlitContrasts{0, 5, 10, 20};

// The player's choice from the store ("LcdLook" 0 or 1, "LcdContrast" in percent). What the
// store does not hold, or holds in a form no version wrote, is the skin's suggestion.
LcdLookChoice readLcdLook(SettingsStore& store, const LcdLookChoice& skinDefaults);
// Stores what the player changed, and only that: a value never chosen keeps following the skin.
void storeLcdLook(SettingsStore& store, const LcdLookChoice& was, const LcdLookChoice& now);

// What an unlit LCD segment shows faintly where it stands: its own picture; a digit place the
// glyphs the game can show there; nothing for the digit glyphs, which only lend their pictures.
std::vector<Picture> unlitPictures(const SegmentDisplay& display, SegmentId id);
