// Presses keys on a running program the way a player does and measures, for each press that
// moves the juggler, how long until the screen shows him at his new place (pixels read back from
// the X server) and how long until the step sound arrives at a recorder on the sound server's
// sink. Driven by bench/latency_bench.sh, which prepares the program, the X server and the sink.
//
// latency_probe PRESSES HERO1 HERO2 SOURCE [TRACE]
//   HERO1, HERO2: x,y,w,h of the juggler's body at positions 1 and 2, on the screen
//   SOURCE: the PulseAudio source to record (the sink's monitor), or "-" for no sound
//   TRACE: the program's TORCHWHEEL_TRACE log; each press is then split into its stages: to the
//     program's key handler, through it, to the end of the paint, to the hand-over to the X
//     server (flush), and from there until the probe saw the pixels.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t0, Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t - t0).count();
}

struct Rect {
    int x, y, w, h;
};

// Sounds heard on the sink: when each began and how long it lasted.
class Recorder {
  public:
    static constexpr int kRate = 48000;
    static constexpr int kChunk = 48;  // 1 ms
    static constexpr int kThreshold = 300;
    static constexpr int kSilenceEnds = 20 * kRate / 1000;

    bool start(const char* source) {
        pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr{static_cast<std::uint32_t>(-1), 0, 0, 0, kChunk * 2};
        int error = 0;
        stream_ = pa_simple_new(nullptr, "latency_probe", PA_STREAM_RECORD, source, "probe",
                                &format, nullptr, &attr, &error);
        if (!stream_) return false;
        thread_ = std::thread([this] { run(); });
        return true;
    }
    ~Recorder() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (stream_) pa_simple_free(stream_);
    }
    struct Sound {
        Clock::time_point onset;
        double ms = 0;  // until 20 ms of silence
    };
    std::vector<Sound> sounds() {
        std::lock_guard lock(mutex_);
        return sounds_;
    }

  private:
    void run() {
        std::int16_t buffer[kChunk];
        bool inSound = false;
        long quiet = 0, length = 0;
        while (!stop_) {
            int error = 0;
            if (pa_simple_read(stream_, buffer, sizeof buffer, &error) < 0) return;
            const Clock::time_point now = Clock::now();
            // Dated by the stream's own latency, the age of the next sample still to be read:
            // a server that hands the recording over a graph cycle at a time (PipeWire) would
            // otherwise date a sound by the end of its cycle.
            const pa_usec_t age = pa_simple_get_latency(stream_, &error);
            for (int i = 0; i < kChunk; ++i) {
                const std::int16_t s = buffer[i];
                const bool loud = std::abs(s) > kThreshold;
                if (!inSound && loud) {
                    inSound = true;
                    quiet = length = 0;
                    const auto at = now - std::chrono::microseconds(age) -
                                    std::chrono::microseconds((kChunk - i) * 1000000LL / kRate);
                    std::lock_guard lock(mutex_);
                    sounds_.push_back({at, 0});
                }
                if (!inSound) continue;
                ++length;
                quiet = loud ? 0 : quiet + 1;
                if (quiet >= kSilenceEnds) {
                    inSound = false;
                    std::lock_guard lock(mutex_);
                    sounds_.back().ms = 1000.0 * (length - quiet) / kRate;
                }
            }
        }
    }
    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Sound> sounds_;
};

