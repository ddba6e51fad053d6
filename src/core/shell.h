#pragma once
// Services of the desktop that the core asks for. The Qt layer implements them; tests record them.
#include <string>

// The device's monitor: its size and, for placing windows on it, where it lies on the desktop.
// Desktops of several monitors do not all start theirs at 0, 0.
struct ScreenSize {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Modal message box with an error icon and one OK button; returns after OK.
    virtual void showError(const std::string& text) = 0;
    // Ask the program to end: the running handler completes, then the event loop stops.
    virtual void requestQuit() = 0;
    // The desktop's "open" action on a document name (relative to the working directory) or a URL.
    virtual void openDocument(const std::string& name) = 0;
    virtual void openUrl(const std::string& url) = 0;
    virtual void beep() = 0;
    virtual ScreenSize screenSize() const = 0;
};
