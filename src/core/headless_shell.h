#pragma once
// The desktop of a run without windows (the skin check, the tools): nothing is opened or shown,
// the screen is a common one, and a request to end is remembered for the caller.
#include <cstdio>
#include <string>

#include "core/shell.h"

class HeadlessShell final : public Shell {
  public:
    // Messages go to the standard error when printErrors, else nowhere (a check reports them).
    explicit HeadlessShell(bool printErrors) : printErrors_(printErrors) {}
    void showError(const std::string& text) override {
        if (printErrors_) std::fprintf(stderr, "%s\n", text.c_str());
    }
    void requestQuit() override { quit = true; }
    void openDocument(const std::string&) override {}
    void openUrl(const std::string&) override {}
    void beep() override {}
    ScreenSize screenSize() const override { return {1920, 1080}; }

    bool quit = false;

  private:
    bool printErrors_;
};
