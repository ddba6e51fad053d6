// Program entry: reads the command line, creates the five windows in their order and runs the
// event loop.
#include <QApplication>
#include <QDir>
#include <algorithm>

#include "platform/qsettings_backend.h"
#include "platform/quit_signals.h"
#include "platform/sdl_sound_library.h"
#include "qt/program.h"
#include "qt/qt_shell.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// A window cannot place itself on Wayland: the device would not be centred, and the manual and
// the about box could not stay above it. XWayland's X11 allows both, so it is the choice in a
// Wayland session that has it; Wayland itself where there is no X server. A platform chosen by
// the user is respected.
void choosePlatform() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland" : "xcb");
}
}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Pictures are large blocks freed at every skin reload. A fixed threshold keeps them in
    // mappings of their own, which go back to the system when freed; glibc would otherwise raise
    // it after the first free and leave the next skin's pictures as fragments of the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // What needs no window is done before the window system opens, so that it works without a
    // display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // Qt's own options (-platform, -display, ...) have one dash and are taken out only when the
    // window system opens; until then they are not mistakes.
    const bool qtOptions =
        std::any_of(arguments.begin() + 1, arguments.end(),
                    [](const QString& a) { return a.size() > 2 && a[0] == '-' && a[1] != '-'; });
    if (const CommandLine early = readCommandLine(arguments, !qtOptions); early.exitCode)
        return *early.exitCode;
    choosePlatform();
    // The windows follow the desktop's scale, whole or fractional, as every other window does;
    // the device keeps its size in the desktop's logical pixels and is drawn for the screen's.
    QApplication app(argc, argv);
    // No display name: Qt would add it to every window's caption.
    QGuiApplication::setApplicationDisplayName(QString());
    // The compositor matches the window to the menu entry (its icon and name) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Torchwheel"));
    // The device window ends the program when it closes; the other windows only hide.
    QApplication::setQuitOnLastWindowClosed(false);

    const CommandLine commandLine = readCommandLine(QCoreApplication::arguments(), true);
    if (commandLine.exitCode) return *commandLine.exitCode;
    const SkinPlace skin =
        commandLine.skin.value_or(SkinPlace(QCoreApplication::applicationDirPath().toStdString()));
    QtShell shell;
    const QuitSignals quitSignals([&shell] { shell.requestQuit(); });
    QSettingsBackend store;
    SdlSoundLibrary soundLibrary;

    ProgramWindows windows(MainWindowSetup{skin, &store, &soundLibrary, false, true}, shell);
    shell.setOwner(&windows.main());
    QObject::connect(&shell.monitor(), &DeviceMonitor::changed, &windows.main(),
                     &TForm1::followMonitor);
    windows.show();
    return app.exec();
}
