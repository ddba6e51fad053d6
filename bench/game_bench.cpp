// Game engine: how fast virtual play runs, what one game tick costs, and that a tick allocates
// nothing. Not a test: run by hand (build/<dir>/bench/bench_game).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "core/device.h"
#include "core/sound/sound_drivers.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/settable_clock.h"

// Counting allocator for this binary only: the allocation benchmark reads the count around the
// ticks it measures. Out of line, so that the compiler does not pair an inlined malloc() or
// free() with a new-expression and warn about a mismatch.
namespace {
std::atomic<long> gAllocations{0};
}  // namespace

[[gnu::noinline]] void* operator new(std::size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

class SilentLibrary final : public SoundLibrary {
  public:
    bool Init(int, int, unsigned) override { return true; }
    bool SetOutput(int) override { return true; }
    SampleHandle SampleLoad(int, const std::string&, unsigned, int, int) override { return 1; }
    int PlaySound(int, SampleHandle) override { return 0; }
    bool StopSound(int) override { return true; }
    void SampleFree(SampleHandle) override {}
    void Close() override {}
};

// The engine with every segment given a picture, so showing and hiding records damage as it
// does under the real window.
struct Engine {
    Engine() {
        auto picture = std::make_shared<PictureData>();
        picture->width = picture->height = 4;
        picture->rgba.assign(64, 255);
        for (int i = 0; i < kSegmentCount; ++i) {
            display.setBounds(i, {i, i, 4, 4});
            display.setPicture(i, picture);
        }
        // Sound calls go all the way to the library, as with an opened driver.
        device.openSound(std::string(kSoundDrivers[0].text));
        game.Inp_open_down();
        scheduler.advance(1);
    }
    void startGameA() {
        game.Inp_game_a_down();
        game.Inp_game_a_up();
        scheduler.advance(1 + 300 + 7 * 375);
    }
    // A player who walks under each item about to reach the hand, so games last.
    void playerActs() {
        if (!game.sequence().Playing) return;
        for (int r = 1; r <= 3; ++r) {
            const bool arriving = game.ItemPos[r - 1] >= 4 && game.ItemTarget[r - 1] == 6;
            if (!arriving) continue;
            const int want = r == 1 ? 1 : r == 2 ? 2 : 4;
            while (game.sequence().HeroPos > want) game.Inp_left_down(), game.Inp_left_up();
            while (game.sequence().HeroPos < want) game.Inp_right_down(), game.Inp_right_up();
            return;
        }
    }

    SilentLibrary library;
    RecordingSettings backend;
    RecordingShell shell;
    SettableClock clock{10, 30};
    Device device{DeviceSeams{backend, library, shell, &clock, nullptr, 12345}};
    SegmentDisplay& display = device.display();
    Scheduler& scheduler = device.scheduler();
    Game& game = device.game();
};

// Virtual minutes of attended play (catches, flames, misses, chance times) per real second.
void BM_VirtualGameMinutes(benchmark::State& state) {
    Engine e;
    e.startGameA();
    std::int64_t virtualMs = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {  // 50 s of virtual time
            e.playerActs();
            e.scheduler.advance(50);
            if (e.game.GameState != ModeGameA) e.startGameA();
        }
        e.display.takeDamage();
        virtualMs += 50'000;
    }
    state.counters["game_minutes_per_s"] =
        benchmark::Counter(static_cast<double>(virtualMs) / 60'000.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VirtualGameMinutes)->Unit(benchmark::kMillisecond);

// An unattended game from the release of GAME A to the clock after the game-over sequence.
void BM_WholeUnattendedGame(benchmark::State& state) {
    Engine e;
    for (auto _ : state) {
        e.game.Inp_game_a_down();
        e.game.Inp_game_a_up();
        while (e.game.GameState != ModeClock) e.scheduler.advance(1000);
        e.display.takeDamage();
    }
}
BENCHMARK(BM_WholeUnattendedGame)->Unit(benchmark::kMicrosecond);

// Brings the game to the moment before its next tick, outside the measured time.
void toNextTick(Engine& e) {
    while (!e.game.Timer_Game.enabled()) {
        if (e.game.GameState != ModeGameA) e.startGameA();
        e.scheduler.advance(10);
    }
    e.playerActs();
    e.display.takeDamage();
}

// One run of Timer_GameTimer through the scheduler (with any hand-timer step due before it).
// The player and the draining of damage run between ticks, as input and painting do; they are
// cheap next to a tick, and pausing the timer around them would cost more than they do.
void BM_GameTick(benchmark::State& state) {
    Engine e;
    e.startGameA();
    std::int64_t ticks = 0;
    for (auto _ : state) {
        toNextTick(e);
        e.scheduler.advanceTo(e.game.Timer_Game.due());
        ++ticks;
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GameTick);

// Allocations made by game ticks; anything but zero fails the benchmark.
void BM_AllocationsPerTick(benchmark::State& state) {
    {
        const long before = gAllocations.load(std::memory_order_relaxed);
        benchmark::DoNotOptimize(std::make_unique<int>(1));
        if (gAllocations.load(std::memory_order_relaxed) == before) {
            state.SkipWithError("the counting operator new is not in use");
            return;
        }
    }
    Engine e;
    e.startGameA();
    long allocations = 0;
    long ticks = 0;
    for (auto _ : state) {
        toNextTick(e);
        const long before = gAllocations.load(std::memory_order_relaxed);
        e.scheduler.advanceTo(e.game.Timer_Game.due());
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
        ++ticks;
    }
    state.counters["allocations_per_tick"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(ticks));
    if (allocations != 0) state.SkipWithError("a game tick allocated memory");
}
BENCHMARK(BM_AllocationsPerTick);

}  // namespace

BENCHMARK_MAIN();
