#pragma once
// A device window on a small skin written into a temporary folder, with the settings in memory,
// the sound recorded and the desktop recorded.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

#include "qt/main_window.h"
#include "qt/splash_screen.h"
#include "support/qstring_printer.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"

// The device photograph's rectangle covers the whole 498 x 771 game area; the buttons sit on it.
// The picture files do not exist, so every segment shows the placeholder, and the photograph's
// placeholder leaves most of the area see-through in window mode.
inline const char* kRigConfig =
    "[Common]\nGameWidth=498\nGameHeight=771\n"
    "[Image1]\nFilename=bottom.png\nLeft=0\nTop=0\nWidth=498\nHeight=771\n"
    "[Image3]\nFilename=front.png\nLeft=20\nTop=20\nWidth=458\nHeight=300\n"
    "[Image5]\nFilename=open.png\nLeft=400\nTop=150\nWidth=40\nHeight=40\n"
    "[Image7]\nFilename=a.png\nLeft=400\nTop=400\nWidth=30\nHeight=30\n"
    "[Image14]\nFilename=alarm.png\nLeft=100\nTop=400\nWidth=30\nHeight=30\n"
    "[Image33]\nFilename=d.png\nLeft=200\nTop=100\nWidth=10\nHeight=10\n"
    "[Image45]\nFilename=hero.png\nLeft=300\nTop=650\nWidth=10\nHeight=10\n"
    "[Image35]\nFilename=n0.png\n[Image37]\nFilename=n2.png\n[Image40]\nFilename=n5.png\n";

struct AppRig {
    explicit AppRig(bool writeConfig = true) {
        if (writeConfig) {
            std::ofstream(folder() + "/Config.ini") << kRigConfig;
        }
    }
    std::string folder() const { return dir.path().toStdString(); }

    // Creates the device window (and the splash screen, last, as the program entry does).
    TForm1& create(bool withSplash = true, bool gamepads = false) {
        window = std::make_unique<TForm1>(MainWindowSetup{folder(), &store, &sound, true, gamepads},
                                          shell);
        if (withSplash) {
            splash = std::make_unique<TSplashForm>(window->settings(), shell, *window);
            window->setSplashScreen(splash.get());
            splash->create();
        }
        return *window;
    }
    std::string stored(const std::string& name) const {
        auto it = store.values.find(name);
        return it == store.values.end() ? "<none>" : it->second;
    }
    // Moves the device's timers on in virtual time.
    void advance(int ms) {
        window->scheduler().advance(ms);
        window->refresh();
    }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window.get(), &activation);
    }

    QTemporaryDir dir;
    RecordingSettings store;
    RecordingSoundLibrary sound;
    RecordingShell shell;
    std::unique_ptr<TForm1> window;
    std::unique_ptr<TSplashForm> splash;
};
