#pragma once
// A private X server and the program running in it, for end-to-end tests.
#include <sys/types.h>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Runs a shell command and returns what it printed.
std::string runCommand(const std::string& command);
bool haveCommand(const std::string& name);

class XServer {
  public:
    XServer(int width, int height);
    ~XServer();
    bool ok() const { return pid_ > 0; }
    std::string display() const { return ":" + std::to_string(number_); }
    std::string env() const { return "DISPLAY=" + display() + " "; }

    QImage screenshot() const;
    // xdotool with this server's display.
    std::string xdotool(const std::string& args) const;

  private:
    int number_ = 0;
    pid_t pid_ = -1;
};

// A process started with extra environment variables (a value of "-" removes the variable) and
// its output sent to a file, killed when this goes.
class Child {
  public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::string& log = "/dev/null", const std::string& dir = "");
    ~Child();
    pid_t pid() const { return pid_; }
    bool running() const;
    // Waits for the process to end; false when it is still running after timeoutMs.
    bool waitForExit(int timeoutMs);
    // Sends a signal and waits: the exit code, 128 plus the ending signal, or -1 while it runs.
    int endWith(int signal, int timeoutMs);

  private:
    pid_t pid_ = -1;
    mutable bool reaped_ = false;
    mutable int status_ = 0;
};

// A desktop on a private Xvfb, which also takes the screenshots and the input: a window manager
// with a panel, or weston drawing into an X window with the program on its XWayland or on
// Wayland itself.
enum class Desktop { Openbox, WestonXWayland, WestonWayland };

class DesktopSession {
  public:
    DesktopSession(Desktop desktop, int width, int height);
    bool ok() const { return ok_; }
    const XServer& host() const { return host_; }
    // The environment the program runs with on this desktop.
    std::map<std::string, std::string> programEnv() const;
    // The X display that holds the program's windows; empty when they are Wayland surfaces.
    std::string programX() const { return programX_; }

  private:
    XServer host_;
    QTemporaryDir runtime_;
    std::vector<std::unique_ptr<Child>> children_;
    Desktop desktop_;
    std::string socket_;
    std::string programX_;
    bool ok_ = false;
};

class Program {
  public:
    // Starts the binary found in folder, with that folder as working directory, on the X server
    // or with the given environment (see DesktopSession::programEnv).
    Program(const XServer& x, const std::string& folder, const std::string& configHome);
    Program(const std::map<std::string, std::string>& env, const XServer& x,
            const std::string& folder, const std::string& configHome);
    // The visible device window's geometry, waiting up to timeoutMs for it.
    QRect waitForWindow(int timeoutMs = 30000) const;
    bool running() const { return child_.running(); }
    bool waitForExit(int timeoutMs) { return child_.waitForExit(timeoutMs); }
    // Sends a signal and waits up to timeoutMs for the program to end: its exit code, 128 plus
    // the signal that killed it, or -1 while it still runs.
    int endWith(int signal, int timeoutMs = 10000) { return child_.endWith(signal, timeoutMs); }

  private:
    const XServer& x_;
    Child child_;
};
