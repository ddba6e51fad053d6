// The device window's start-up, presentations, dragging and end, with the real widgets.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <fstream>

#include "app_rig.h"
#include "qt/context_menu.h"
#include "qt/device_view.h"
#include "qt/game_menu_overlay.h"
#include "qt/zoom.h"
#include "support/game_rig.h"

namespace {

QPoint centreOf(const TForm1& w, SegmentId id) {
    const Rect r = const_cast<TForm1&>(w).display().segment(id).bounds;
    return {r.left + r.width / 2, r.top + r.height / 2};
}

// --- Start-up -------------------------------------------------------------------------------

TEST(MainWindowStart, CleanStoreStartsFullScreenOffScreenAndWritesOnlyTheKeys) {
    AppRig rig;
    rig.shell.screen = {1024, 768};
    TForm1& w = rig.create();
    EXPECT_EQ(w.windowTitle().toStdString(), TForm1::kTitle);
    EXPECT_TRUE(w.FullscreenMode);
    EXPECT_EQ(w.size(), QSize(1024, 768));
    EXPECT_EQ(w.pos(), QPoint(-1024, -768));
    // Not even mapped there: a window manager would pull it into view.
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.SplashPending);
    EXPECT_TRUE(w.menu().item("pm_10_fullscreen")->isChecked());
    const std::map<std::string, std::string> expected{
        {"Key1", "2"}, {"Key2", "3"}, {"Key3", "4"}, {"Key4", "6"}, {"Key5", "39"}, {"Key6", "40"}};
    EXPECT_EQ(rig.store.values, expected);
    EXPECT_EQ(w.game().GameState, ModeClosed);
    // The splash screen waits for the first activation; no sound was opened yet.
    EXPECT_TRUE(rig.sound.calls.empty());
}

TEST(MainWindowStart, FirstActivationShowsTheSplashOnceOnly) {
    AppRig rig;
    TForm1& w = rig.create();
    rig.splash->hide();
    rig.activate();
    EXPECT_FALSE(w.SplashPending);
    EXPECT_TRUE(rig.splash->isVisible());
    rig.splash->hide();
    rig.activate();
    EXPECT_FALSE(rig.splash->isVisible());
}

TEST(MainWindowStart, PlayingBeforeAnyActivationNeverShowsTheSplashAgain) {
    // A desktop without a window manager activates the device window only at the first click.
    AppRig rig;
    TForm1& w = rig.create();
    w.startSimulator();
    rig.splash->hide();
    rig.activate();
    EXPECT_FALSE(rig.splash->isVisible());
}

TEST(MainWindowStart, StoredDriverWithSplashOffStartsAtOnceCentred) {
    AppRig rig;
    rig.store.values = {{"SoundMode", "1"}, {"SplashScreen", "0"}, {"FullscreenMode", "0"}};
    rig.shell.screen = {1280, 1024};
    // Sound files are looked up relative to the working directory; the recorder loads them all.
    TForm1& w = rig.create();
    EXPECT_FALSE(w.SplashPending);
    ASSERT_FALSE(rig.sound.calls.empty());
    EXPECT_EQ(rig.sound.calls[0], "Init(22050,64,0)");
    EXPECT_EQ(rig.sound.calls[1], "SetOutput(1)");
    EXPECT_EQ(w.game().GameState, ModeClosed);
    EXPECT_EQ(w.pos(), QPoint((1280 - 498) / 2, (1024 - 771) / 2));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.windowState() & Qt::WindowFullScreen);
    rig.activate();
    EXPECT_FALSE(rig.splash->isVisible());
}

TEST(MainWindowStart, MissingConfigIniReportsAndAsksToEnd) {
    AppRig rig(false);
    TForm1& w = rig.create(false);
    ASSERT_EQ(rig.shell.errors.size(), 1u);
    EXPECT_EQ(rig.shell.errors[0],
              "Configuration file (Config.ini) not found. Please reinstall the game.");
    EXPECT_EQ(rig.shell.quitRequests, 1);
    // The rest of the creation still runs; nothing of the skin was stored or shown.
    EXPECT_EQ(rig.stored("FullscreenMode"), "<none>");
    EXPECT_EQ(rig.stored("SoundMode"), "<none>");
    EXPECT_TRUE(w.display().isVisible(seg("btn_game_menu_top")));
}

