#include "qt/qt_shell.h"

#include "qt/main_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

void QtShell::showError(const std::string& text) {
    // Until the simulator starts the device window stands off-screen: a box placed over it
    // would be out of sight, so it then stands in the middle of the screen on its own.
    QWidget* owner = owner_ && owner_->isVisible() && owner_->x() >= 0 ? owner_.data() : nullptr;
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(TForm1::kTitle),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    if (!owner) {
        box.adjustSize();
        box.move(monitor_.geometry().center() - box.rect().center());
    }
    box.exec();
}

void QtShell::requestQuit() {
    // Ends the event loop the next time it looks for work; also when asked during start-up,
    // before the loop runs (the queued call waits for it).
    quitRequested_ = true;
    const auto exitLoop = [] { QCoreApplication::exit(0); };
    QMetaObject::invokeMethod(qApp, exitLoop, Qt::QueuedConnection);
}

void QtShell::openDocument(const std::string& name) {
    // A bare name relative to the process's working directory, whatever the program folder is.
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromStdString(name))));
}

void QtShell::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtShell::beep() {
    QApplication::beep();
}

ScreenSize QtShell::screenSize() const {
    const QRect area = monitor_.geometry();
    return {area.width(), area.height(), area.x(), area.y()};
}
