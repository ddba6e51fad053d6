#pragma once
// A settings backend held in memory: for tests and for running when no store can be opened.
#include <map>
#include <optional>
#include <string>

#include "app/settings_store.h"

class MemorySettingsBackend final : public SettingsBackend {
public:
    std::optional<std::string> read(const std::string& name) override {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void write(const std::string& name, const std::string& text) override { values[name] = text; }

    std::map<std::string, std::string> values;
};
