// The desktop services as the program really uses them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "qt/qt_shell.h"

namespace {

TEST(QtShell, AskingToEndBeforeTheEventLoopRunsEndsItAsSoonAsItStarts) {
    QtShell shell;
    shell.requestQuit();  // as the start-up does after a missing Config.ini
    bool timedOut = false;
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(shell.quitRequested());
}

}  // namespace
