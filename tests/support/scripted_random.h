#pragma once
// A RandomSource that returns scripted values first and a fixed fallback after, and remembers
// every bound it was asked for (the order of draws is part of the game's behaviour).
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/game/random.h"

class ScriptedRandom final : public RandomSource {
  public:
    int Random(int n) override {
        bounds.push_back(n);
        if (!script.empty()) {
            const int v = script.front();
            script.pop_front();
            if (v < 0 || v >= n) throw std::out_of_range("scripted draw outside 0..n-1");
            return v;
        }
        if (generator) return generator->Random(n);
        // The highest value: never starts a flame and sends a caught item back to 2.
        return fallbackHighest ? n - 1 : 0;
    }

    // Plays like the real program once the script is used up.
    void useSeed(std::uint32_t seed) { generator.emplace(seed); }

    std::deque<int> script;
    std::vector<int> bounds;
    bool fallbackHighest = true;
    std::optional<SeededRandom> generator;
};
