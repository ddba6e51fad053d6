#pragma once
// The program's window on the default skin of the build's program folder, for the benchmarks
// that paint it: the settings in memory, the sound and the desktop recorded, the timers in
// virtual time, the simulator started and the device opened.
#include <QDir>
#include <map>
#include <memory>
#include <string>

#include "qt/main_window.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"

struct ProgramWindow {
    ProgramWindow(std::map<std::string, std::string> settings, ScreenSize screen) {
        store.values = std::move(settings);
        shell.screen = screen;
        // The skin's folders are found from the working directory, as the launcher starts it.
        QDir::setCurrent(QStringLiteral(TORCHWHEEL_PROGRAM_DIR));
        window = std::make_unique<TForm1>(
            MainWindowSetup{std::string(TORCHWHEEL_PROGRAM_DIR), &store, &sound, true, false},
            shell);
        window->startSimulator();
        window->game().Inp_open_down();
    }
    void advance(int ms) {
        window->scheduler().advance(ms);
        window->refresh();
    }

    RecordingSettings store;
    RecordingSoundLibrary sound;
    RecordingShell shell;
    std::unique_ptr<TForm1> window;
};
