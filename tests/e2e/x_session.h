#pragma once
// A private X server and the program running in it, for end-to-end tests.
#include <QImage>
#include <QRect>
#include <sys/types.h>

#include <map>
#include <string>

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

class Program {
public:
    // Starts the binary found in folder, with that folder as working directory.
    Program(const XServer& x, const std::string& folder, const std::string& configHome);
    ~Program();
    // The visible device window's geometry, waiting up to timeoutMs for it.
    QRect waitForWindow(int timeoutMs = 30000) const;
    bool running() const;
    // Sends a signal and waits up to timeoutMs for the program to end: its exit code, 128 plus
    // the signal that killed it, or -1 while it still runs.
    int endWith(int signal, int timeoutMs = 10000);

private:
    const XServer& x_;
    pid_t pid_ = -1;
};
