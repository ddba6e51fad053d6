// Renders the pictures the program carries inside itself (splash screen, about box, manual
// viewer buttons, game menu panel, window icon) and the desktop icons for installing.
//
//   ui_render <ui.svg> <torchwheel.svg> <ui folder> <icons folder>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>

#include "asset_images.h"

namespace {

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "ui_render: %s\n", qPrintable(message));
    std::exit(1);
}

// The full-screen game menu: a title band with the menu symbol over a translucent panel. The
// button shows only its top-left 36 x 32; unfolded it shows 256 x 480 of it.
QImage gameMenuPanel() {
    QImage image(256, 512, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 0, 204));
    QPainter p(&image);
    p.fillRect(0, 0, 256, 32, Qt::black);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(9, 9 + i * 6, 18, 2.6), 1.2, 1.2);
    QFont font("DejaVu Sans");
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(40, 0, 210, 32), Qt::AlignVCenter | Qt::AlignLeft, "Game menu");
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    if (argc != 5) fail("usage: ui_render <ui.svg> <torchwheel.svg> <ui folder> <icons folder>");
    QSvgRenderer ui(QString::fromLocal8Bit(argv[1]));
    QSvgRenderer icon(QString::fromLocal8Bit(argv[2]));
    if (!ui.isValid() || !icon.isValid()) fail("cannot read the drawings");
    const QString out = QString::fromLocal8Bit(argv[3]);
    const QString icons = QString::fromLocal8Bit(argv[4]);
    if (!ensureDir(out)) fail("cannot create " + out);

    const struct {
        const char* id;
        int width, height;
    } pictures[] = {
        {"splash_background", 460, 420}, {"splash_box", 200, 130},
        {"splash_play", 107, 30},        {"splash_play_disabled", 107, 30},
        {"splash_donate", 107, 30},      {"about_portrait", 116, 160},
        {"manual_left_up", 16, 14},      {"manual_left_down", 16, 14},
        {"manual_right_up", 16, 14},     {"manual_right_down", 16, 14},
        {"manual_close_up", 16, 14},     {"manual_close_down", 16, 14},
    };
    for (const auto& pic : pictures) {
        if (!ui.elementExists(pic.id)) fail(QString("ui.svg has no element %1").arg(pic.id));
        // drawn at its own size: a drawing that strays outside its frame would be squeezed
        const QSizeF drawn = ui.boundsOnElement(pic.id).size();
        if (std::abs(drawn.width() - pic.width) > 0.01 ||
            std::abs(drawn.height() - pic.height) > 0.01)
            fail(QString("%1 is drawn %2 x %3, not %4 x %5")
                     .arg(pic.id)
                     .arg(drawn.width())
                     .arg(drawn.height())
                     .arg(pic.width)
                     .arg(pic.height));
        const QImage image = renderElementToSize(ui, pic.id, QSize(pic.width, pic.height));
        if (!writePng(image, out + "/" + pic.id + ".png"))
            fail(QString("cannot write %1").arg(pic.id));
    }
    if (!writePng(gameMenuPanel(), out + "/game_menu_panel.png"))
        fail("cannot write the game menu panel");
    if (!writePng(renderElementToSize(icon, "icon", QSize(256, 256)), out + "/icon.png"))
        fail("cannot write the icon");

    for (int size : {48, 64, 128, 256}) {
        const QString dir = QString("%1/hicolor/%2x%2/apps").arg(icons).arg(size);
        if (!ensureDir(dir)) fail("cannot create " + dir);
        const QImage image = renderElementToSize(icon, "icon", QSize(size, size));
        if (!writePng(image, dir + "/org.example.Torchwheel.png")) fail("cannot write an icon");
    }
    const QString scalable = icons + "/hicolor/scalable/apps";
    if (!ensureDir(scalable)) fail("cannot create " + scalable);
    QFile::remove(scalable + "/org.example.Torchwheel.svg");
    if (!QFile::copy(QString::fromLocal8Bit(argv[2]), scalable + "/org.example.Torchwheel.svg"))
        fail("cannot copy the scalable icon");
    return 0;
}
