#include "qt/program.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSize>
#include <algorithm>
#include <cstdio>

#include "core/skin/skin_check.h"
#include "core/skin/skin_loader.h"
#include "qt/about_box.h"
#include "qt/desktop_presenter.h"
#include "qt/device_view.h"
#include "qt/manual_viewer.h"
#include "qt/splash_screen.h"
#include "qt/view_scale.h"

namespace {

void print(std::FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

SkinPlace ownFolder(const QString& folder) {
    // The launcher starts the program from the program folder: a folder named relative to
    // where the command was given is found from there.
    const QDir start(qEnvironmentVariable("TORCHWHEEL_START_DIR", QDir::currentPath()));
    const std::string path = QDir::cleanPath(start.absoluteFilePath(folder)).toStdString();
    return SkinPlace(path, path);
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments, bool final) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Torchwheel Simulator: a handheld LCD game with a juggler, three torches and burning "
        "drops.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption version({"v", "version"}, "Show the version.");
    const QCommandLineOption skin(
        "skin", "Play the skin in <folder>: its Config.ini, and the folders it names found there.",
        "folder");
    const QCommandLineOption check(
        "check-skin",
        "List what a player of the skin in <folder> would miss. The exit status is 1 when a "
        "picture would show as a red square or the window would be empty.",
        "folder");
    parser.addOptions({help, version, skin, check});

    CommandLine result;
    const bool parsed = parser.parse(arguments);
    if (parsed && final && !parser.positionalArguments().isEmpty()) {
        print(stderr, "torchwheel: unexpected argument " + parser.positionalArguments().front() +
                          "\nTry --help.\n");
        result.exitCode = 2;
    } else if (!parsed) {
        if (final) {
            print(stderr, "torchwheel: " + parser.errorText() + "\nTry --help.\n");
            result.exitCode = 2;
        }
    } else if (parser.isSet(help)) {
        // Qt names the program by how it was started, which the launcher hides.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(' ', text.indexOf(' ') + 1), "Usage: torchwheel");
        print(stdout, text);
        result.exitCode = 0;
    } else if (parser.isSet(version)) {
        print(stdout, "torchwheel " TORCHWHEEL_VERSION "\n");
        result.exitCode = 0;
    } else if (parser.isSet(check)) {
        const SkinCheck report = checkSkin(ownFolder(parser.value(check)));
        for (const std::string& line : report.lines)
            print(stdout, QString::fromStdString(line + "\n"));
        result.exitCode = report.playable ? 0 : 1;
    } else if (parser.isSet(skin)) {
        result.skin = ownFolder(parser.value(skin));
    }
    return result;
}

ProgramWindows::ProgramWindows(const MainWindowSetup& setup, Shell& shell) {
    main_ = std::make_unique<TForm1>(setup, shell);
    about_ = std::make_unique<TAboutForm>(shell);
    keys_ = std::make_unique<TKeysForm>(main_->bindings(), main_->settings(), *main_);
    const ManualPages pages = Skin_Load_Manual(setup.skin, shell);
    manual_ = std::make_unique<TManualForm>(pages.clientWidth, pages.clientHeight, pages.pages);
    manual_->setShell(&shell);
    main_->layout().zoomShown = [this, &shell](double zoom) {
        // As large as the device, as far as the monitor holds it; never smaller than its own.
        const ScreenSize monitor = shell.screenSize();
        const double fits = fitZoom(QSize(monitor.width, monitor.height) * 0.9, manual_->ownSize());
        manual_->setZoom(std::max(1.0, std::min(zoom, fits)));
    };
    main_->layout().zoomShown(main_->view().scale().zoom);
    splash_ = std::make_unique<TSplashForm>(main_->settings(), shell, *main_);
    main_->setAboutBox(about_.get());
    main_->setKeySettingsDialog(keys_.get());
    main_->setManualViewer(manual_.get());
    main_->setSplashScreen(splash_.get());
    // The window manager keeps these in front of the device window, also in full screen.
    DesktopPresenter::makeTransient(*about_, *main_);
    DesktopPresenter::makeTransient(*keys_, *main_);
    DesktopPresenter::makeTransient(*manual_, *main_);
    splash_->create();
}

ProgramWindows::~ProgramWindows() {
    // The splash screen and the dialogs refer to the device window: they go first.
    splash_.reset();
    manual_.reset();
    keys_.reset();
    about_.reset();
    main_.reset();
}

void ProgramWindows::show() {
    main_->showOnDesktop();
}
