// Synthesises the device's eleven sounds: a piezo beeper's square and pulse tones with short
// attack and decay envelopes, and the jingles as tunes of such tones. Every note ramps in and out,
// so no sample starts or ends with a jump (a click on the speaker).
//
//   sound_synth <folder>   writes Beep1.wav ... Step.wav, 22050 Hz, 16-bit, mono PCM
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note {
    double hz;  // 0 = rest
    double ms;  // length including its decay
    double duty = 0.5;
    double level = 0.55;
    double decay = 0.0;    // per-second exponential decay of the loudness; 0 = held
    double slideTo = 0.0;  // glide to this pitch over the note, 0 = none
};

class Tune {
  public:
    void add(const Note& n) { notes_.push_back(n); }
    void rest(double ms) { notes_.push_back({0.0, ms}); }

    std::vector<float> render() const {
        std::vector<float> out;
        double phase = 0.0;
        for (const Note& n : notes_) {
            const int count = static_cast<int>(n.ms * kRate / 1000.0);
            const int ramp = std::min(count / 2, kRate * 4 / 1000);  // 4 ms in and out
            for (int i = 0; i < count; ++i) {
                if (n.hz <= 0.0) {
                    out.push_back(0.0f);
                    continue;
                }
                const double t = static_cast<double>(i) / kRate;
                const double hz = n.slideTo > 0.0 ? n.hz + (n.slideTo - n.hz) * i / count : n.hz;
                phase += hz / kRate;
                phase -= std::floor(phase);
                double v = phase < n.duty ? 1.0 : -1.0;
                double env = n.level * std::exp(-n.decay * t);
                if (i < ramp) env *= 0.5 - 0.5 * std::cos(kPi * i / ramp);
                if (i >= count - ramp) env *= 0.5 - 0.5 * std::cos(kPi * (count - 1 - i) / ramp);
                out.push_back(static_cast<float>(v * env));
            }
        }
        return soften(out);
    }

  private:
    // A piezo disc does not reproduce the square's sharpest edges: a gentle one-pole low-pass.
    static std::vector<float> soften(std::vector<float> s) {
        float y = 0.0f;
        for (float& x : s) {
            y += 0.55f * (x - y);
            x = y;
        }
        // the filter lags; let its tail settle to silence as well
        for (int i = 0; i < kRate / 200 && std::abs(y) > 1e-4f; ++i) {
            y += 0.55f * (0.0f - y);
            s.push_back(y);
        }
        if (!s.empty()) s.back() = 0.0f;
        return s;
    }

    std::vector<Note> notes_;
};

double noteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

bool writeWav(const std::string& path, const std::vector<float>& samples) {
    std::ofstream f(path, std::ios::binary);
    if (!f) return false;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](std::uint16_t v) {
        f.put(static_cast<char>(v & 0xff));
        f.put(static_cast<char>(v >> 8));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    for (float s : samples) {
        const auto v =
            static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32000.0f));
        u16(static_cast<std::uint16_t>(v));
    }
    return static_cast<bool>(f);
}

// Semitones from A4 of the notes used in the tunes.
enum : int {
    C5 = 3,
    D5 = 5,
    E5 = 7,
    F5 = 8,
    G5 = 10,
    A5 = 12,
    B5 = 14,
    C6 = 15,
    D6 = 17,
    E6 = 19,
    G6 = 22
};

Tune beep(double hz, double ms, double duty) {
    Tune t;
    t.add({hz, ms, duty, 0.6, 18.0});
    return t;
}

Tune startJingle() {  // about 2.5 s: a circus call while the juggler rides in
    Tune t;
    const int melody[] = {C5, E5, G5, C6, G5, E5, G5, C6, E6, D6, C6, G5, C6};
    const double lengths[] = {150, 150, 150, 300, 150, 150, 150, 150, 300, 150, 150, 150, 450};
    for (int i = 0; i < 13; ++i) {
        t.add({noteHz(melody[i]), lengths[i] - 30, 0.5, 0.5, 3.0});
        t.rest(30);
    }
    return t;
}

Tune chanceFanfare() {  // about 3.5 s: a triumphant fanfare with a trill
    Tune t;
    for (int r = 0; r < 2; ++r) {
        for (int n : {G5, C6, E6}) {
            t.add({noteHz(n), 120, 0.5, 0.5, 2.0});
            t.rest(20);
        }
        t.add({noteHz(G6), 380, 0.5, 0.5, 1.5});
        t.rest(60);
    }
    for (int i = 0; i < 8; ++i) {  // trill
        t.add({noteHz(i % 2 ? E6 : D6), 70, 0.5, 0.45});
    }
    t.rest(40);
    for (int n : {C6, E6, G6}) {
        t.add({noteHz(n), 200, 0.5, 0.5, 1.5});
        t.rest(30);
    }
    t.add({noteHz(C6) * 2.0, 520, 0.5, 0.5, 2.2});
    return t;
}

Tune missDrop() {  // the torch tumbles down: a falling glide and a thud
    Tune t;
    t.add({1800, 380, 0.5, 0.5, 1.0, 500});
    t.rest(40);
    t.add({220, 160, 0.3, 0.6, 10.0});
    return t;
}

Tune missWalk() {  // about 1.5 s: a sad little descending phrase
    Tune t;
    for (int n : {E5, D5, C5}) {
        t.add({noteHz(n), 260, 0.5, 0.5, 2.0});
        t.rest(60);
    }
    t.add({noteHz(C5 - 5), 560, 0.5, 0.5, 2.5});
    return t;
}

Tune missBurn() {  // a warbling buzz: the juggler gets singed
    Tune t;
    for (int i = 0; i < 10; ++i) t.add({i % 2 ? 620.0 : 880.0, 80, 0.35, 0.5});
    t.add({620, 300, 0.35, 0.5, 6.0, 300});
    return t;
}

Tune gameOver() {  // about 3.5 s: a slow falling tune ending in a long low note
    Tune t;
    const int melody[] = {G5, F5, E5, D5, E5, C5, D5, C5 - 1};
    const double lengths[] = {320, 320, 320, 320, 320, 320, 320, 1300};
    for (int i = 0; i < 8; ++i) {
        t.add({noteHz(melody[i]), lengths[i] - 40, 0.5, 0.5, i == 7 ? 1.2 : 2.0});
        t.rest(40);
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_synth <folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const struct {
        const char* name;
        Tune tune;
    } sounds[] = {
        {"Beep1", beep(2093, 60, 0.5)}, {"Beep2", beep(2637, 80, 0.5)},
        {"Beep3", beep(2349, 80, 0.5)}, {"Beep4", beep(1319, 55, 0.35)},
        {"Chance", chanceFanfare()},    {"Miss1", missDrop()},
        {"Miss2", missWalk()},          {"Miss3", missBurn()},
        {"Gameover", gameOver()},       {"Start", startJingle()},
        {"Step", beep(1047, 35, 0.25)},
    };
    for (const auto& s : sounds) {
        const std::string path = dir + "/" + s.name + ".wav";
        if (!writeWav(path, s.tune.render())) {
            std::fprintf(stderr, "sound_synth: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
