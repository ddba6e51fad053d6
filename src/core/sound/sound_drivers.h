#pragma once
// The sound driver choices offered at start-up, in list order. The position of an entry is the
// value stored as "SoundMode"; the output type is what the sound library is told to open.
#include <array>
#include <optional>
#include <string_view>

struct SoundDriver {
    std::string_view text;
    int soundMode;
    int outputType;  // 0: the library is not opened
    bool soundOn;
};

inline constexpr int kNoSoundChosen = -1;  // "SoundMode" before a choice or after a failed opening

inline constexpr std::array<SoundDriver, 3> kSoundDrivers{{
    {"Microsoft DirectSound", 0, 2, true},
    {"Windows MultiMedia", 1, 1, true},
    {"(no sound)", 2, 0, false},
}};

inline constexpr std::optional<SoundDriver> soundDriverByText(std::string_view text) {
    for (const SoundDriver& d : kSoundDrivers)
        if (d.text == text) return d;
    return std::nullopt;
}
