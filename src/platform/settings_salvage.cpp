#include "platform/settings_salvage.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Keys and values that Qt writes into an INI file as they are, with no escape or quote: all our
// keys and values are of this kind. Anything else in a swollen file is not ours.
bool plainKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_' || c == '-' || c == '.';
    });
}
bool plainValue(const std::string& value) {
    return std::all_of(value.begin(), value.end(), [](unsigned char c) {
        return c > ' ' && c < 0x7F && !std::strchr("\"\\;,=#%@", c);
    });
}

// One line of the file: a section header switches sections; a plain key=value line in the
// top-level section is kept.
void salvageLine(const std::string& raw, bool& topLevel, SettingsValues& values,
                 std::size_t maxValues) {
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '[') {
        // Qt takes the header in any case.
        topLevel = line.size() == 9 && std::equal(line.begin(), line.end(), "[general]",
                                                  [](unsigned char a, unsigned char b) {
                                                      return std::tolower(a) == b;
                                                  });
        return;
    }
    const std::size_t equals = line.find('=');
    if (!topLevel || equals == std::string::npos) return;
    const std::string key = trimmed(line.substr(0, equals));
    const std::string value = trimmed(line.substr(equals + 1));
    if (!plainKey(key) || !plainValue(value)) return;
    if (values.size() < maxValues || values.count(key)) values[key] = value;
}

}  // namespace

SettingsValues salvageSettings(const SettingsReader& read, const SalvageLimits& limits) {
    SettingsValues values;
    std::vector<char> piece(std::max<std::size_t>(limits.pieceBytes, 1));
    std::string line;
    bool overlong = false;
    bool topLevel = true;
    std::uint64_t scanned = 0;
    std::ptrdiff_t n = 0;
    while (scanned < limits.scanBytes) {
        n = read(piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(
                                   piece.size(), limits.scanBytes - scanned)));
        if (n <= 0) break;
        scanned += static_cast<std::uint64_t>(n);
        const char* p = piece.data();
        const char* const end = p + n;
        while (p < end) {
            const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p));
            const char* const stop = newline ? newline : end;
            const auto length = static_cast<std::size_t>(stop - p);
            overlong = overlong || line.size() + length > limits.lineBytes;
            if (overlong)
                line.clear();
            else
                line.append(p, length);
            if (!newline) break;
            if (!overlong) salvageLine(line, topLevel, values, limits.values);
            line.clear();
            overlong = false;
            p = newline + 1;
        }
    }
    // A last line without a newline counts only where the file really ends there.
    char probe = 0;
    const bool atEnd = n == 0 || (n > 0 && read(&probe, 1) == 0);
    if (!overlong && atEnd) salvageLine(line, topLevel, values, limits.values);
    return values;
}
