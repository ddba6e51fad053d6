#include "qt/program.h"

#include <QSize>
#include <algorithm>

#include "core/skin/skin_loader.h"
#include "qt/about_box.h"
#include "qt/desktop_presenter.h"
#include "qt/device_view.h"
#include "qt/manual_viewer.h"
#include "qt/splash_screen.h"
#include "qt/view_scale.h"

ProgramWindows::ProgramWindows(const MainWindowSetup& setup, Shell& shell) {
    main_ = std::make_unique<TForm1>(setup, shell);
    about_ = std::make_unique<TAboutForm>(shell);
    keys_ = std::make_unique<TKeysForm>(main_->bindings(), main_->settings(), *main_);
    const ManualPages pages = Skin_Load_Manual(setup.programFolder, shell);
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
