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
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", static_cast<char*>(nullptr));
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
    image.loadFromData(reinterpret_cast<const uchar*>(out.data()), static_cast<int>(out.size()), "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

std::string XServer::xdotool(const std::string& args) const {
    return runCommand(env() + "xdotool " + args + " 2>/dev/null");
}

Program::Program(const XServer& x, const std::string& folder, const std::string& configHome)
    : x_(x) {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        setenv("DISPLAY", x.display().c_str(), 1);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("WAYLAND_DISPLAY");
        freopen("/dev/null", "w", stderr);
        const std::string binary = folder + "/torchwheel";
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

Program::~Program() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool Program::running() const {
    if (pid_ <= 0) return false;
    return waitpid(pid_, nullptr, WNOHANG) == 0;
}

int Program::endWith(int signal, int timeoutMs) {
    if (pid_ <= 0) return -1;
    kill(pid_, signal);
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
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
                if (eq != std::string::npos) v[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
            }
            // Off-screen means the simulator has not started yet.
            if (v["WIDTH"] > 1 && v["X"] >= 0 && v["Y"] >= 0)
                return QRect(v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}
