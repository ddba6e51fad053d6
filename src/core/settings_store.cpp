#include "core/settings_store.h"

#include <cctype>
#include <climits>

std::optional<int> SettingsStore::parseInteger(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // Hex texts denote 32-bit patterns ("$FFFFFFFF" is -1); decimal must fit an int.
        if (value > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1))
            return std::nullopt;
    }
    if (base == 16 && value > INT_MAX) value -= 0x100000000LL;
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

int SettingsStore::ReadInteger(const std::string& name, int defaultValue) {
    const std::optional<std::string> text = backend_.read(name);
    if (!text) return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

bool SettingsStore::ReadBool(const std::string& name, bool defaultValue) {
    const std::optional<std::string> text = backend_.read(name);
    if (!text) return defaultValue;
    const std::optional<int> value = parseInteger(*text);
    return value ? *value != 0 : defaultValue;
}

void SettingsStore::WriteInteger(const std::string& name, int value) {
    backend_.write(name, std::to_string(value));
}

void SettingsStore::WriteBool(const std::string& name, bool value) {
    backend_.write(name, value ? "1" : "0");
}
