#pragma once
// The program's five windows, created in their order: the device window, the about box, the key
// settings dialog, the manual viewer and, last, the splash screen (which may start the simulator
// during its own creation).
#include <memory>
#include <string>

#include "qt/main_window.h"

class Shell;
class TAboutForm;
class TKeysForm;
class TManualForm;
class TSplashForm;

class ProgramWindows {
  public:
    ProgramWindows(const MainWindowSetup& setup, Shell& shell);
    ~ProgramWindows();

    // Puts the device window on the desktop before the event loop (not before the simulator
    // starts: until then the splash screen is the only window).
    void show();

    TForm1& main() { return *main_; }
    TAboutForm& about() { return *about_; }
    TKeysForm& keys() { return *keys_; }
    TManualForm& manual() { return *manual_; }
    TSplashForm& splash() { return *splash_; }

  private:
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TAboutForm> about_;
    std::unique_ptr<TKeysForm> keys_;
    std::unique_ptr<TManualForm> manual_;
    std::unique_ptr<TSplashForm> splash_;
};
