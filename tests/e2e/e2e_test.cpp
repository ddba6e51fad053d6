// End-to-end: the real program in a real X server, driven with real keys and clicks, checked by
// reading pixels off the screen. The test skin paints every segment a solid colour of its own,
// so a pixel tells which segment is on top there; the expected picture comes from the same core
// operations run here on a model of the device window.
#include <gtest/gtest.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <fstream>
#include <thread>

#include "app/memory_settings.h"
#include "app/settings_store.h"
#include "display/segment_display.h"
#include "game/game.h"
#include "skin/skin_loader.h"
#include "support/recording_sound.h"
#include "test_skin_colours.h"
#include "x_session.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;

class NullShell final : public Shell {
public:
    void showError(const std::string&) override {}
    void requestQuit() override {}
    void openDocument(const std::string&) override {}
    void openUrl(const std::string&) override {}
    void beep() override {}
    ScreenSize screenSize() const override { return {kScreenW, kScreenH}; }
};

class FixedClock final : public LocalClock {
public:
    TimeOfDay now() const override { return {10, 0}; }
};

// The device window as the program should show it, built from the same skin and operations.
struct Model {
    explicit Model(const std::string& folder, bool fullscreen) {
        const fs::path cwd = fs::current_path();
        fs::current_path(folder);
        Skin_Load(folder, fullscreen, shell, display, presentation);
        fs::current_path(cwd);
        // A digit place shows a glyph's picture, so colours go with pictures, not places.
        for (int id = 0; id < kSegmentCount; ++id)
            if (display.segment(id).picture) owner.emplace(display.segment(id).picture.get(), id);
    }
    // The colour at a window point, or nothing where the program's own pictures are (the game
    // menu button) and the test skin says nothing.
    std::optional<QRgb> colourAt(int x, int y) const {
        for (int id = kSegmentCount - 1; id >= 0; --id) {
            const Segment& s = display.segment(id);
            if (!s.visible || !s.picture || !s.bounds.contains(x, y)) continue;
            const int px = x - s.bounds.left, py = y - s.bounds.top;
            if (px >= s.picture->width || py >= s.picture->height) continue;
            if (s.picture->pixel(px, py)[3] == 0) continue;
            if (id == seg("btn_game_menu_background") || id == seg("im_backdrop") ||
                id == seg("im_backdrop_logo"))
                return std::nullopt;
            const auto it = owner.find(s.picture.get());
            const TestSkinColour c = testSkinColour(it == owner.end() ? id : it->second);
            return qRgb(c.r, c.g, c.b);
        }
        const std::uint32_t bg = presentation.backgroundColour;
        return qRgb(bg & 0xFF, (bg >> 8) & 0xFF, (bg >> 16) & 0xFF);
    }

    NullShell shell;
    SegmentDisplay display;
    std::map<const PictureData*, SegmentId> owner;
    Presentation presentation;
};

