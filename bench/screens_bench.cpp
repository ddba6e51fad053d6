// The device window at the screen's scale, on the default skin: what painting one game step
// costs at the actual size, at 200 % and full screen on a 3840 x 2160 monitor with "Fit to
// screen"; what a button press costs in the windowed device (its outline made again); and what
// a change of zoom costs until its first whole frame is painted (the skin laid out again, every
// shown picture scaled). Not a test: run by hand (build/<dir>/bench/bench_screens), on Qt's
// offscreen platform with one 3840 x 2160 screen; QT_SCALE_FACTOR adds the desktop's scale.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryFile>
#include <memory>
#include <string>

#include "program_window.h"
#include "qt/device_view.h"
#include "qt/zoom.h"

namespace {

struct Case {
    ScreenSize monitor;
    ZoomChoice zoom;
    bool fullscreen;
};
const Case kCases[] = {
    {{1920, 1080}, ZoomChoice::Actual, false},      // 0: the windowed device as it always was
    {{1920, 1080}, ZoomChoice::Actual, true},       // 1: full screen, actual size
    {{1920, 1080}, ZoomChoice::Percent200, false},  // 2: windowed at 200 %
    {{3840, 2160}, ZoomChoice::Fit, true},          // 3: 4K full screen, fitted (450 % here)
};

// The program's window on the default skin, the simulator started and a game of A running.
struct Window : ProgramWindow {
    explicit Window(const Case& c)
        : ProgramWindow({{"FullscreenMode", c.fullscreen ? "1" : "0"},
                         {"Zoom", std::to_string(zoomEntry(c.zoom).stored)}},
                        c.monitor) {
        Game& game = window->game();
        game.Inp_game_a_down();
        game.Inp_game_a_up();
        advance(3000);
        paint();
    }
    // Every posted repaint done now.
    static void paint() { QApplication::processEvents(); }
    // Virtual time up to the next step that changes what is shown, outside the measured time.
    void toNextStep() {
        for (int i = 0; i < 1000 && !window->display().hasDamage(); ++i) {
            window->scheduler().advance(5);
            if (window->game().GameState != ModeGameA) {
                window->game().Inp_game_a_down();
                window->game().Inp_game_a_up();
            }
        }
    }
};

void BM_GameStepPainted(benchmark::State& state) {
    Window w(kCases[state.range(0)]);
    int paints = 0;
    w.window->view().onPainted = [&paints](const QRegion&) { ++paints; };
    for (auto _ : state) {
        state.PauseTiming();
        w.toNextStep();
        state.ResumeTiming();
        w.window->refresh();
        Window::paint();
    }
    state.SetLabel(std::to_string(w.window->view().scale().factor()) + "x");
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GameStepPainted)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// LEFT pressed and released on the windowed device: the pressed button's picture changes the
// outline, which is made again from the whole picture.
void BM_ButtonPressWindowed(benchmark::State& state) {
    Window w(kCases[state.range(0)]);
    for (auto _ : state) {
        w.window->game().Inp_left_down();
        w.window->refresh();
        Window::paint();
        w.window->game().Inp_left_up();
        w.window->refresh();
        Window::paint();
    }
}
BENCHMARK(BM_ButtonPressWindowed)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// "Fit to screen" and back on the 4K monitor, each until the whole window is painted.
void BM_ZoomChange(benchmark::State& state) {
    Window w(kCases[3]);
    bool fit = false;
    for (auto _ : state) {
        w.window->commands().zoomTo(fit ? ZoomChoice::Fit : ZoomChoice::Percent200);
        w.window->view().repaint();
        fit = !fit;
    }
}
BENCHMARK(BM_ZoomChange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The offscreen platform's one screen, as large as the largest monitor of the cases: a
    // window beyond its screen would not be painted there.
    QTemporaryFile config;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && config.open()) {
        config.write(R"({"screens": [{"name": "4K", "x": 0, "y": 0, "width": 3840,)"
                     R"( "height": 2160, "logicalDpi": 96, "logicalBaseDpi": 96}]})");
        config.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
