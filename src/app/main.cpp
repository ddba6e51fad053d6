// Program entry. The windows are being brought in one by one; for now the device window is empty.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Torchwheel (Kestrova, Tickhand Wideglass) Simulator");
    window.resize(498, 771);
    window.show();
    return app.exec();
}
