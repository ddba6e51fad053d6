// Composes a rendered skin into one picture, the way the device window stacks its segments, so
// the artwork can be looked at without running the program.
//
//   skin_preview <folder with Config.ini> <out.png> closed|open|all|game
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <QTextStream>
#include <cstdio>

#include "asset_images.h"
#include "core/display/segment_catalogue.h"

namespace {

QMap<int, QMap<QString, QString>> readSections(const QString& path) {
    QMap<int, QMap<QString, QString>> sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return sections;
    QTextStream in(&file);
    int current = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith("[Image"))
            current = line.mid(6, line.size() - 7).toInt();
        else if (line.startsWith("["))
            current = 0;
        else if (current > 0 && line.contains('=')) {
            const auto eq = line.indexOf('=');
            sections[current][line.left(eq).trimmed().toLower()] = line.mid(eq + 1).trimmed();
        }
    }
    return sections;
}

QSet<QString> shownFor(const QString& state) {
    QSet<QString> shown{"im_background_bottom"};
    for (const char* b :
         {"btn_left_top", "btn_right_top", "btn_alarm_top", "btn_game_a_top", "btn_game_b_top",
          "btn_time_top", "btn_acl_top", "im_background_screen_top"})
        shown.insert(b);
    if (state == "closed") {
        shown.insert("im_background_front");
        shown.insert("btn_open");
        return shown;
    }
    shown.insert("im_background_back");
    auto add = [&](const QString& n) { shown.insert(n); };
    if (state == "all") {
        for (const SegmentInfo& s : kSegmentCatalogue) {
            const QString n =
                QString::fromLatin1(s.name.data(), static_cast<qsizetype>(s.name.size()));
            if (n.startsWith("im_") && !n.startsWith("im_panel_number") &&
                !n.startsWith("im_backdrop") && n != "im_background_front" &&
                n != "im_panel_time_pm")
                add(n);
        }
    } else if (state == "game") {
        for (const char* n :
             {"im_game_background", "im_panel_game_a", "im_panel_miss_1", "im_item_1_2",
              "im_item_2_5", "im_item_3_4", "im_flame_1_3", "im_flame_2_6", "im_hero_2_body",
              "im_hero_2_hand_up", "im_hero_2_leg_left_down", "im_hero_2_leg_right_up",
              "im_hero_2_base", "im_character_2_1", "im_panel_digit_3", "im_panel_digit_4",
              "btn_left_down"})
            add(n);
    }
    return shown;
}

QImage loadPicture(const QString& path, bool seeThrough) {
    QImage image(path);
    if (image.isNull()) return image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (path.endsWith(".bmp", Qt::CaseInsensitive) && seeThrough) {
        const QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == key) image.setPixel(x, y, 0);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: skin_preview <skin folder> <out.png> closed|open|all|game\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const auto sections = readSections(root + "/Config.ini");
    const QSet<QString> shown = shownFor(QString::fromLatin1(argv[3]));
    QImage canvas(780, 480, QImage::Format_ARGB32);
    canvas.fill(QColor(255, 0, 255));
    QPainter painter(&canvas);
    QImage digitGlyph;  // the score digits of the game preview show 4 and 7
    for (const SegmentInfo& s : kSegmentCatalogue) {
        const QString name =
            QString::fromLatin1(s.name.data(), static_cast<qsizetype>(s.name.size()));
        if (s.section == 0 || !shown.contains(name)) continue;
        const auto& keys = sections[s.section];
        QString file = keys.value("filename");
        if (name == "im_panel_digit_3" && QString::fromLatin1(argv[3]) == "game")
            file = sections[39].value("filename");
        if (name == "im_panel_digit_4" && QString::fromLatin1(argv[3]) == "game")
            file = sections[42].value("filename");
        const QImage picture = loadPicture(root + "/Graphics/Skin/" + file, s.transparent);
        const QRect rect(keys.value("left").toInt(), keys.value("top").toInt(),
                         keys.value("width").toInt(), keys.value("height").toInt());
        painter.save();
        painter.setClipRect(rect);
        painter.drawImage(rect.topLeft(), picture);
        painter.restore();
    }
    painter.end();
    return canvas.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