TEST(MainWindowStart, HighScoresAreReadAtCreation) {
    AppRig rig;
    rig.store.values = {{"HiScore1", "abc"}, {"HiScore2", "321"}};
    TForm1& w = rig.create(false);
    EXPECT_EQ(w.game().HiScore1, 0);
    EXPECT_EQ(w.game().HiScore2, 321);
}

// --- Presentations ---------------------------------------------------------------------------

TEST(MainWindowPresentation, WindowedUsesTheGameSizeAndAMagentaKey) {
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}};
    TForm1& w = rig.create(false);
    EXPECT_EQ(w.size(), QSize(498, 771));
    EXPECT_TRUE(w.presentation().colourKeyOn);
    EXPECT_EQ(w.presentation().colourKey, 0x00FF00FFu);
    EXPECT_FALSE(w.display().isVisible(seg("btn_game_menu_top")));
}

TEST(MainWindowPresentation, TheWindowedOutlineFollowsLcdSegmentsThatTouchIt) {
    // The hero's body at position 1, lit by the start sequence and dark again 375 ms later:
    // over the rig's mostly see-through device it fills a hole while lit; with a key-coloured
    // pixel over a solid device it opens one. Zoomed, the outline is made again only where the
    // picture changed, and must come out the same.
    for (const auto& [zoom, keyPixel] : {std::pair{1, false}, {1, true}, {2, false}, {2, true}}) {
        SCOPED_TRACE(keyPixel ? "key-coloured pixel" : "over a see-through part");
        SCOPED_TRACE(zoom);
        AppRig rig(!keyPixel);
        if (keyPixel) {
            QImage device(498, 771, QImage::Format_RGB32);
            device.fill(Qt::darkGray);
            device.save(QString::fromStdString(rig.folder() + "/device.png"));
            QImage body(10, 10, QImage::Format_RGB32);
            body.fill(Qt::black);
            body.setPixel(5, 5, qRgb(255, 0, 255));
            body.save(QString::fromStdString(rig.folder() + "/body.png"));
            std::ofstream(rig.folder() + "/Config.ini")
                << "[Common]\nSkinDir=" << rig.folder() << "/\n"
                << "[Image1]\nFilename=device.png\nWidth=498\nHeight=771\n"
                << "[Image45]\nFilename=body.png\nLeft=300\nTop=650\nWidth=10\nHeight=10\n";
        }
        rig.store.values = {{"FullscreenMode", "0"}, {"Zoom", zoom == 1 ? "100" : "200"}};
        TForm1& w = rig.create(false);
        w.startSimulator();
        w.game().Inp_open_down();
        w.game().Inp_game_a_down();
        w.game().Inp_game_a_up();
        const QPoint body = QPoint(305, 655) * zoom;
        rig.advance(1);
        EXPECT_EQ(w.mask().contains(body), keyPixel);
        rig.advance(300);
        ASSERT_TRUE(w.display().isVisible(seg("im_hero_1_body")));
        EXPECT_EQ(w.mask().contains(body), !keyPixel);
        rig.advance(375);
        ASSERT_FALSE(w.display().isVisible(seg("im_hero_1_body")));
        EXPECT_EQ(w.mask().contains(body), keyPixel);
    }
}

TEST(MainWindowPresentation, ARepaintComposesTheDamagedRectanglesNotTheOneAroundThem) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    QCoreApplication::processEvents();
    QRegion composed;
    w.view().onPainted = [&composed](const QRegion& r) { composed += r; };
    w.display().setVisible(seg("im_hero_1_body"), true);
    w.display().setVisible(seg("btn_open"), false);
    w.refresh();
    QCoreApplication::processEvents();
    QRegion damaged;
    for (const SegmentId id : {seg("im_hero_1_body"), seg("btn_open")}) {
        const Rect r = w.display().segment(id).bounds;
        damaged += QRect(r.left, r.top, r.width, r.height);
    }
    EXPECT_EQ(composed, damaged);
}

