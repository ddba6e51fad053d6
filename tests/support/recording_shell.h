#pragma once
// The shell double: records what the program asked of the desktop, and tells it to a log that
// other doubles share, when one is given, so that a test sees the order across seams.
#include <string>
#include <vector>

#include "core/shell.h"

class RecordingShell final : public Shell {
  public:
    explicit RecordingShell(std::vector<std::string>* log = nullptr) : log_(log) {}

    void showError(const std::string& text) override {
        errors.push_back(text);
        note("showError(" + text + ")");
    }
    void requestQuit() override {
        ++quitRequests;
        note("requestQuit()");
    }
    void openDocument(const std::string& name) override {
        documents.push_back(name);
        note("openDocument " + name);
    }
    void openUrl(const std::string& url) override {
        urls.push_back(url);
        note("openUrl " + url);
    }
    void beep() override {
        ++beeps;
        note("beep()");
    }
    ScreenSize screenSize() const override { return screen; }

    ScreenSize screen{1024, 768};
    std::vector<std::string> errors;
    std::vector<std::string> documents;
    std::vector<std::string> urls;
    int quitRequests = 0;
    int beeps = 0;

  private:
    void note(const std::string& line) {
        if (log_) log_->push_back(line);
    }
    std::vector<std::string>* log_;
};
