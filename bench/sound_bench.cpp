// Sound and settings: what a play or silence request costs on the real SDL2_mixer library (it runs
// inside timer handlers and must not block), what opening and loading the eleven samples costs at
// start, and what one settings read or write costs on a real file. Not a test: run by hand
// (build/<dir>/bench/bench_sound); it uses SDL's silent "dummy" device unless SDL_AUDIODRIVER says.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/settings_store.h"
#include "core/sound/sound_system.h"
#include "platform/qsettings_backend.h"
#include "platform/sdl_sound_library.h"

namespace {

void writeTone(const std::string& path, int milliseconds) {
    const std::uint32_t frames = 22050u * static_cast<std::uint32_t>(milliseconds) / 1000u;
    std::vector<std::uint8_t> w;
    const auto le = [&w](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto tag = [&w](const char* t) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    le(36 + frames * 2, 4);
    tag("WAVE");
    tag("fmt ");
    le(16, 4);
    le(1, 2);
    le(1, 2);
    le(22050, 4);
    le(44100, 4);
    le(2, 2);
    le(16, 2);
    tag("data");
    le(frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        le(static_cast<std::uint16_t>(
               static_cast<std::int16_t>(10000 * std::sin(2 * 3.14159265 * 660.0 * i / 22050.0))),
           2);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.data()), static_cast<std::streamsize>(w.size()));
}

// A working directory with a Sound folder of eleven short tones, as beside the program.
struct SoundFolder {
    QTemporaryDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    SoundFolder() {
        setenv("SDL_AUDIODRIVER",
               std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "dummy", 1);
        std::filesystem::create_directory(dir.filePath("Sound").toStdString());
        for (const SampleInfo& s : kSamples)
            writeTone(
                dir.filePath(QString::fromUtf8(s.file.data(), static_cast<int>(s.file.size())))
                    .toStdString(),
                300);
        std::filesystem::current_path(dir.path().toStdString());
    }
    ~SoundFolder() { std::filesystem::current_path(previous); }
};

void BM_OpenAndLoadElevenSamples(benchmark::State& state) {
    SoundFolder folder;
    for (auto _ : state) {
        SdlSoundLibrary library;
        library.Init(22050, 64, 0);
        library.SetOutput(2);
        int loaded = 0;
        for (const SampleInfo& s : kSamples)
            loaded += library.SampleLoad(kAnySampleSlot, std::string(s.file), kSample2D, 0, 0) != 0;
        if (loaded != kSoundCount) state.SkipWithError("samples did not load");
        library.Close();
    }
}
BENCHMARK(BM_OpenAndLoadElevenSamples)->Unit(benchmark::kMillisecond);

// One play request while the mixer runs; stopped every 32 plays so channels stay free.
void BM_PlaySound(benchmark::State& state) {
    SoundFolder folder;
    SdlSoundLibrary library;
    library.Init(22050, 64, 0);
    const SampleHandle h = library.SampleLoad(kAnySampleSlot, "Sound/Step.wav", kSample2D, 0, 0);
    if (h == 0) state.SkipWithError("no sample");
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(library.PlaySound(kAnyFreeChannel, h));
        if (++n % 32 == 0) {
            state.PauseTiming();
            library.StopSound(kAllChannels);
            state.ResumeTiming();
        }
    }
    library.Close();
}
BENCHMARK(BM_PlaySound)->Unit(benchmark::kMicrosecond);

// Silence with 16 channels sounding, as when chance time begins in a busy moment.
void BM_StopAllChannels(benchmark::State& state) {
    SoundFolder folder;
    SdlSoundLibrary library;
    library.Init(22050, 64, 0);
    const SampleHandle h = library.SampleLoad(kAnySampleSlot, "Sound/Step.wav", kSample2D, 0, 0);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 16; ++i) library.PlaySound(kAnyFreeChannel, h);
        state.ResumeTiming();
        library.StopSound(kAllChannels);
    }
    library.Close();
}
BENCHMARK(BM_StopAllChannels)->Unit(benchmark::kMicrosecond);

void BM_SettingsRead(benchmark::State& state) {
    QTemporaryDir dir;
    QSettingsBackend backend(dir.filePath("Qzorvalt50.conf").toStdString());
    SettingsStore store(backend);
    store.WriteInteger("HiScore1", 120);
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadInteger("HiScore1", 0));
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMicrosecond);

// The first read of a settings file that got a 10 MB junk line: one bounded scan for our values
// and a compacted file put in its place. Later reads are those of BM_SettingsRead.
void BM_SettingsFirstReadOfSwollenFile(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("Qzorvalt50.conf").toStdString();
    const std::string swollen =
        "[General]\nHiScore1=120\njunk=" + std::string(10 << 20, 'j') + "\n";
    QSettingsBackend backend(file);
    SettingsStore store(backend);
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(file, std::ios::binary | std::ios::trunc) << swollen;
        state.ResumeTiming();
        if (store.ReadInteger("HiScore1", 0) != 120) state.SkipWithError("value lost");
    }
}
BENCHMARK(BM_SettingsFirstReadOfSwollenFile)->Unit(benchmark::kMillisecond);

// Written through at once: lock, atomic replace, time stamp. Happens at a game's end or a toggle.
void BM_SettingsWrite(benchmark::State& state) {
    QTemporaryDir dir;
    QSettingsBackend backend(dir.filePath("Qzorvalt50.conf").toStdString());
    SettingsStore store(backend);
    int i = 0;
    for (auto _ : state) store.WriteInteger("HiScore1", ++i % 1000);
    if (!backend.lastWriteOk()) state.SkipWithError("write failed");
}
BENCHMARK(BM_SettingsWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
