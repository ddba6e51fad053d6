#include "core/settings_store.h"

#include "core/integer_text.h"

std::optional<int> SettingsStore::parseInteger(const std::string& text) {
    return parseIntegerText(text);
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
