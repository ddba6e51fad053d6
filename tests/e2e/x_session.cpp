#include "x_session.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

std::string runCommand(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

bool haveCommand(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

XServer::XServer(int width, int height) {
    // Xvfb picks a free display itself and writes its number to us, so tests running at the
    // same time never share a server.
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        if (fds[1] != 3) {
            dup2(fds[1], 3);
            close(fds[1]);
        }
        freopen("/dev/null", "w", stderr);
        // -noreset: monitors and resources set up before the program starts stay.
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (pid_ > 0 && !number.empty()) {
        number_ = std::atoi(number.c_str());
        return;
    }
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

QImage XServer::screenshot() const {
    const std::string out = runCommand(env() + "import -window root png:- 2>/dev/null");
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(out.data()), static_cast<int>(out.size()),
                       "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

std::string XServer::xdotool(const std::string& args) const {
    return runCommand(env() + "xdotool " + args + " 2>/dev/null");
}

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& log, const std::string& dir) {
    pid_ = fork();
    if (pid_ != 0) return;
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : env) {
        if (value == "-")
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    freopen(log.c_str(), "w", stdout);
    freopen(log.c_str(), "a", stderr);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

Child::~Child() {
    if (pid_ <= 0 || reaped_) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool Child::running() const {
    // A process found ended is reaped here, and its id is never signalled again.
    if (pid_ <= 0 || reaped_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == 0) return true;
    reaped_ = true;
    return false;
}

bool Child::waitForExit(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pid_ > 0 && !reaped_) {
        if (waitpid(pid_, &status_, WNOHANG) == pid_)
            reaped_ = true;
        else if (std::chrono::steady_clock::now() > end)
            return false;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int Child::endWith(int signal, int timeoutMs) {
    if (pid_ <= 0 || reaped_) return -1;
    kill(pid_, signal);
    if (!waitForExit(timeoutMs)) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

namespace {
std::map<std::string, std::string> withProgramDefaults(std::map<std::string, std::string> env,
                                                       const std::string& configHome) {
    env["XDG_CONFIG_HOME"] = configHome;
    env["SDL_AUDIODRIVER"] = "dummy";
    return env;
}
}  // namespace

Program::Program(const XServer& x, const std::string& folder, const std::string& configHome)
    : Program({{"DISPLAY", x.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "-"}}, x,
              folder, configHome) {}

Program::Program(const std::map<std::string, std::string>& env, const XServer& x,
                 const std::string& folder, const std::string& configHome)
    : x_(x),
      child_({folder + "/torchwheel"}, withProgramDefaults(env, configHome), "/dev/null", folder) {}

DesktopSession::DesktopSession(Desktop desktop, int width, int height)
    : host_(width, height), desktop_(desktop) {
    if (!host_.ok()) return;
    const std::map<std::string, std::string> onHost{{"DISPLAY", host_.display()}};
    if (desktop == Desktop::Openbox) {
        children_.push_back(
            std::make_unique<Child>(std::vector<std::string>{"openbox", "--sm-disable"}, onHost));
        // The panel with its default settings, copied into a folder of its own rather than the
        // user's. It is up when its window is; a loaded machine can take seconds to start it,
        // and a panel that ended before showing is started once more.
        std::map<std::string, std::string> panelEnv = onHost;
        panelEnv["XDG_CONFIG_HOME"] = runtime_.path().toStdString();
        const std::string log = runtime_.filePath("tint2.log").toStdString();
        for (int start = 0; start < 2 && !ok_; ++start) {
            children_.push_back(
                std::make_unique<Child>(std::vector<std::string>{"tint2"}, panelEnv, log));
            for (int i = 0; i < 300 && !ok_ && children_.back()->running(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                ok_ = !host_.xdotool("search --class tint2").empty();
            }
            if (children_.back()->running()) break;
        }
        if (!ok_) std::fprintf(stderr, "%s\n", runCommand("tail -5 '" + log + "'").c_str());
        programX_ = host_.display();
        return;
    }
    socket_ = "wayland-e2e-" + std::to_string(getpid());
    const std::string log = runtime_.filePath("weston.log").toStdString();
    children_.push_back(std::make_unique<Child>(
        std::vector<std::string>{"weston", "--backend=x11-backend.so", "--use-pixman",
                                 "--socket=" + socket_, "--width=" + std::to_string(width),
                                 "--height=" + std::to_string(height), "--xwayland",
                                 "--idle-time=0"},
        std::map<std::string, std::string>{{"DISPLAY", host_.display()},
                                           {"XDG_RUNTIME_DIR", runtime_.path().toStdString()},
                                           {"WAYLAND_DISPLAY", "-"}},
        log));
    // weston names the X display it started for its X11 clients in its log.
    for (int i = 0; i < 200 && programX_.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string text = runCommand("cat '" + log + "' 2>/dev/null");
        const auto at = text.find("xserver listening on display ");
        if (at != std::string::npos)
            programX_ = text.substr(at + 29, text.find('\n', at) - at - 29);
    }
    ok_ = !programX_.empty();
    if (desktop == Desktop::WestonWayland) programX_.clear();
}

std::map<std::string, std::string> DesktopSession::programEnv() const {
    switch (desktop_) {
        case Desktop::Openbox:
            return {
                {"DISPLAY", host_.display()}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "-"}};
        case Desktop::WestonXWayland:
            return {{"DISPLAY", programX_},
                    {"WAYLAND_DISPLAY", socket_},
                    {"XDG_RUNTIME_DIR", runtime_.path().toStdString()},
                    {"QT_QPA_PLATFORM", "-"}};
        case Desktop::WestonWayland:
            break;
    }
    return {{"DISPLAY", "-"},
            {"WAYLAND_DISPLAY", socket_},
            {"XDG_RUNTIME_DIR", runtime_.path().toStdString()},
            {"QT_QPA_PLATFORM", "-"}};
}

QRect Program::waitForWindow(int timeoutMs) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        const std::string ids = x_.xdotool("search --onlyvisible --name 'Torchwheel \\(Kestrova'");
        std::istringstream list(ids);
        std::string id;
        while (list >> id) {
            const std::string shell = x_.xdotool("getwindowgeometry --shell " + id);
            std::map<std::string, int> v;
            std::istringstream lines(shell);
            std::string line;
            while (std::getline(lines, line)) {
                const auto eq = line.find('=');
                if (eq != std::string::npos)
                    v[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
            }
            // Off-screen means the simulator has not started yet.
            if (v["WIDTH"] > 1 && v["X"] >= 0 && v["Y"] >= 0)
                return QRect(v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}
