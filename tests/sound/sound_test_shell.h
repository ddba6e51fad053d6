#pragma once
// A Shell and a settings backend that write what happens into one shared log, so that a test can
// see the order of library calls, stored values, messages and the request to end.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "app/shell.h"

class LoggingShell final : public Shell {
public:
    explicit LoggingShell(std::vector<std::string>& log) : log_(log) {}
    void showError(const std::string& text) override { log_.push_back("showError(" + text + ")"); }
    void requestQuit() override { log_.push_back("requestQuit()"); }
    void openDocument(const std::string& name) override { log_.push_back("openDocument " + name); }
    void openUrl(const std::string& url) override { log_.push_back("openUrl " + url); }
    void beep() override { log_.push_back("beep()"); }
    ScreenSize screenSize() const override { return {1920, 1080}; }

private:
    std::vector<std::string>& log_;
};

class LoggingSettings final : public SettingsBackend {
public:
    explicit LoggingSettings(std::vector<std::string>& log) : log_(log) {}
    std::optional<std::string> read(const std::string& name) override {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void write(const std::string& name, const std::string& text) override {
        values[name] = text;
        log_.push_back("store " + name + "=" + text);
    }
    std::map<std::string, std::string> values;

private:
    std::vector<std::string>& log_;
};