TEST(MainWindowPresentation, TheLcdLookDrawsUnlitSegmentsAndShadowsOnlyWhereItMay) {
    // A grey device with a see-through hole; a black juggler body (lit) and two black torches
    // (unlit), one over the device and one over the hole.
    constexpr QRgb kDevice = qRgb(200, 200, 200);
    const struct {
        const char* what;
        const char* lcdSection;
        std::map<std::string, std::string> stored;
        bool fullscreen;
        int contrast;  // expected, percent
        bool shadow;
    } cases[] = {
        {"Plain by default", "", {}, true, 0, false},
        {"Real from the store", "", {{"LcdLook", "1"}, {"LcdContrast", "20"}}, true, 20, true},
        {"Real as the skin suggests", "[Lcd]\nLook=real\nUnlitContrast=5\n", {}, false, 5, true},
        {"the stored Plain wins", "[Lcd]\nLook=Real\n", {{"LcdLook", "0"}}, false, 0, false},
        {"Real at 0 %", "", {{"LcdLook", "1"}, {"LcdContrast", "0"}}, false, 0, true},
        {"values out of range are the defaults",
         "[Lcd]\nLook=Real\nUnlitContrast=150\n",
         {{"LcdLook", "7"}, {"LcdContrast", "-5"}},
         true,
         10,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppRig rig(false);
        QImage device(498, 771, QImage::Format_ARGB32);
        device.fill(kDevice);
        for (int y = 140; y < 160; ++y)
            for (int x = 140; x < 160; ++x) device.setPixel(x, y, 0);
        device.save(QString::fromStdString(rig.folder() + "/device.png"));
        QImage black(10, 10, QImage::Format_RGB32);
        black.fill(Qt::black);
        black.save(QString::fromStdString(rig.folder() + "/black.png"));
        std::ofstream(rig.folder() + "/Config.ini")
            << "[Common]\nSkinDir=" << rig.folder() << "/\n"
            << c.lcdSection << "[Image1]\nFilename=device.png\nWidth=498\nHeight=771\n"
            << "[Image45]\nFilename=black.png\nLeft=300\nTop=650\nWidth=10\nHeight=10\n"
            << "[Image77]\nFilename=black.png\nLeft=100\nTop=100\nWidth=10\nHeight=10\n"
            << "[Image78]\nFilename=black.png\nLeft=145\nTop=145\nWidth=10\nHeight=10\n";
        rig.store.values = c.stored;
        rig.store.values["FullscreenMode"] = c.fullscreen ? "1" : "0";
        rig.shell.screen = {498, 771};  // full screen puts the game at 0, 0 too
        TForm1& w = rig.create(false);
        w.startSimulator();
        w.display().setVisible(seg("im_hero_1_body"), true);
        w.refresh();
        const QImage shown = w.view().compose();
        const auto grey = [&](int x, int y) { return qRed(shown.pixel(x, y)); };

        EXPECT_NEAR(grey(105, 105), 200 * (100 - c.contrast) / 100, 1) << "unlit torch";
        EXPECT_EQ(shown.pixel(305, 655), qRgb(0, 0, 0)) << "lit body";
        // The shadow falls down and to the right of the body, and nowhere else.
        EXPECT_EQ(grey(311, 661) < 200, c.shadow) << "below right of the body";
        for (const QPoint p : {QPoint(298, 648), QPoint(305, 647), QPoint(297, 655),
                               QPoint(316, 666), QPoint(305, 667)})
            EXPECT_EQ(shown.pixel(p), kDevice) << p.x() << "," << p.y();
        if (!c.fullscreen) {
            // The shaped window keeps its outline: the torch over the hole leaves it see-through.
            EXPECT_EQ(shown.pixel(150, 150), qRgb(255, 0, 255));
            EXPECT_FALSE(w.mask().contains(QPoint(150, 150)));
        }
        // Hiding the body repaints its shadow too, or the shadow would stay behind.
        w.display().setVisible(seg("im_hero_1_body"), false);
        EXPECT_EQ(w.view().flushDamage().contains(QPoint(311, 661)), c.shadow);
    }
}

TEST(MainWindowPresentation, CentringOnASmallScreenNeverGoesNegative) {
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}};
    rig.shell.screen = {400, 300};
    TForm1& w = rig.create(false);
    w.startSimulator();
    EXPECT_EQ(w.pos(), QPoint(0, 0));
}

