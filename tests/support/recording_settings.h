#pragma once
// The settings double: values held in memory, every read and write kept in order in a journal
// ("read Key1", "write Key1=2"), and the writes also told to a log that other doubles share
// ("store Key1=2"), when one is given, so that a test sees the order across seams.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/settings_store.h"

class RecordingSettings final : public SettingsBackend {
  public:
    explicit RecordingSettings(std::vector<std::string>* log = nullptr) : log_(log) {}

    std::optional<std::string> read(const std::string& name) override {
        journal.push_back("read " + name);
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void write(const std::string& name, const std::string& text) override {
        values[name] = text;
        journal.push_back("write " + name + "=" + text);
        writes.push_back(name);
        if (log_) log_->push_back("store " + name + "=" + text);
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> journal;
    std::vector<std::string> writes;  // the names, in the order they were written

  private:
    std::vector<std::string>* log_;
};
