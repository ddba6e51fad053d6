// The device window's paint cost in the two LCD looks, on the default skin: the repaint of one
// game step, a whole frame, and a clock tick that changes nothing on the screen. Not a test: run
// by hand (build/<dir>/bench/bench_paint), on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <ctime>
#include <memory>

#include "core/display/lcd_look.h"
#include "program_window.h"
#include "qt/device_view.h"

namespace {

// The device window in one presentation and look, with a game of A under way.
struct Window : ProgramWindow {
    Window(bool fullscreen, ScreenSize screen, LcdLook look)
        : ProgramWindow({{"FullscreenMode", fullscreen ? "1" : "0"},
                         {"LcdLook", look == LcdLook::Real ? "1" : "0"}},
                        screen) {
        advance(1);
        target = QImage(view().size(), QImage::Format_ARGB32_Premultiplied);
        paint(view().rect());  // the layers are made at the first paint after a skin load
    }
    DeviceView& view() { return window->view(); }
    void startGameA() {
        Game& game = window->game();
        game.Inp_game_a_down();
        game.Inp_game_a_up();
        advance(1 + 300 + 7 * 375);
    }
    // The next step of the game (starting a new game when one ended), and what it repaints.
    QRegion nextStep() {
        Game& game = window->game();
        while (!game.Timer_Game.enabled()) {
            if (game.GameState != ModeGameA) startGameA();
            window->scheduler().advance(10);
        }
        view().flushDamage();
        window->scheduler().advanceTo(game.Timer_Game.due());
        return view().flushDamage();
    }
    // What the window paints for a region, into a picture of its own (not the screen).
    void paint(const QRegion& region) {
        view().render(&target, region.boundingRect().topLeft(), region, {});
    }

    QImage target;
    double stepSeconds = 0;
};

struct Case {
    bool fullscreen;
    ScreenSize screen;
};
constexpr Case kWindowed{false, {1920, 1080}};
constexpr Case kFullscreen4K{true, {3840, 2160}};

// CPU time of the process (Qt blends large areas on helper threads): the machine may be
// shared, and the two looks are timed in turn.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The two looks side by side: each iteration paints the same kind of work in "Plain" and in
// "Real", and the counters give the cost of each and their ratio.
struct Pair {
    explicit Pair(Case c)
        : plain(c.fullscreen, c.screen, LcdLook::Plain),
          real(c.fullscreen, c.screen, LcdLook::Real) {}
    template <typename Work>
    void measure(Work work) {
        double t = cpuSeconds();
        work(plain);
        const double afterPlain = cpuSeconds();
        work(real);
        const double afterReal = cpuSeconds();
        plainSeconds += afterPlain - t;
        realSeconds += afterReal - afterPlain;
        ++rounds;
    }
    void report(benchmark::State& state) {
        state.counters["plain_us"] = plainSeconds / static_cast<double>(rounds) * 1e6;
        state.counters["real_us"] = realSeconds / static_cast<double>(rounds) * 1e6;
        state.counters["real_over_plain"] = realSeconds / plainSeconds;
        const Presentation& shown = real.window->presentation();
        state.counters["lcd_layer_KiB"] = static_cast<double>(real.view().lcdLayerBytes()) / 1024.0;
        state.counters["game_area_KiB"] =
            static_cast<double>(std::int64_t{shown.gameWidth} * shown.gameHeight * 4) / 1024.0;
    }
    Window plain;
    Window real;
    double plainSeconds = 0;
    double realSeconds = 0;
    std::int64_t rounds = 0;
};

// The repaint of one game step: the segments it showed and hid (and, in "Real", their
// shadows). Both windows play their own game of the same rules; over many steps they even out.
void BM_StepPaint(benchmark::State& state, Case c) {
    Pair pair(c);
    pair.plain.startGameA();
    pair.real.startGameA();
    for (auto _ : state) {
        pair.measure([&state](Window& w) {
            state.PauseTiming();
            const QRegion region = w.nextStep();
            state.ResumeTiming();
            const double t = cpuSeconds();
            w.paint(region);
            w.stepSeconds += cpuSeconds() - t;
        });
    }
    // Only the paints count, not the steps of the game between them.
    pair.plainSeconds = pair.plain.stepSeconds;
    pair.realSeconds = pair.real.stepSeconds;
    pair.report(state);
}
BENCHMARK_CAPTURE(BM_StepPaint, windowed, kWindowed)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StepPaint, fullscreen_4k, kFullscreen4K)->Unit(benchmark::kMicrosecond);

// The whole window, as after a presentation switch or an uncovering.
void BM_WholeFrame(benchmark::State& state, Case c) {
    Pair pair(c);
    pair.plain.startGameA();
    pair.real.startGameA();
    for (auto _ : state) pair.measure([](Window& w) { w.paint(w.view().rect()); });
    pair.report(state);
}
BENCHMARK_CAPTURE(BM_WholeFrame, windowed, kWindowed)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WholeFrame, fullscreen_4k, kFullscreen4K)->Unit(benchmark::kMicrosecond);

// A second of the clock whose minute stays: the timer runs, nothing on the screen changes, so
// nothing may be repainted and no layer made.
void BM_IdleClockTick(benchmark::State& state, LcdLook look) {
    Window w(false, kWindowed.screen, look);
    Game& game = w.window->game();
    game.Inp_time_down();
    game.Inp_time_up();
    w.advance(2000);
    std::int64_t repaints = 0;
    std::int64_t ticks = 0;
    for (auto _ : state) {
        w.window->scheduler().advance(1000);
        // A new minute is a real change; it is counted, but it is one tick in sixty at most.
        if (!w.view().flushDamage().isEmpty()) ++repaints;
        w.window->refresh();
        ++ticks;
    }
    state.counters["repaints_per_tick"] =
        static_cast<double>(repaints) / static_cast<double>(ticks ? ticks : 1);
}
BENCHMARK_CAPTURE(BM_IdleClockTick, plain, LcdLook::Plain);
BENCHMARK_CAPTURE(BM_IdleClockTick, real, LcdLook::Real);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
