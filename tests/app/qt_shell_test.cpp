// The desktop services as the program really uses them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "qt/monitors.h"
#include "qt/qt_shell.h"
#include "qt/view_scale.h"
#include "qt/zoom.h"

namespace {

TEST(QtShell, AskingToEndBeforeTheEventLoopRunsEndsItAsSoonAsItStarts) {
    QtShell shell;
    shell.requestQuit();  // as the start-up does after a missing Config.ini
    bool timedOut = false;
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(shell.quitRequested());
}

// --- The device's monitor and the scale it is shown at ----------------------------------------

TEST(DeviceMonitor, TheDeviceBelongsToOneMonitorAndTheStartOneIsThePrimary) {
    // Two monitors side by side, the primary on the right and smaller; a third below.
    const std::vector<QRect> monitors{
        {0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {0, 1080, 800, 600}};
    struct Case {
        const char* what;
        int primary;
        QPoint pointer;
        std::optional<QRect> device;
        int current;
        int expected;
    };
    const Case cases[] = {
        {"at start the primary, wherever the pointer is", 1, {10, 10}, std::nullopt, -1, 1},
        {"no primary: the pointer's monitor", -1, {100, 1200}, std::nullopt, -1, 2},
        {"no primary and the pointer nowhere: the first", -1, {5000, 5000}, std::nullopt, -1, 0},
        {"withdrawn: where it was", 1, {10, 10}, std::nullopt, 0, 0},
        {"most of the device decides", 1, {10, 10}, QRect(1800, 100, 498, 771), 1, 1},
        {"the seam: more on the left", 1, {10, 10}, QRect(1600, 100, 498, 771), 1, 0},
        {"full screen on a monitor is on it", 1, {10, 10}, QRect(0, 1080, 800, 600), 0, 2},
        {"dragged off every monitor: where it was", 1, {10, 10}, QRect(-900, -900, 498, 771), 2, 2},
        {"its monitor gone, withdrawn: the primary", 1, {10, 10}, std::nullopt, 7, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseMonitor(monitors, c.primary, c.pointer, c.device, c.current), c.expected)
            << c.what;
    EXPECT_EQ(chooseMonitor({}, -1, {}, std::nullopt, -1), -1);
}

TEST(ViewScale, EveryScreenPixelShowsTheSkinPixelAClickThereHits) {
    // Pictures meet without gaps or overlaps, and the pixel a click lands on is painted by the
    // skin pixel it hits, at whole, fractional and "Fit to screen" factors.
    for (const ViewScale scale : {ViewScale{1.5, 1.0}, ViewScale{1.0, 1.25}, ViewScale{2.0, 1.5},
                                  ViewScale{4.5, 1.0}, ViewScale{2.8016, 1.0}, ViewScale{3, 1}}) {
        SCOPED_TRACE(scale.factor());
        for (int k = 0; k < 800; ++k) {
            ASSERT_LE(scale.edge(k), scale.edge(k + 1));
            for (int d = scale.edge(k); d < scale.edge(k + 1); ++d) ASSERT_EQ(scale.unitAt(d), k);
        }
        const Rect left{10, 20, 33, 7}, right{43, 20, 5, 7};
        EXPECT_EQ(scale.deviceRect(left).right() + 1, scale.deviceRect(right).left());
        // A click reported in logical pixels (device pixels over the desktop's scale).
        const int d = scale.edge(43);
        EXPECT_EQ(scale.skinPoint(d / scale.ratio, 0).x(), 43);
        EXPECT_EQ(scale.skinPoint((d - 1) / scale.ratio, 0).x(), 42);
        // What a repaint of the right picture covers holds all of its screen pixels.
        EXPECT_TRUE(
            scale.deviceOfLogical(scale.logicalRect(right)).contains(scale.deviceRect(right)));
    }
    EXPECT_TRUE((ViewScale{1.0, 1.0}.identity()));
    EXPECT_TRUE((ViewScale{1.5, 2.0}.whole()));
    EXPECT_FALSE((ViewScale{1.5, 1.0}.whole()));
}

TEST(ViewScale, FitToScreenIsTheLargestZoomAtWhichTheGameFits) {
    const QSize game(780, 480);
    EXPECT_DOUBLE_EQ(fitZoom(QSize(3840, 2160), game), 4.5);          // the height decides
    EXPECT_DOUBLE_EQ(fitZoom(QSize(1560, 2000), game), 2.0);          // the width decides
    EXPECT_DOUBLE_EQ(fitZoom(QSize(640, 480), game), 640.0 / 780.0);  // smaller than the game
    EXPECT_DOUBLE_EQ(fitZoom(QSize(1920, 1080), QSize()), 1.0);
    // Windowed it is 90 % of the work area, and the window holds the whole game.
    const double zoom = zoomFactor(ZoomChoice::Fit, QSize(1920, 1040) * 0.9, QSize(498, 771));
    const QSize window = ViewScale{zoom, 1.0}.logicalSize(498, 771);
    EXPECT_LE(window.height(), 936);
    EXPECT_GE(window.height(), 935);
    EXPECT_DOUBLE_EQ(zoomFactor(ZoomChoice::Percent150, QSize(1, 1), game), 1.5);
    // Full screen at a zoom lays the skin out on the monitor measured in skin pixels.
    EXPECT_EQ((ViewScale{1.5, 1.0}.skinSize(QSize(1920, 1080))), QSize(1280, 720));
    EXPECT_EQ((ViewScale{4.5, 1.0}.skinSize(QSize(3840, 2160))), QSize(854, 480));
}

}  // namespace
