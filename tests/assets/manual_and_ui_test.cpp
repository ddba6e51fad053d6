// The manual pages, the pictures compiled into the program and the desktop icons.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "asset_paths.h"
#include "core/skin/picture_decoder.h"

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(ManualPages, AreTwelveDistinct545By365TwentyFourBitBitmaps) {
    std::set<std::vector<std::uint8_t>> contents;
    for (int n = 1; n <= 12; ++n) {
        const std::string path = kProgramDir + "/Graphics/Manual/" + std::to_string(n) + ".bmp";
        const std::vector<std::uint8_t> b = bytesOf(path);
        ASSERT_GE(b.size(), 54u) << path;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(b[28] | b[29] << 8, 24) << "bits per pixel of page " << n;
        const auto decoded = decodePictureFile(path);
        ASSERT_TRUE(decoded.has_value()) << path;
        EXPECT_EQ(decoded->format, PictureFormat::Bitmap);
        EXPECT_EQ(decoded->picture->width, 545);
        EXPECT_EQ(decoded->picture->height, 365);
        EXPECT_TRUE(contents.insert(b).second) << "page " << n << " repeats an earlier page";
    }
}

struct UiPicture {
    const char* name;
    int width, height;
};
constexpr UiPicture kUiPictures[] = {
    {"splash_background", 460, 420},   {"splash_box", 200, 130},     {"splash_play", 107, 30},
    {"splash_play_disabled", 107, 30}, {"splash_donate", 107, 30},   {"about_portrait", 116, 160},
    {"manual_left_up", 16, 14},        {"manual_left_down", 16, 14}, {"manual_right_up", 16, 14},
    {"manual_right_down", 16, 14},     {"manual_close_up", 16, 14},  {"manual_close_down", 16, 14},
    {"game_menu_panel", 256, 512},     {"icon", 256, 256},
};

TEST(UiResources, LoadFromTheProgramWithTheirExactSizes) {
    for (const UiPicture& p : kUiPictures) {
        const QImage image(QString(":/ui/%1.png").arg(p.name));
        ASSERT_FALSE(image.isNull()) << p.name;
        EXPECT_EQ(image.width(), p.width) << p.name;
        EXPECT_EQ(image.height(), p.height) << p.name;
    }
}

TEST(UiResources, PressedManualButtonsLookDifferentFromReleasedOnes) {
    for (const char* b : {"left", "right", "close"}) {
        const QImage up(QString(":/ui/manual_%1_up.png").arg(b));
        const QImage down(QString(":/ui/manual_%1_down.png").arg(b));
        EXPECT_NE(up, down) << b;
    }
    EXPECT_NE(QImage(":/ui/splash_play.png"), QImage(":/ui/splash_play_disabled.png"));
}

TEST(UiResources, GameMenuPanelHasAnOpaqueTitleBandOverAnEightyPercentPanel) {
    const QImage panel = QImage(":/ui/game_menu_panel.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(panel.isNull());
    EXPECT_TRUE(panel.hasAlphaChannel());
    int whiteInButton = 0, whiteInTitle = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 256; ++x) {
            const QRgb p = panel.pixel(x, y);
            if (y >= 32) {
                ASSERT_EQ(qAlpha(p), 204) << x << "," << y;
                ASSERT_EQ(qRed(p) | qGreen(p) | qBlue(p), 0) << x << "," << y;
                continue;
            }
            ASSERT_EQ(qAlpha(p), 255) << x << "," << y;
            const bool white = qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
            (x < 36 ? whiteInButton : whiteInTitle) += white;
        }
    EXPECT_GT(whiteInButton, 20) << "the menu symbol must show in the closed 36 x 32 button";
    EXPECT_GT(whiteInTitle, 50) << "the title band carries the words";
    // three bars: a column through the symbol crosses white three times
    int bars = 0;
    for (int y = 1; y < 32; ++y)
        bars += qRed(panel.pixel(18, y)) > 128 && qRed(panel.pixel(18, y - 1)) <= 128;
    EXPECT_EQ(bars, 3);
}

TEST(UiResources, SplashBackgroundHasItsBands) {
    const QImage bg(":/ui/splash_background.png");
    auto isNavy = [](QRgb p) {
        return qBlue(p) > qRed(p) + 40 && qBlue(p) < 130 && qGreen(p) < 80;
    };
    auto isWhite = [](QRgb p) { return qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245; };
    EXPECT_TRUE(isNavy(bg.pixel(5, 20)));
    EXPECT_TRUE(isNavy(bg.pixel(455, 410)));
    EXPECT_TRUE(isWhite(bg.pixel(230, 300)));
    const QRgb band = bg.pixel(5, 120);
    EXPECT_GT(qBlue(band), 130) << "mid blue behind the box picture";
    EXPECT_FALSE(isWhite(band));
}

TEST(Icons, ExistForEveryInstalledSize) {
    for (int size : {48, 64, 128, 256}) {
        const QString path = QString::fromStdString(kIconsDir) +
                             QString("/hicolor/%1x%1/apps/org.example.Torchwheel.png").arg(size);
        const QImage icon(path);
        ASSERT_FALSE(icon.isNull()) << path.toStdString();
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
    EXPECT_TRUE(QFile::exists(QString::fromStdString(kIconsDir) +
                              "/hicolor/scalable/apps/org.example.Torchwheel.svg"));
}

}  // namespace