TEST(MainWindowPresentation, ToggleDuringAGameKeepsItRunningAndRestoresPositions) {
    AppRig rig;
    rig.shell.screen = {1024, 768};
    TForm1& w = rig.create(false);
    w.startSimulator();
    Game& g = w.game();
    g.Inp_open_down();
    g.Inp_game_a_down();
    g.Inp_game_a_up();
    rig.advance(3000);  // through the start sequence
    ASSERT_TRUE(g.sequence().Playing);
    const Rect before = w.display().segment(seg("im_background_bottom")).bounds;
    EXPECT_EQ(before.left, (1024 - 498) / 2);
    const std::string panel = panelText(w.display());
    ASSERT_EQ(panel, "   0");

    w.commands().pm_10_fullscreenClick();
    EXPECT_EQ(panelText(w.display()), panel);
    EXPECT_FALSE(w.FullscreenMode);
    EXPECT_EQ(rig.stored("FullscreenMode"), "0");
    EXPECT_EQ(w.size(), QSize(498, 771));
    EXPECT_FALSE(w.windowHandle()->windowStates() & Qt::WindowFullScreen);
    EXPECT_EQ(w.display().segment(seg("im_background_bottom")).bounds.left, 0);
    EXPECT_EQ(g.GameState, ModeGameA);
    EXPECT_TRUE(g.Timer_Game.enabled());

    w.commands().pm_10_fullscreenClick();
    EXPECT_EQ(w.display().segment(seg("im_background_bottom")).bounds, before);
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    // The window manager's full-screen state, on the native window it maps.
    EXPECT_TRUE(w.windowHandle()->windowStates() & Qt::WindowFullScreen);
    const int scoreBefore = g.Score;
    rig.advance(5000);
    EXPECT_TRUE(g.GameState == ModeGameA || g.GameState == ModeGameOver);
    EXPECT_GE(g.Score, scoreBefore);
}

TEST(MainWindowPresentation, ToggleReleasesThePicturesOfTheSkinItReplaced) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    w.view().compose();
    const std::weak_ptr<const PictureData> old = w.display().segment(seg("btn_open")).picture;
    for (int i = 0; i < 2; ++i) {
        w.commands().pm_10_fullscreenClick();
        w.view().compose();
    }
    EXPECT_TRUE(old.expired());
}

