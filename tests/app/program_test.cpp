// The five windows as the program entry creates them.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "qt/about_box.h"
#include "qt/key_settings_dialog.h"
#include "qt/manual_viewer.h"
#include "qt/program.h"
#include "qt/splash_screen.h"
#include "qt/zoom.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"

namespace {

struct ProgramRig {
    ProgramRig() {
        std::ofstream(dir.path().toStdString() + "/Config.ini")
            << "[Common]\nGameWidth=498\nGameHeight=771\n[Manual]\nManualWidth=800\nManualHeight="
               "600\n";
    }
    std::unique_ptr<ProgramWindows> start() {
        return std::make_unique<ProgramWindows>(
            MainWindowSetup{dir.path().toStdString(), &store, &sound, true}, shell);
    }
    QTemporaryDir dir;
    RecordingSettings store;
    RecordingSoundLibrary sound;
    RecordingShell shell;
};

TEST(ProgramWindows, TheSplashScreenComesLastAndStartsTheSimulatorWhenSoConfigured) {
    ProgramRig rig;
    rig.store.values = {{"SoundMode", "2"}, {"SplashScreen", "0"}};
    auto windows = rig.start();
    // The device window's creation wrote the six keys back before the splash screen's play
    // action stored its choices.
    const std::vector<std::string> expected{"Key1", "Key2", "Key3",      "Key4",
                                            "Key5", "Key6", "SoundMode", "SplashScreen"};
    EXPECT_EQ(rig.store.writes, expected);
    EXPECT_FALSE(windows->main().SplashPending);
    EXPECT_EQ(windows->main().game().GameState, ModeClosed);
    EXPECT_FALSE(windows->splash().isVisible());
}

TEST(ProgramWindows, ACleanStoreWaitsForTheSplashScreen) {
    ProgramRig rig;
    auto windows = rig.start();
    EXPECT_TRUE(windows->main().SplashPending);
    EXPECT_TRUE(windows->splash().isVisible());
    EXPECT_EQ(rig.store.writes.size(), 6u);
    EXPECT_TRUE(rig.sound.calls.empty());
}

TEST(ProgramWindows, TheManualViewerTakesItsSizeFromTheSkin) {
    ProgramRig rig;
    auto windows = rig.start();
    EXPECT_EQ(windows->manual().size(), QSize(800, 600));
    // Its pages are missing here: each shows the placeholder, with no message.
    EXPECT_TRUE(rig.shell.errors.empty());
    // It follows the player's zoom as far as the monitor holds it, and opens on that monitor.
    rig.shell.screen = {1920, 1200, 1920, 0};
    windows->main().commands().zoomTo(ZoomChoice::Percent150);
    EXPECT_EQ(windows->manual().size(), QSize(1200, 900));
    windows->main().commands().zoomTo(ZoomChoice::Percent300);
    EXPECT_EQ(windows->manual().size(), QSize(1440, 1080));
    windows->main().commands().pm_4_manualClick();
    EXPECT_EQ(windows->manual().geometry().center(), QPoint(1920 + 959, 599));
}

TEST(ProgramWindows, TheMenuReachesEveryWindow) {
    ProgramRig rig;
    auto windows = rig.start();
    windows->main().commands().pm_4_manualClick();
    EXPECT_TRUE(windows->manual().isVisible());
    windows->main().commands().pm_1_aboutClick();
    EXPECT_TRUE(windows->about().isVisible());
    windows->main().commands().pm_7_keysClick();
    EXPECT_TRUE(windows->keys().isVisible());
    EXPECT_FALSE(windows->main().isEnabled());
}

}  // namespace
