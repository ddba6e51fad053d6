#pragma once
// A Shell that records what the windows asked of the desktop.
#include <string>
#include <vector>

#include "app/shell.h"

class RecordingShell final : public Shell {
  public:
    void showError(const std::string& text) override { errors.push_back(text); }
    void requestQuit() override { ++quitRequests; }
    void openDocument(const std::string& name) override { documents.push_back(name); }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    void beep() override { ++beeps; }
    ScreenSize screenSize() const override { return screen; }

    ScreenSize screen{1024, 768};
    std::vector<std::string> errors;
    std::vector<std::string> documents;
    std::vector<std::string> urls;
    int quitRequests = 0;
    int beeps = 0;
};