// A program folder of its own: the binary beside the test skin's Config.ini, with the samples.
struct Installation {
    Installation(bool testSkin, const std::string& settings) {
        const fs::path root = dir.path().toStdString();
        folder = (root / "program").string();
        fs::create_directories(folder);
        fs::copy_file(TORCHWHEEL_PROGRAM, fs::path(folder) / "torchwheel");
        const fs::path skinSource = testSkin ? fs::path(TORCHWHEEL_TEST_SKIN) : fs::path(TORCHWHEEL_PROGRAM_DIR);
        fs::copy(skinSource / "Config.ini", fs::path(folder) / "Config.ini");
        fs::copy(skinSource / "Graphics", fs::path(folder) / "Graphics", fs::copy_options::recursive);
        fs::copy(fs::path(TORCHWHEEL_PROGRAM_DIR) / "Sound", fs::path(folder) / "Sound",
                 fs::copy_options::recursive);
        if (testSkin) {
            // The screen overlay lies over every LCD segment; without a picture it lets them show.
            std::ifstream in(fs::path(folder) / "Config.ini");
            std::string text((std::istreambuf_iterator<char>(in)), {});
            const auto at = text.find("Filename=im_background_screen_top.png");
            if (at != std::string::npos) text.replace(at, 37, "Filename=nil");
            std::ofstream(fs::path(folder) / "Config.ini") << text;
        }
        configHome = (root / "config").string();
        fs::create_directories(fs::path(configHome) / "Velvane");
        std::ofstream(fs::path(configHome) / "Velvane" / "Qzorvalt50.conf") << "[General]\n" << settings;
    }
    QTemporaryDir dir;
    std::string folder;
    std::string configHome;
};

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!haveCommand("Xvfb") || !haveCommand("xdotool") || !haveCommand("import")) return;
        x_ = new XServer(kScreenW, kScreenH);
    }
    static void TearDownTestSuite() {
        delete x_;
        x_ = nullptr;
    }
    void SetUp() override {
        if (!x_ || !x_->ok()) GTEST_SKIP() << "needs Xvfb, xdotool and ImageMagick's import";
    }

    // Compares the screen with the model at the centre and the corners of every shown segment.
    static int mismatches(const QImage& screen, const QRect& window, const Model& model,
                          std::string* report) {
        int bad = 0;
        for (int id = 0; id < kSegmentCount; ++id) {
            const Segment& s = model.display.segment(id);
            if (!s.visible || !s.picture) continue;
            const int w = std::min(s.bounds.width, s.picture->width);
            const int h = std::min(s.bounds.height, s.picture->height);
            if (w <= 2 || h <= 2) continue;
            const QPoint probes[] = {{s.bounds.left + w / 2, s.bounds.top + h / 2},
                                     {s.bounds.left + 1, s.bounds.top + 1},
                                     {s.bounds.left + w - 2, s.bounds.top + h - 2}};
            for (const QPoint& p : probes) {
                const QPoint on = window.topLeft() + p;
                if (!screen.rect().contains(on) || !window.contains(on)) continue;
                const auto expected = model.colourAt(p.x(), p.y());
                if (!expected) continue;
                const QRgb actual = screen.pixel(on) & 0xFFFFFF;
                if (actual != (*expected & 0xFFFFFF)) {
                    ++bad;
                    if (report && bad <= 5)
                        *report += std::string(s.name) + " at " + std::to_string(p.x()) + "," +
                                   std::to_string(p.y()) + ": expected " +
                                   QString::number(*expected & 0xFFFFFF, 16).toStdString() +
                                   " got " + QString::number(actual, 16).toStdString() + "\n";
                }
            }
        }
        return bad;
    }

    // Waits until the screen matches the model (painting is asynchronous), or gives up.
    static void expectScreenMatches(const QRect& window, const Model& model) {
        std::string report;
        int bad = -1;
        for (int attempt = 0; attempt < 30 && bad != 0; ++attempt) {
            report.clear();
            bad = mismatches(x_->screenshot(), window, model, &report);
            if (bad) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_EQ(bad, 0) << report;
    }

    static XServer* x_;
};
XServer* EndToEnd::x_ = nullptr;

const char* kStartWindowed = "SoundMode=0\nSplashScreen=0\nFullscreenMode=0\n";
const char* kStartFullScreen = "SoundMode=0\nSplashScreen=0\nFullscreenMode=1\n";

// A game engine over the model, to apply the same button operations as the program.
struct ModelGame {
    explicit ModelGame(Model& m)
        : store(backend), sound(library), game({m.display, scheduler, sound, store, random, clock}) {}
    MemorySettingsBackend backend;
    SettingsStore store;
    Scheduler scheduler;
    RecordingSoundLibrary library;
    SoundSystem sound;
    SeededRandom random{1};
    FixedClock clock;
    Game game;
};