class XScreenProbe {
  public:
    XScreenProbe() : display_(XOpenDisplay(nullptr)) {}
    ~XScreenProbe() {
        if (display_) XCloseDisplay(display_);
    }
    bool ok() const { return display_ != nullptr; }
    std::vector<char> grab(const Rect& r) {
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), r.x, r.y, r.w, r.h,
                                  AllPlanes, ZPixmap);
        std::vector<char> pixels;
        if (image) {
            pixels.assign(image->data, image->data + image->bytes_per_line * image->height);
            XDestroyImage(image);
        }
        return pixels;
    }
    void key(KeySym sym, bool down) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, sym), down, CurrentTime);
        XFlush(display_);
    }
    void tap(KeySym sym) {
        key(sym, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        key(sym, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
    // Milliseconds from t0 until the rectangle differs from before; negative after timeoutMs.
    double waitChange(const Rect& r, const std::vector<char>& before, Clock::time_point t0,
                      double timeoutMs) {
        for (;;) {
            const auto pixels = grab(r);
            const auto now = Clock::now();
            if (pixels != before) return msSince(t0, now);
            if (msSince(t0, now) > timeoutMs) return -1;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

  private:
    Display* display_;
};

void report(const char* what, std::vector<double> v) {
    if (v.empty()) {
        std::printf("%s: no samples\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    std::printf("%s: n %zu, median %.1f ms, 90th %.1f ms, worst %.1f ms, best %.1f ms\n", what,
                v.size(), v[v.size() / 2], v[v.size() * 9 / 10], v.back(), v.front());
}

// The step sample lasts 35 ms; above the threshold it is heard for 34.
constexpr double kStepHeardMs = 34;

bool parseRect(const char* text, Rect& r) {
    return std::sscanf(text, "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) == 4;
}

double micros(Clock::time_point t) {
    return std::chrono::duration<double, std::micro>(t.time_since_epoch()).count();
}

// Where the time of each press went, from the program's trace ("key|handled|paint|flush <us>"
// lines on the same monotonic clock): the first key handler after the press, its end, the first
// paint and flush after it. The flush is noted once the request has left the program, so the
// probe may see the pixels a little before it (a negative last stage); a press whose paint came
// after the pixels were seen was painted by another frame and is left out.
void reportStages(const char* tracePath, const std::vector<std::pair<double, double>>& presses) {
    std::map<std::string, std::vector<double>> marks;
    std::ifstream trace(tracePath);
    for (std::string line; std::getline(trace, line);) {
        char what[16];
        double us = 0;
        if (std::sscanf(line.c_str(), "%15s %lf", what, &us) == 2) marks[what].push_back(us);
    }
    const auto firstAfter = [&](const std::string& name, double t) {
        const auto& v = marks[name];
        const auto it = std::lower_bound(v.begin(), v.end(), t);
        return it == v.end() ? -1.0 : *it;
    };
    std::vector<double> toKey, toHandled, toPaint, toFlush, toSeen;
    for (const auto& [press, seen] : presses) {
        const double key = firstAfter("key", press);
        const double handled = key < 0 ? -1 : firstAfter("handled", key);
        const double paint = handled < 0 ? -1 : firstAfter("paint", handled);
        const double flush = paint < 0 ? -1 : firstAfter("flush", paint);
        if (flush < 0 || paint > seen) continue;
        toKey.push_back((key - press) / 1000);
        toHandled.push_back((handled - key) / 1000);
        toPaint.push_back((paint - handled) / 1000);
        toFlush.push_back((flush - paint) / 1000);
        toSeen.push_back((seen - flush) / 1000);
    }
    report("  stage: press sent -> program's key handler", toKey);
    report("  stage: key handler: the press dispatched, the game, the outline", toHandled);
    report("  stage: handler done -> view painted", toPaint);
    report("  stage: view painted -> flushed to the X server", toFlush);
    report("  stage: flushed -> pixels seen by the probe", toSeen);
}

}  // namespace

int main(int argc, char** argv) {
    Rect hero[2];
    if ((argc != 5 && argc != 6) || !parseRect(argv[2], hero[0]) || !parseRect(argv[3], hero[1])) {
        std::fprintf(stderr, "usage: latency_probe PRESSES X,Y,W,H X,Y,W,H SOURCE|- [TRACE]\n");
        return 2;
    }
    const int wanted = std::atoi(argv[1]);
    XScreenProbe screen;
    if (!screen.ok()) return std::fprintf(stderr, "no X display\n"), 1;
    Recorder recorder;
    const bool sound = std::string_view(argv[4]) != "-";
    if (sound && !recorder.start(argv[4])) return std::fprintf(stderr, "cannot record\n"), 1;

    // A game with the juggler at the left end; he then steps between positions 1 and 2.
    const auto startGame = [&] {
        screen.tap(XK_1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        for (int i = 0; i < 3; ++i) screen.tap(XK_Left);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };
    startGame();
    std::mt19937 random(17);
    std::vector<double> pixels, sounds, lengths;
    std::vector<std::pair<double, double>> stamps;  // press sent, pixels seen (us)
    int at = 0, failures = 0, unheard = 0, broken = 0, stopped = 0;
    // A step heard cut short or stretched is a gap in the sound, unless the game silenced or
    // overlaid it: a miss does both, and the juggler then does not move at the next press.
    bool suspect = false;
    for (int attempt = 0; static_cast<int>(pixels.size()) < wanted && attempt < 6 * wanted;
         ++attempt) {
        const KeySym sym = at == 0 ? XK_Right : XK_Left;
        const Rect& target = hero[1 - at];
        const auto before = screen.grab(target);
        const std::size_t heard = recorder.sounds().size();
        const auto t0 = Clock::now();
        screen.key(sym, true);
        const double seen = screen.waitChange(target, before, t0, 300);
        double onset = -1;
        while (sound && msSince(t0, Clock::now()) < 300) {
            const auto all = recorder.sounds();
            if (all.size() > heard) {
                onset = msSince(t0, all[heard].onset);
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        screen.key(sym, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 100));
        if (suspect) ++(seen < 0 ? stopped : broken);
        suspect = false;
        if (seen < 0) {
            // A miss sequence or the end of the game: after a few, start a new game.
            if (++failures >= 3) {
                startGame();
                at = 0;
                failures = 0;
            }
            continue;
        }
        failures = 0;
        at = 1 - at;
        pixels.push_back(seen);
        stamps.emplace_back(micros(t0), micros(t0) + seen * 1000);
        if (onset >= 0) {
            sounds.push_back(onset);
            const auto all = recorder.sounds();
            if (all.size() > heard && all[heard].ms > 0) {
                lengths.push_back(all[heard].ms);
                // A gap in the middle cuts the sound short; a late piece stretches it.
                suspect = std::abs(all[heard].ms - kStepHeardMs) > 2;
            }
        } else if (sound) {
            ++unheard;
        }
    }
    if (suspect) ++broken;
    report("key press to the juggler on the screen", pixels);
    if (argc == 6) reportStages(argv[5], stamps);
    if (sound) {
        report("key press to the step sound at the sink", sounds);
        report("length of each step sound as heard (35 ms in the file)", lengths);
        std::printf(
            "moves without a step sound heard: %d; step sounds with a gap (cut or "
            "stretched): %d; cut or overlaid by a miss: %d\n",
            unheard, broken, stopped);
    }
    return static_cast<int>(pixels.size()) < wanted ? 1 : 0;
}
