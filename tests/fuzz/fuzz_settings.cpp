#include <algorithm>
#include <string>
#include <string_view>

#include "fuzz_target.h"
#include "platform/settings_salvage.h"

// Small limits, so that short inputs reach the scan bound, the line bound and the value count.
static constexpr SalvageLimits kFuzzLimits{2048, 48, 8, 64};

// The values salvaged from `file` when each read hands over at most `step` bytes.
static SettingsValues salvage(std::string_view file, std::size_t step = SIZE_MAX) {
    std::size_t at = 0;
    const auto read = [&](char* into, std::size_t most) {
        const std::size_t n = std::min({most, step, file.size() - at});
        std::copy_n(file.begin() + at, n, into);
        at += n;
        return static_cast<std::ptrdiff_t>(n);
    };
    return salvageSettings(read, kFuzzLimits);
}

// The file the store writes in place of a swollen one: Qt's form of plain top-level values.
static std::string written(const SettingsValues& values) {
    std::string file = "[General]\n";
    for (const auto& [key, value] : values) file += key + "=" + value + "\n";
    return file;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const SettingsValues values = salvage(file);
    fuzzCheck(salvage(file, 1 + size % 13) == values, "values depend on where the reads end");
    fuzzCheck(salvage(written(values)) == values, "kept values lost in their own file");
    return 0;
}

std::vector<FuzzInput> fuzzSeeds() {
    // As the store writes it, then swollen in the ways a file can be.
    const std::string store = "[General]\nHiScore1=55\nKey6=40\nSoundMode=-1\nSplashScreen=1\n";
    const std::string junk = "junk=" + std::string(60, 'j') + "\n";
    auto bytes = [](const std::string& s) { return FuzzInput(s.begin(), s.end()); };
    return {bytes(store), bytes(store + junk + "Key2=7\n[Other]\nHiScore2=9\n[GENERAL]\nKey3=4"),
            bytes("; comment\r\nKey1 = 5\r\n[general]\r\nKey4=\"6\"\r\n" + junk + junk)};
}

void fuzzFixup(FuzzInput&) {}