TEST_F(EndToEnd, ClosedDeviceOpensWithTheAclKeyAndLightsEverySegment) {
    Installation inst(true, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "the device window did not appear";
    Model model(inst.folder, false);
    EXPECT_EQ(window.size(), QSize(model.presentation.clientWidth, model.presentation.clientHeight));
    EXPECT_EQ(window.topLeft(), QPoint((kScreenW - window.width()) / 2, (kScreenH - window.height()) / 2));
    expectScreenMatches(window, model);

    ModelGame m(model);
    m.game.Inp_open_down();
    x_->xdotool("key 5");
    expectScreenMatches(window, model);
    EXPECT_TRUE(model.display.isVisible(seg("im_panel_game_a")));
}

TEST_F(EndToEnd, GameStartsOnReleaseAndTheHeroWalksAcross) {
    Installation inst(true, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "running: " << program.running();
    Model model(inst.folder, false);
    x_->xdotool("key 5");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    x_->xdotool("key 1");
    // The start walk shows the hero at positions 1, 2, 3 and 4 in turn, about 375 ms apart.
    std::array<bool, 4> seen{};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (std::chrono::steady_clock::now() < end) {
        const QImage screen = x_->screenshot();
        for (int p = 1; p <= 4; ++p) {
            // Any part of the hero at p painted at the middle of its base means it stands there.
            const Rect r = model.display.segment(model.display.hero(p, groups::Base)).bounds;
            const QPoint at = window.topLeft() + QPoint(r.left + r.width / 2, r.top + r.height / 2);
            for (int part = 0; part < groups::kHeroParts; ++part) {
                const TestSkinColour c =
                    testSkinColour(model.display.hero(p, static_cast<groups::HeroPart>(part)));
                if ((screen.pixel(at) & 0xFFFFFF) == (qRgb(c.r, c.g, c.b) & 0xFFFFFF))
                    seen[p - 1] = true;
            }
        }
    }
    for (int p = 0; p < 4; ++p) EXPECT_TRUE(seen[p]) << "hero never seen at position " << p + 1;
    EXPECT_TRUE(program.running());
}

TEST_F(EndToEnd, MouseClicksPressTheButtonsOnThePicture) {
    Installation inst(true, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "running: " << program.running();
    Model model(inst.folder, false);
    ModelGame m(model);
    auto centre = [&](const char* name) {
        const Rect r = model.display.segment(findSegment(name)).bounds;
        return window.topLeft() + QPoint(r.left + r.width / 2, r.top + r.height / 2);
    };
    const QPoint open = centre("btn_open");
    x_->xdotool("mousemove " + std::to_string(open.x()) + " " + std::to_string(open.y()) + " click 1");
    m.game.Inp_open_down();
    expectScreenMatches(window, model);
    // Holding GAME A with the mouse shows the high score of game A.
    const QPoint a = centre("btn_game_a_top");
    x_->xdotool("mousemove " + std::to_string(a.x()) + " " + std::to_string(a.y()) + " mousedown 1");
    m.game.Inp_game_a_down();
    expectScreenMatches(window, model);
    x_->xdotool("mouseup 1");
}

TEST_F(EndToEnd, FullScreenCoversTheScreenWithTheDeviceCentred) {
    Installation inst(true, kStartFullScreen);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "running: " << program.running();
    EXPECT_EQ(window, QRect(0, 0, kScreenW, kScreenH));
    Model model(inst.folder, true);
    expectScreenMatches(window, model);
}

TEST_F(EndToEnd, KeyColourPixelsLetTheMouseThrough) {
    Installation inst(false, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "running: " << program.running();
    Model model(inst.folder, false);
    const std::string ours = x_->xdotool("search --onlyvisible --name 'Torchwheel \\(Kestrova'");
    // Find a see-through pixel of the default skin (its rounded corner) and a solid one.
    std::optional<QPoint> clear;
    for (int d = 0; d < 60 && !clear; ++d)
        if (model.colourAt(d, d) == qRgb(255, 0, 255)) clear = QPoint(d, d);
    ASSERT_TRUE(clear.has_value()) << "the default skin has no key-colour corner";
    // The desktop shows through there, not the key colour.
    EXPECT_NE(x_->screenshot().pixel(window.topLeft() + *clear) & 0xFFFFFF, 0xFF00FFu);
    auto windowUnder = [&](QPoint p) {
        const QPoint at = window.topLeft() + p;
        x_->xdotool("mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string out = x_->xdotool("getmouselocation --shell");
        const auto pos = out.find("WINDOW=");
        return pos == std::string::npos ? std::string() : out.substr(pos + 7, out.find('\n', pos) - pos - 7);
    };
    const std::string overDevice = windowUnder(QPoint(window.width() / 2, window.height() / 2));
    const std::string overCorner = windowUnder(*clear);
    ASSERT_FALSE(overDevice.empty());
    ASSERT_FALSE(overCorner.empty());
    EXPECT_NE(ours.find(overDevice), std::string::npos) << "the device itself takes the pointer";
    EXPECT_EQ(ours.find(overCorner), std::string::npos) << "a key-colour pixel took the pointer";
}

}  // namespace

namespace {

TEST_F(EndToEnd, RightClickOpensTheContextMenuAndAnItemCanBeChosen) {
    Installation inst(true, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "running: " << program.running();
    auto visibleWindows = [&] {
        std::istringstream ids(x_->xdotool("search --onlyvisible --name ''"));
        int n = 0;
        for (std::string id; ids >> id;) ++n;
        return n;
    };
    const int before = visibleWindows();
    const QPoint at = window.center();
    x_->xdotool("mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 3");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // The menu is a window of its own.
    EXPECT_GT(visibleWindows(), before) << "no menu window appeared";
    // The eighth item is "Display in fullscreen mode".
    x_->xdotool("key --delay 50 Down Down Down Down Down Down Down Down Return");
    QRect now;
    for (int i = 0; i < 50; ++i) {
        now = program.waitForWindow();
        if (now.size() == QSize(kScreenW, kScreenH)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(now, QRect(0, 0, kScreenW, kScreenH));
    const std::string conf = runCommand("cat '" + inst.configHome + "/Velvane/Qzorvalt50.conf'");
    EXPECT_NE(conf.find("FullscreenMode=1"), std::string::npos) << conf;
}

TEST_F(EndToEnd, InterruptAndTerminateEndTheProgramLikeExitWithTheSoundOpen) {
    for (const int signal : {SIGINT, SIGTERM}) {
        Installation inst(true, kStartWindowed);  // the sound opens at once, on SDL's dummy device
        Program program(*x_, inst.folder, inst.configHome);
        ASSERT_FALSE(program.waitForWindow().isEmpty());
        EXPECT_EQ(program.endWith(signal), 0) << "signal " << signal;
    }
}

}  // namespace
