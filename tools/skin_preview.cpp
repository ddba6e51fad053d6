// Composes a skin into one picture the way the device window shows it, without starting the
// program: the program's own Config.ini reader, loader, decoders and drawing. The skin's
// folders are found from its own folder, as `torchwheel --skin <folder>` finds them.
//
//   skin_preview <folder with Config.ini> <out.png> closed|open|all|game
//   skin_preview --check <folder>      the same check as `torchwheel --check-skin <folder>`
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <cstdio>

#include "asset_images.h"
#include "core/headless_shell.h"
#include "core/skin/skin_check.h"
#include "core/skin/skin_loader.h"
#include "qt/device_view.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--check") {
        const std::string folder =
            QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2])))
                .toStdString();
        const SkinCheck check = checkSkin(SkinPlace(folder, folder));
        for (const std::string& line : check.lines) std::printf("%s\n", line.c_str());
        return check.playable ? 0 : 1;
    }
    useOffscreenPlatform();
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: skin_preview <skin folder> <out.png> closed|open|all|game\n"
                     "       skin_preview --check <skin folder>\n");
        return 2;
    }
    const std::string folder =
        QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])))
            .toStdString();
    const QString state = QString::fromLatin1(argv[3]);
    HeadlessShell shell(true);
    SegmentDisplay display;
    Presentation presentation;
    Skin_Load(SkinPlace(folder, folder), false, shell, display, presentation);
    if (shell.quit) return 1;

    const QSet<QString> shown = shownFor(state);
    for (SegmentId id = 0; id < kSegmentCount; ++id) {
        const SegmentInfo& s = kSegmentCatalogue[id];
        if (s.section != 0)
            display.setVisible(id, shown.contains(QString::fromLatin1(
                                       s.name.data(), static_cast<qsizetype>(s.name.size()))));
    }
    if (state == "game") {  // the score shows 47
        display.setDigit(3, 4);
        display.setDigit(4, 7);
    }

    const LcdLookChoice plain;
    DeviceView view(display, plain, presentation);
    view.resize(presentation.clientWidth, presentation.clientHeight);
    const std::uint32_t bgr = presentation.backgroundColour;
    view.setBackgroundColour(QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    return view.compose().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
