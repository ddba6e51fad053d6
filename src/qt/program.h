#pragma once
// The program's five windows, created in their order: the device window, the about box, the key
// settings dialog, the manual viewer and, last, the splash screen (which may start the simulator
// during its own creation).
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "qt/main_window.h"

class Shell;
class TAboutForm;
class TKeysForm;
class TManualForm;
class TSplashForm;

// What the command line asks for: --help, --version, --check-skin <folder>, --skin <folder>.
struct CommandLine {
    std::optional<int> exitCode;    // the work is done (help, version, a check, a mistake)
    std::optional<SkinPlace> skin;  // a skin of its own folder to play
};

// Reads the arguments (the program's name first) and does what needs no window, printing to
// the standard output (or error). Until `final`, the window system has not taken its own options
// out yet: an option not known here is then left for later instead of being a mistake.
CommandLine readCommandLine(const QStringList& arguments, bool final);

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