TEST(MainWindowPresentation, TheDeviceLivesOnItsMonitorAndFollowsItsChanges) {
    // A monitor to the right of another: nothing is placed against 0, 0.
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}};
    rig.shell.screen = {1280, 1024, 1920, 0};
    TForm1& w = rig.create();
    EXPECT_NEAR(rig.splash->frameGeometry().center().x(), 1920 + 640, 1);
    w.startSimulator();
    EXPECT_EQ(w.pos(), QPoint(1920 + (1280 - 498) / 2, (1024 - 771) / 2));
    w.commands().pm_10_fullscreenClick();
    EXPECT_EQ(w.geometry(), QRect(1920, 0, 1280, 1024));
    w.game().Inp_open_down();
    w.game().Inp_game_a_down();
    w.game().Inp_game_a_up();
    rig.advance(3000);
    const std::string panel = panelText(w.display());

    // The monitor is given another size: full screen is laid out for it, the game goes on.
    rig.shell.screen = {1920, 1080, 1920, 0};
    w.followMonitor(false);
    EXPECT_EQ(w.geometry(), QRect(1920, 0, 1920, 1080));
    EXPECT_EQ(w.display().segment(seg("im_background_bottom")).bounds.left, (1920 - 498) / 2);
    EXPECT_EQ(w.display().segment(seg("im_backdrop")).bounds, (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(panelText(w.display()), panel);
    EXPECT_EQ(w.game().GameState, ModeGameA);
    EXPECT_TRUE(w.game().Timer_Game.enabled());

    // Windowed, its monitor goes away: it comes back centred on the one that took its place.
    w.commands().pm_10_fullscreenClick();
    const QPoint placed = w.pos();
    rig.shell.screen = {1024, 768, 0, 0};
    w.followMonitor(false);  // another scale only: the player's place is kept
    EXPECT_EQ(w.pos(), placed);
    w.followMonitor(true);
    EXPECT_EQ(w.pos(), QPoint((1024 - 498) / 2, 0));
}

TEST(MainWindowPresentation, ZoomShowsEverythingLargerAndClicksAndOutlineFollowIt) {
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}, {"Zoom", "7"}};
    TForm1& w = rig.create(false);
    w.startSimulator();
    // An unknown stored zoom is the actual size, and nothing is written at start.
    EXPECT_EQ(w.size(), QSize(498, 771));
    EXPECT_EQ(w.menu().zoomMenu().checked(), ZoomChoice::Actual);

    // F7 is 200 %, also as a key reaching a window the desktop never activated.
    QKeyEvent f7(QEvent::KeyPress, Qt::Key_F7, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &f7);
    EXPECT_EQ(rig.stored("Zoom"), "200");
    EXPECT_EQ(w.menu().zoomMenu().checked(), ZoomChoice::Percent200);
    EXPECT_EQ(w.size(), QSize(996, 1542));
    // The photograph's placeholder: skin pixels 1..8 are its red, the rest see-through.
    EXPECT_TRUE(w.mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(w.mask().contains(QPoint(17, 17)));
    EXPECT_FALSE(w.mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(w.mask().contains(QPoint(18, 18)));
    // A click lands on the button drawn under it.
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, centreOf(w, seg("btn_open")) * 2);
    EXPECT_EQ(w.game().GameState, ModeAllSegments);

    // Full screen at 150 %: laid out on the monitor measured in skin pixels; the game menu too.
    rig.shell.screen = {1920, 1080};
    w.commands().zoomTo(ZoomChoice::Percent150);
    w.commands().pm_10_fullscreenClick();
    EXPECT_EQ(w.size(), QSize(1920, 1080));
    EXPECT_EQ(w.display().segment(seg("im_background_bottom")).bounds.left, (1280 - 498) / 2);
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(w.GameMenuOpen);
    EXPECT_EQ(w.gameMenu().row(9)->geometry(), QRect(0, 480, 384, 48));
    EXPECT_EQ(w.gameMenu().row(11)->text(), "   Zoom");
    QTest::mouseClick(w.gameMenu().row(11), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(w.menu().zoomMenu().isVisible());  // the choices, at the pointer
    w.menu().zoomMenu().hide();

    // "Fit to screen": the game fills the monitor's height here.
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, QPoint(40, 40));
    w.commands().zoomTo(ZoomChoice::Fit);
    EXPECT_FALSE(w.GameMenuOpen);
    EXPECT_EQ(w.size(), QSize(1920, 1080));
    EXPECT_EQ(w.view().scale().zoom, 1080.0 / 771.0);
    EXPECT_EQ(w.display().segment(seg("im_background_bottom")).bounds.top, 0);
    EXPECT_EQ(rig.stored("Zoom"), "0");

    // At 300 % a photograph is too large to be kept scaled and is drawn from its own pixels at
    // each paint: in the same place and colours as at the actual size, its pixels repeated.
    QImage photo(498, 771, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, (x / 8 + y / 8) % 2 ? 0xFF2040C0u : 0xFFE0C020u);
    ASSERT_TRUE(photo.save(QString::fromStdString(rig.folder() + "/bottom.png")));
    std::ofstream(rig.folder() + "/Config.ini") << "[Common]\nSkinDir=" << rig.folder() << "/\n"
                                                << (kRigConfig + 9);
    rig.shell.screen = {3840, 2400};
    const auto photoPixels = [&w](ZoomChoice zoom) {
        w.commands().zoomTo(zoom);
        const Rect bounds = w.display().segment(seg("im_background_bottom")).bounds;
        const ViewScale scale = w.view().scale();
        const QImage shown = w.view().compose();
        std::vector<QRgb> pixels;
        // The middle of skin pixel (k, 4) on the screen.
        const auto middle = [&scale](int k) { return (scale.edge(k) + scale.edge(k + 1)) / 2; };
        for (const int k : {7, 8, 15, 16})
            pixels.push_back(shown.pixel(middle(bounds.left + k), middle(bounds.top + 4)));
        return pixels;
    };
    const auto actual = photoPixels(ZoomChoice::Actual);
    EXPECT_EQ(photoPixels(ZoomChoice::Percent300), actual);
    EXPECT_EQ(actual, (std::vector<QRgb>{0xFFE0C020u, 0xFF2040C0u, 0xFF2040C0u, 0xFFE0C020u}));
}

