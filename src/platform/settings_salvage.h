#pragma once
// Our values out of a swollen settings file. Qt writes our top-level values as plain key=value
// lines in [General]; whatever else a swollen file holds (a line appended, another program's
// file) is not ours and is passed over. The file is read a piece at a time and a line too long to
// be ours is never held, so neither memory nor time grows with the junk beyond the scan bound.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

struct SalvageLimits {
    // Qt writes our values first, so junk that was appended lies behind them.
    std::uint64_t scanBytes = 64 << 20;
    // Kept values are short and few, so the file written from them stays far below the size that
    // counts as swollen and is not taken for a swollen one again.
    std::size_t lineBytes = 512;
    std::size_t values = 64;
    std::size_t pieceBytes = 64 * 1024;
};

using SettingsValues = std::map<std::string, std::string>;

// read(into, most) puts up to `most` bytes of the file at `into` and returns how many it put
// there: 0 at the end of the file, less than 0 on an error.
using SettingsReader = std::function<std::ptrdiff_t(char* into, std::size_t most)>;

// The plain key=value lines of the top-level section (Qt's [General], or before any header), a
// later line of a key winning as it does in Qt.
SettingsValues salvageSettings(const SettingsReader& read, const SalvageLimits& limits = {});
