// The eleven synthesised sounds as the build wrote them: well-formed PCM the sound library can
// load, audible, without clicks at the ends, and short enough for the moments they mark.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "asset_paths.h"

namespace {

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0.0; }
};

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

// Walks the RIFF chunks; an empty optional-like result (rate 0) when the file is malformed.
Wav readWav(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)),
                                      std::istreambuf_iterator<char>());
    Wav w;
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || le(b, 4, 4) + 8 != b.size())
        return w;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + static_cast<long>(at),
                             b.begin() + static_cast<long>(at) + 4);
        const std::size_t size = le(b, at + 4, 4);
        if (at + 8 + size > b.size()) return {};
        if (id == "fmt " && size >= 16) {
            w.format = static_cast<int>(le(b, at + 8, 2));
            w.channels = static_cast<int>(le(b, at + 10, 2));
            w.rate = static_cast<int>(le(b, at + 12, 4));
            w.bits = static_cast<int>(le(b, at + 22, 2));
        } else if (id == "data") {
            for (std::size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<std::int16_t>(le(b, at + 8 + i, 2)));
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

struct Expected {
    const char* name;
    double minSeconds, maxSeconds;
};

// Upper bounds come from the game's timing: a tick sound must end before the next tick at the
// fastest pace (320 ms); Chance must end within its 3.8 s pause and Gameover before the first
// game-over step 3.8 s later; Miss2 leads into a 2.8 s animation.
constexpr Expected kSounds[] = {
    {"Beep1", 0.02, 0.1},   {"Beep2", 0.02, 0.15}, {"Beep3", 0.02, 0.15}, {"Beep4", 0.02, 0.1},
    {"Chance", 3.0, 3.7},   {"Miss1", 0.2, 1.5},   {"Miss2", 1.2, 1.8},   {"Miss3", 0.5, 2.5},
    {"Gameover", 3.0, 3.7}, {"Start", 2.0, 2.9},   {"Step", 0.01, 0.1},
};

TEST(Sounds, AreMonoSixteenBitPcmAt22050Hz) {
    for (const Expected& e : kSounds) {
        const Wav w = readWav(kProgramDir + "/Sound/" + e.name + ".wav");
        EXPECT_EQ(w.format, 1) << e.name;
        EXPECT_EQ(w.channels, 1) << e.name;
        EXPECT_EQ(w.rate, 22050) << e.name;
        EXPECT_EQ(w.bits, 16) << e.name;
    }
}

TEST(Sounds, LastAsLongAsTheirMomentInTheGame) {
    for (const Expected& e : kSounds) {
        const Wav w = readWav(kProgramDir + "/Sound/" + e.name + ".wav");
        EXPECT_GE(w.seconds(), e.minSeconds) << e.name;
        EXPECT_LE(w.seconds(), e.maxSeconds) << e.name;
    }
}

TEST(Sounds, AreAudibleAndStartAndEndAtSilence) {
    for (const Expected& e : kSounds) {
        const Wav w = readWav(kProgramDir + "/Sound/" + e.name + ".wav");
        ASSERT_GT(w.samples.size(), 100u) << e.name;
        int peak = 0;
        for (std::int16_t s : w.samples) peak = std::max(peak, std::abs(int{s}));
        EXPECT_GT(peak, 8000) << e.name;
        // a jump from or to silence is a click: the first and last few samples stay near zero
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_LT(std::abs(int{w.samples[i]}), 600) << e.name << " start " << i;
            EXPECT_LT(std::abs(int{w.samples[w.samples.size() - 1 - i]}), 600)
                << e.name << " end " << i;
        }
    }
}

TEST(Sounds, JinglesAreTunesNotOneTone) {
    // count sign changes per 50 ms window: a tune changes pitch, so the rates differ
    for (const char* name : {"Start", "Chance", "Gameover", "Miss2"}) {
        const Wav w = readWav(kProgramDir + "/Sound/" + name + ".wav");
        std::set<int> rates;
        const std::size_t window = 22050 / 20;
        for (std::size_t at = 0; at + window <= w.samples.size(); at += window) {
            int crossings = 0;
            for (std::size_t i = at + 1; i < at + window; ++i)
                crossings += (w.samples[i - 1] < 0) != (w.samples[i] < 0);
            if (crossings > 10) rates.insert(crossings / 4);
        }
        EXPECT_GE(rates.size(), 3u) << name;
    }
}

}  // namespace
