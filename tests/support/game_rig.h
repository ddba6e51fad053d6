#pragma once
// The whole game engine on fakes: virtual time, recorded sound, settings in memory, scripted
// random draws and a settable clock. Digit glyphs get distinct pictures so the panel can be read.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/device.h"
#include "core/sound/sound_drivers.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"
#include "support/scripted_random.h"
#include "support/settable_clock.h"

// The four digit places as a player reads them: a digit for a number glyph, a blank for an
// empty place, '?' for any other picture ("  40", "1200").
inline std::string panelText(const SegmentDisplay& display) {
    std::string out;
    for (SegmentId place : groups::DigitSegments) {
        const Picture& p = display.segment(place).picture;
        char c = p ? '?' : ' ';
        for (int d = 0; d < 10; ++d)
            if (p && p == display.segment(groups::NumberGlyphs[d]).picture) c = char('0' + d);
        out += c;
    }
    return out;
}

struct GameRig {
    GameRig() {
        for (int d = 0; d < 10; ++d) {
            auto p = std::make_shared<PictureData>();
            p->width = p->height = 1;
            p->rgba = {static_cast<std::uint8_t>(d), 0, 0, 255};
            display.setPicture(groups::NumberGlyphs[d], p);
        }
        // The sound as it is once a driver has been opened: every sample loaded. What opening
        // stored and asked of the library is not part of any test.
        device.openSound(std::string(kSoundDrivers[0].text));
        library.calls.clear();
        library.played.clear();
        backend.values.clear();
        backend.journal.clear();
        backend.writes.clear();
    }

    // Segment lit by name; an unknown name is a test error, not "dark".
    bool lit(std::string_view name) const {
        const SegmentId id = findSegment(name);
        if (id < 0) throw std::invalid_argument(std::string(name));
        return display.isVisible(id);
    }

    std::string panel() const { return panelText(display); }

    // Sample names in the order they were asked for; "silence" for each stop of all sounds.
    std::vector<std::string> sounds() const {
        std::vector<std::string> out;
        for (const std::string& f : library.played) {
            if (f == "<silence>") {
                out.emplace_back("silence");
                continue;
            }
            std::string name = f;
            if (name.starts_with("Sound/")) name.erase(0, 6);
            if (name.ends_with(".wav")) name.resize(name.size() - 4);
            out.push_back(name);
        }
        return out;
    }
    int countSound(std::string_view name) const {
        int n = 0;
        for (const std::string& s : sounds()) n += s == name;
        return n;
    }
    void clearSounds() { library.played.clear(); }

    void advance(std::int64_t ms) { scheduler.advance(ms); }

    void open() {
        game.Inp_open_down();
        advance(1);
    }
    void pressLeft() {
        game.Inp_left_down();
        game.Inp_left_up();
    }
    void pressRight() {
        game.Inp_right_down();
        game.Inp_right_up();
    }
    void moveTo(int position) {
        for (int i = 0; i < 4 && game.sequence().HeroPos > position; ++i) pressLeft();
        for (int i = 0; i < 4 && game.sequence().HeroPos < position; ++i) pressRight();
    }

    // Release of GAME A or GAME B to the end of the start sequence (step 9, 2926 ms later).
    static constexpr std::int64_t kStartSequenceMs = 1 + 300 + 7 * 375;
    void startGame(bool gameB = false) {
        if (game.GameState == ModeClosed) open();
        if (gameB) {
            game.Inp_game_b_down();
            game.Inp_game_b_up();
        } else {
            game.Inp_game_a_down();
            game.Inp_game_a_up();
        }
        advance(kStartSequenceMs);
    }

    RecordingSoundLibrary library;
    RecordingSettings backend;
    RecordingShell shell;
    ScriptedRandom random;
    SettableClock clock;
    Device device{DeviceSeams{backend, library, shell, &clock, &random}};
    SegmentDisplay& display = device.display();
    Scheduler& scheduler = device.scheduler();
    SettingsStore& settings = device.settings();
    Game& game = device.game();
};

// The lit parts of the hero at one position, in table order: "body hand_down leg_left_down ...".
inline std::string heroPose(const GameRig& rig, int position) {
    std::string out;
    for (int k = 0; k < groups::kHeroParts; ++k) {
        if (!rig.display.isVisible(groups::HeroSegments[position - 1][k])) continue;
        if (!out.empty()) out += ' ';
        out += groups::kHeroPartNames[k];
    }
    return out;
}

// Puts the items where a test needs them, on the screen as well as in the game variables.
inline void placeItems(GameRig& rig, std::array<std::int32_t, 3> pos,
                       std::array<std::int32_t, 3> target) {
    rig.game.ItemPos = pos;
    rig.game.ItemTarget = target;
    rig.display.Vid_Show_Items(pos);
}
