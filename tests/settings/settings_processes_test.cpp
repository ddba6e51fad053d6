// The settings file shared between processes: a writer killed at random moments never leaves a
// broken file, and two simulators writing at the same time never undo each other's values.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

#include "core/settings_store.h"
#include "platform/qsettings_backend.h"
#include "settings_files.h"

namespace {

// A value long enough that a torn write would show: the counter repeated, joined by 'x'.
std::string trail(int i) {
    std::string s = std::to_string(i);
    for (int k = 0; k < 40; ++k) s += "x" + std::to_string(i);
    return s;
}

bool isCompleteTrail(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const int i = std::stoi(text.substr(0, x));
    return text == trail(i);
}

struct Child {
    pid_t pid = -1;
    int readyFd = -1;  // the child writes one byte here once it is under way
};

template <typename Body>
Child startChild(Body body) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        body(fds[1]);
        _exit(0);
    }
    close(fds[1]);
    return {pid, fds[0]};
}

void waitUntilReady(const Child& child) {
    char byte = 0;
    ASSERT_EQ(read(child.readyFd, &byte, 1), 1) << "child ended before it got going";
}

int exitCodeOf(const Child& child) {
    int status = 0;
    waitpid(child.pid, &status, 0);
    close(child.readyFd);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SettingsAcrossProcesses, WriterKilledAtRandomMomentsLeavesACompleteFile) {
    StoreFolder folder;
    const std::string file = folder.path();
    {
        QSettingsBackend setup(file);
        SettingsStore(setup).WriteInteger("SoundMode", 1);
        setup.write("Trail", trail(0));
    }
    const std::regex line(R"(\[General\]|[A-Za-z0-9]+=[0-9x]+)");
    std::mt19937 rng(2026);
    int lastSeen = 0;
    for (int round = 0; round < 20; ++round) {
        Child writer = startChild([&](int readyFd) {
            QSettingsBackend b(file);
            SettingsStore s(b);
            for (int i = lastSeen + 1;; ++i) {
                b.write("Trail", trail(i));
                s.WriteInteger("HiScore1", i % 1000);
                if (i == lastSeen + 1 && write(readyFd, "r", 1) != 1) _exit(2);
            }
        });
        waitUntilReady(writer);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
        kill(writer.pid, SIGKILL);
        exitCodeOf(writer);

        const std::string text = fileText(file);
        std::istringstream lines(text);
        for (std::string l; std::getline(lines, l);)
            ASSERT_TRUE(std::regex_match(l, line)) << "round " << round << ": line \"" << l << "\"";
        QSettingsBackend after(file);
        SettingsStore store(after);
        ASSERT_EQ(store.ReadInteger("SoundMode", -1), 1) << "round " << round;
        const std::optional<std::string> t = after.read("Trail");
        ASSERT_TRUE(t && isCompleteTrail(*t)) << "round " << round << ": " << t.value_or("");
        const int i = std::stoi(t->substr(0, t->find('x')));
        ASSERT_GT(i, lastSeen) << "round " << round << ": the child's first write was lost";
        const int hiScore = store.ReadInteger("HiScore1", -1);
        ASSERT_TRUE(hiScore == i % 1000 || hiScore == (i - 1) % 1000) << "round " << round;
        lastSeen = i;
    }
}

TEST(SettingsAcrossProcesses, TwoSimulatorsWritingAtOnceNeverUndoEachOthersValues) {
    StoreFolder folder;
    const std::string file = folder.path();
    constexpr int kWrites = 60;
    // Both write values of one length, so only the file time tells one version from the next.
    auto writeAndWatch = [&](const std::string& mine, const std::string& theirs) {
        QSettingsBackend b(file);
        SettingsStore s(b);
        int theirsSeen = 0;
        for (int i = 1; i <= kWrites; ++i) {
            s.WriteInteger(mine, 1000 + i);
            if (!b.lastWriteOk()) return 3;
            if (s.ReadInteger(mine, 0) != 1000 + i) return 4;
            const int t = s.ReadInteger(theirs, 1000);
            if (t < theirsSeen) return 5;  // the other's value went back: a lost update
            theirsSeen = t;
        }
        return 0;
    };
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    Child other = startChild([&](int readyFd) {
        char byte;
        if (write(readyFd, "r", 1) != 1 || read(go[0], &byte, 1) != 1) _exit(2);
        _exit(writeAndWatch("HiScore2", "HiScore1"));
    });
    waitUntilReady(other);
    ASSERT_EQ(write(go[1], "g", 1), 1);
    const int mine = writeAndWatch("HiScore1", "HiScore2");
    const int theirs = exitCodeOf(other);
    close(go[0]);
    close(go[1]);
    EXPECT_EQ(mine, 0);
    EXPECT_EQ(theirs, 0);

    QSettingsBackend after(file);
    SettingsStore store(after);
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 1000 + kWrites);
    EXPECT_EQ(store.ReadInteger("HiScore2", 0), 1000 + kWrites);
}

// QSettings notices another process's change only by size and time; a version with the same size
// and time as the one it read would be taken for it and overwritten with stale values.
TEST(SettingsAcrossProcesses, EveryWrittenVersionIsLaterThanTheOneBefore) {
    StoreFolder folder;
    const std::string file = folder.path();
    QSettingsBackend backend(file);
    SettingsStore store(backend);
    store.WriteInteger("HiScore1", 100);
    // A time ahead of the clock, as a coarse file clock or a quick writer before us may leave.
    const QDateTime ahead = QDateTime::currentDateTime().addSecs(5);
    {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ASSERT_TRUE(f.setFileTime(ahead, QFileDevice::FileModificationTime));
    }
    store.WriteInteger("HiScore1", 101);  // same size as before
    const qint64 first = QFileInfo(QString::fromStdString(file)).lastModified().toMSecsSinceEpoch();
    EXPECT_GT(first, ahead.toMSecsSinceEpoch());
    store.WriteInteger("HiScore1", 102);
    EXPECT_GT(QFileInfo(QString::fromStdString(file)).lastModified().toMSecsSinceEpoch(), first);
}

}  // namespace