// --- Mouse -----------------------------------------------------------------------------------

void drag(TForm1& w, QPoint from, QPoint by) {
    QWidget* view = &w.view();
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + by), QPointF(w.mapToGlobal(from + by)),
                     Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + by);
}

TEST(MainWindowMouse, DraggingTheDeviceMovesTheWindowInWindowMode) {
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}};
    TForm1& w = rig.create(false);
    w.startSimulator();
    const QPoint start = w.pos();
    drag(w, QPoint(10, 600), QPoint(30, -20));
    EXPECT_EQ(w.pos(), start + QPoint(30, -20));
    // The alarm button drags like the device photograph.
    drag(w, centreOf(w, seg("btn_alarm_top")), QPoint(-5, 7));
    EXPECT_EQ(w.pos(), start + QPoint(25, -13));
}

TEST(MainWindowMouse, DraggingDoesNothingFullScreen) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    const QPoint start = w.pos();
    drag(w, QPoint(300, 700), QPoint(30, 30));
    EXPECT_EQ(w.pos(), start);
}

TEST(MainWindowMouse, LeftClicksPressDeviceButtonsAndRightClicksDoNot) {
    AppRig rig;
    rig.store.values = {{"FullscreenMode", "0"}};
    TForm1& w = rig.create(false);
    w.startSimulator();
    QWidget* view = &w.view();
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(w, seg("btn_open")));
    EXPECT_EQ(w.game().GameState, ModeAllSegments);
    // The context menu takes the right button's release; the view never sees it.
    QTest::mousePress(view, Qt::RightButton, {}, centreOf(w, seg("btn_alarm_top")));
    QTest::mouseRelease(&w.menu(), Qt::RightButton, {}, QPoint(1, 1));
    w.menu().hide();
    QTest::mousePress(view, Qt::LeftButton, {}, centreOf(w, seg("btn_game_a_top")));
    EXPECT_EQ(w.game().GameState, ModeGameAScore);
    EXPECT_TRUE(w.display().isVisible(seg("btn_game_a_down")));
    // The release reaches the pressed button even away from it.
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(w.game().GameState, ModeGameA);
    EXPECT_FALSE(w.display().isVisible(seg("btn_game_a_down")));
}

TEST(MainWindowMouse, HintsAndPointersFollowTheBindings) {
    AppRig rig;
    TForm1& w = rig.create(false);
    EXPECT_EQ(w.bindings().hint(seg("btn_game_a_top")),
              "click or press '1' to start game A (hold to view highscore)");
}

// --- Ending ----------------------------------------------------------------------------------

TEST(MainWindowEnd, DesktopCloseReleasesTheSoundAndWritesNothing) {
    AppRig rig;
    rig.store.values = {{"SoundMode", "2"}, {"SplashScreen", "0"}};
    TForm1& w = rig.create();
    const auto before = rig.store.values;
    rig.sound.calls.clear();
    w.close();
    ASSERT_EQ(rig.sound.calls.size(), 12u);
    EXPECT_EQ(rig.sound.calls.back(), "Close()");
    EXPECT_EQ(rig.store.values, before);
}

TEST(MainWindowEnd, ExitAsksToEndWithoutClosingSteps) {
    AppRig rig;
    TForm1& w = rig.create(false);
    rig.sound.calls.clear();
    w.commands().pm_14_exitClick();
    EXPECT_EQ(rig.shell.quitRequests, 1);
    EXPECT_TRUE(rig.sound.calls.empty());
}

}  // namespace
