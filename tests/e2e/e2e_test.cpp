// End-to-end: the real program in a real X server, driven with real keys and clicks, checked by
// reading pixels off the screen. The test skin paints every segment a solid colour of its own,
// so a pixel tells which segment is on top there; the expected picture comes from the same core
// operations run here on a model of the device window.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "core/device.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"
#include "support/settable_clock.h"
#include "test_skin_colours.h"
#include "x_session.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScreenW = 1024;
constexpr int kScreenH = 768;

// The device window as the program should show it, built from the same skin and operations.
struct Model {
    // The skin laid out for a monitor of this size (in the desktop's logical pixels), shown
    // `zoom` times its size.
    Model(const std::string& folder, bool fullscreen, ScreenSize monitor = {kScreenW, kScreenH},
          double zoom = 1.0) {
        shell.screen = monitor;
        const fs::path cwd = fs::current_path();
        fs::current_path(folder);
        device.loadSkin(folder, fullscreen, zoom);
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

    RecordingSettings backend;
    RecordingSoundLibrary library;
    RecordingShell shell;
    SeededRandom random{1};
    SettableClock clock{10, 0};
    Device device{DeviceSeams{backend, library, shell, &clock, &random}};
    const SegmentDisplay& display = device.display();
    const Presentation& presentation = device.presentation();
    std::map<const PictureData*, SegmentId> owner;
};

// A program folder of its own: the binary beside the test skin's Config.ini, with the samples.
struct Installation {
    Installation(bool testSkin, const std::string& settings) {
        const fs::path root = dir.path().toStdString();
        folder = (root / "program").string();
        fs::create_directories(folder);
        fs::copy_file(TORCHWHEEL_PROGRAM, fs::path(folder) / "torchwheel");
        const fs::path skinSource =
            testSkin ? fs::path(TORCHWHEEL_TEST_SKIN) : fs::path(TORCHWHEEL_PROGRAM_DIR);
        fs::copy(skinSource / "Config.ini", fs::path(folder) / "Config.ini");
        fs::copy(skinSource / "Graphics", fs::path(folder) / "Graphics",
                 fs::copy_options::recursive);
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
        std::ofstream(fs::path(configHome) / "Velvane" / "Qzorvalt50.conf") << "[General]\n"
                                                                            << settings;
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

    // Compares the screen with the model at the centre and the corners of every shown segment,
    // the skin shown `factor` screen pixels to one of its own: skin pixel k begins at screen
    // pixel round(k * factor) of the window.
    static int mismatches(const QImage& screen, const QRect& window, const Model& model,
                          std::string* report, double factor = 1.0) {
        const auto edge = [factor](int k) {
            return static_cast<int>(std::floor(k * factor + 0.5));
        };
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
                const QPoint on = window.topLeft() + QPoint(edge(p.x()), edge(p.y()));
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

  public:
    static int mismatchesAt(const QImage& screen, const QRect& window, const Model& model,
                            std::string* report, double factor) {
        return mismatches(screen, window, model, report, factor);
    }

  protected:
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

TEST_F(EndToEnd, ClosedDeviceOpensWithTheAclKeyAndLightsEverySegment) {
    Installation inst(true, kStartWindowed);
    Program program(*x_, inst.folder, inst.configHome);
    const QRect window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "the device window did not appear";
    Model model(inst.folder, false);
    EXPECT_EQ(window.size(),
              QSize(model.presentation.clientWidth, model.presentation.clientHeight));
    EXPECT_EQ(window.topLeft(),
              QPoint((kScreenW - window.width()) / 2, (kScreenH - window.height()) / 2));
    expectScreenMatches(window, model);

    Game& game = model.device.game();
    game.Inp_open_down();
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
    Game& game = model.device.game();
    auto centre = [&](const char* name) {
        const Rect r = model.display.segment(findSegment(name)).bounds;
        return window.topLeft() + QPoint(r.left + r.width / 2, r.top + r.height / 2);
    };
    const QPoint open = centre("btn_open");
    x_->xdotool("mousemove " + std::to_string(open.x()) + " " + std::to_string(open.y()) +
                " click 1");
    game.Inp_open_down();
    expectScreenMatches(window, model);
    // Holding GAME A with the mouse shows the high score of game A.
    const QPoint a = centre("btn_game_a_top");
    x_->xdotool("mousemove " + std::to_string(a.x()) + " " + std::to_string(a.y()) +
                " mousedown 1");
    game.Inp_game_a_down();
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
        return pos == std::string::npos ? std::string()
                                        : out.substr(pos + 7, out.find('\n', pos) - pos - 7);
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

// --- The same session on real desktops ---------------------------------------------------------

namespace {

constexpr QRgb kNavy = 0x082952;  // the backgrounds of the key settings dialog, the about box and
                                  // the splash screen's bottom band
constexpr QRgb kKeyColour = 0xFF00FF;

int countColour(const QImage& screen, QRgb colour) {
    int n = 0;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) n += (line[x] & 0xFFFFFF) == colour;
    }
    return n;
}

QRgb colourOf(const char* segment) {
    const TestSkinColour c = testSkinColour(findSegment(segment));
    return qRgb(c.r, c.g, c.b) & 0xFFFFFF;
}

// Where the device window stands, found by the top-left corner of its open button.
std::optional<QPoint> deviceOrigin(const QImage& screen, const Model& model) {
    const QRgb open = colourOf("btn_open");
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if ((screen.pixel(x, y) & 0xFFFFFF) == open) {
                const Rect r = model.display.segment(findSegment("btn_open")).bounds;
                return QPoint(x - r.left, y - r.top);
            }
    return std::nullopt;
}

struct DesktopCase {
    const char* name;
    Desktop desktop;
};
// Names the case in test listings and failures.
void PrintTo(const DesktopCase& c, std::ostream* out) {
    *out << c.name;
}

class OnDesktop : public EndToEnd, public ::testing::WithParamInterface<DesktopCase> {
  protected:
    void SetUp() override {
        for (const char* tool :
             {"Xvfb", "xdotool", "import", "xprop", "openbox", "tint2", "weston"})
            if (!haveCommand(tool)) GTEST_SKIP() << "needs " << tool;
        desktop_ = std::make_unique<DesktopSession>(GetParam().desktop, kScreenW, kScreenH);
        if (!desktop_->ok()) GTEST_SKIP() << "the desktop did not start";
        host().xdotool("mousemove 1 " + std::to_string(kScreenH / 2));
    }
    // weston's X11 backend moves its pointer by the differences between motion events and keeps
    // it on its output, so it can start off from the X pointer; pushing both against opposite
    // corners brings them together.
    void alignPointer() const {
        host().xdotool("mousemove 0 0 sleep 0.2 mousemove " + std::to_string(kScreenW - 1) + " " +
                       std::to_string(kScreenH - 1) + " sleep 0.2 mousemove 1 " +
                       std::to_string(kScreenH / 2));
    }
    const XServer& host() const { return desktop_->host(); }
    void key(const std::string& keys) const { host().xdotool("key --delay 80 " + keys); }
    // A click, with the pointer then parked at the left edge: a compositor draws it into the
    // screen's pixels. The pointer is stirred by a pixel at the spot before the press: weston 14
    // tells XWayland the move that took the pointer into another window after the entry itself,
    // and XWayland moves its pointer by it a second time, so a press straight after a jump would
    // land as far again beyond the spot, on another window or on none.
    void clickAt(QPoint p, int button = 1) const {
        const std::string at = std::to_string(p.x()) + " " + std::to_string(p.y());
        const std::string beside = std::to_string(p.x() + 1) + " " + std::to_string(p.y());
        host().xdotool("mousemove " + at + " sleep 0.1 mousemove " + beside +
                       " sleep 0.1 mousemove " + at + " sleep 0.1 click " + std::to_string(button));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        if (button == 1) host().xdotool("mousemove 1 " + std::to_string(kScreenH / 2));
    }
    // Opens the context menu at p and, once it shows there, picks the item `downs` steps down.
    void chooseFromMenu(QPoint p, int downs) const {
        const QPoint inMenu = p + QPoint(12, 12);
        const QRgb before = host().screenshot().pixel(inMenu);
        clickAt(p, 3);
        bool shown = false;
        for (int attempt = 0; attempt < 50 && !shown; ++attempt) {
            shown = host().screenshot().pixel(inMenu) != before;
            if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_TRUE(shown) << "no menu at " << p.x() << "," << p.y();
        // A menu drawn is not yet a menu holding the keys: on a loaded machine weston hands them
        // over a moment later, and keys sent before are lost while the menu stays.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const QRgb menu = host().screenshot().pixel(inMenu);
        std::string keys;
        for (int i = 0; i < downs; ++i) keys += "Down ";
        for (int attempt = 0; attempt < 3; ++attempt) {
            key(keys + "Return");
            bool gone = false;
            for (int i = 0; i < 30 && !gone; ++i) {
                gone = host().screenshot().pixel(inMenu) != menu;
                if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (gone) return;
        }
    }
    // The X11 window properties of the program's window named `title`, or "" without X11.
    std::string x11(const std::string& what) const {
        if (desktop_->programX().empty()) return "";
        return runCommand("DISPLAY=" + desktop_->programX() + " " + what + " 2>/dev/null");
    }
    std::string deviceState() const {
        const std::string id = x11("xdotool search --onlyvisible --name '^Torchwheel .Kestrova'");
        return id.empty() ? "" : x11("xprop -id " + id.substr(0, id.find('\n')) + " _NET_WM_STATE");
    }
    // Waits for the screen to show the device in this presentation; returns the window found.
    QRect expectPresented(const Model& model, bool fullScreen) const {
        const QSize size(model.presentation.clientWidth, model.presentation.clientHeight);
        std::string report;
        QRect window;
        for (int attempt = 0; attempt < 40 && (attempt == 0 || !report.empty()); ++attempt) {
            if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const QImage screen = host().screenshot();
            const auto origin =
                fullScreen ? std::optional(QPoint(0, 0)) : deviceOrigin(screen, model);
            report = origin ? "" : "device not found\n";
            if (!origin) continue;
            window = QRect(*origin, size);
            mismatches(screen, window, model, &report);
            if (!fullScreen && countColour(screen, kKeyColour)) report += "key colour shows\n";
            // The panel (tint2 at the bottom, weston's at the top) is below the game.
            for (const QPoint p : {QPoint(kScreenW - 40, 4), QPoint(kScreenW - 40, kScreenH - 4)})
                if (fullScreen && (screen.pixel(p) ^ *model.colourAt(p.x(), p.y())) & 0xFFFFFF)
                    report += "the panel shows at " + std::to_string(p.y()) + "\n";
            // A loaded window manager may draw the window before it updates its state.
            const bool stateSet =
                deviceState().find("_NET_WM_STATE_FULLSCREEN") != std::string::npos;
            if (!desktop_->programX().empty() && stateSet != fullScreen)
                report += std::string("full-screen state ") + (stateSet ? "set\n" : "not set\n");
        }
        EXPECT_EQ(report, "");
        if (!fullScreen && GetParam().desktop != Desktop::WestonWayland) {
            EXPECT_EQ(window.topLeft(),
                      QPoint((kScreenW - size.width()) / 2, (kScreenH - size.height()) / 2));
        }
        return window;
    }
    // A point of the device window that is the device photograph (no button, no key colour).
    static QPoint photoPoint(const Model& model) {
        for (int y = 0; y < model.presentation.clientHeight; y += 4)
            for (int x = 0; x < model.presentation.clientWidth; x += 4)
                if (model.colourAt(x, y) == (0xFF000000u | colourOf("im_background_bottom")))
                    return {x, y};
        ADD_FAILURE() << "the device photograph shows nowhere";
        return {};
    }
    // Clicks the middle of the pixels of this colour and presses Esc there. A few such pixels
    // are no window (a panel's clock text is white): Esc would reach the device and end it.
    void closeWindowShowing(QRgb colour) const {
        const QImage screen = host().screenshot();
        QRect box;
        int seen = 0;
        for (int y = 0; y < screen.height(); y += 2)
            for (int x = 0; x < screen.width(); x += 2)
                if ((screen.pixel(x, y) & 0xFFFFFF) == colour) {
                    box |= QRect(x, y, 1, 1);
                    ++seen;
                }
        if (seen < 1000) {
            ADD_FAILURE() << "no window showing " << std::hex << colour;
            return;
        }
        clickAt(box.center());
        key("Escape");
        EXPECT_TRUE(waitForColour(colour, 0, 2000)) << "still showing: " << std::hex << colour;
    }
    // Waits until the number of pixels of the colour is within [least, most].
    // Up to 8 s: a loaded machine may take that long to map a window.
    bool waitForColour(QRgb colour, int least, int most = kScreenW * kScreenH) const {
        for (int attempt = 0; attempt < 80; ++attempt) {
            const int n = countColour(host().screenshot(), colour);
            if (n >= least && n <= most) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::unique_ptr<DesktopSession> desktop_;
};

TEST_P(OnDesktop, PresentationDialogsAndEndBehaveAsOnEveryDesktop) {
    Installation inst(true, "");
    Program program(desktop_->programEnv(), host(), inst.folder, inst.configHome);
    Model full(inst.folder, true), windowed(inst.folder, false);

    // Before play only the splash screen is seen, never the device.
    ASSERT_TRUE(waitForColour(kNavy, 5000)) << "no splash screen";
    EXPECT_EQ(countColour(host().screenshot(), colourOf("im_background_bottom")), 0);
    EXPECT_EQ(x11("xdotool search --onlyvisible --name '^Torchwheel .Kestrova'"), "");
    key("Down Return");
    expectPresented(full, true);

    // F12 there and back four times; the device's clock goes on throughout.
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("toggle " + std::to_string(i + 1));
        key("F12");
        expectPresented(i % 2 ? full : windowed, i % 2 == 1);
        ASSERT_TRUE(program.running());
    }

    bool fullNow = true;
    alignPointer();
    // The key settings dialog stays in front of the disabled device and keeps the keys.
    chooseFromMenu(QPoint(kScreenW / 2, kScreenH / 2), 6);
    ASSERT_TRUE(waitForColour(kNavy, 40000)) << "no key settings dialog";
    // Captions are exactly the window's own, without the program's name added.
    if (!desktop_->programX().empty()) {
        EXPECT_NE(x11("xdotool search --onlyvisible --name '^Key settings$'"), "");
    }
    clickAt(photoPoint(full));
    EXPECT_TRUE(waitForColour(kNavy, 40000)) << "the dialog went behind the device";
    key("Escape");
    EXPECT_TRUE(waitForColour(kNavy, 0, 0)) << "Esc did not reach the dialog";

    // The manual and the about box stay above the device in both presentations.
    for (const bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
        const Model& model = fullScreen ? full : windowed;
        const QRect window = expectPresented(model, fullScreen);
        // Each shortcut acts on the device window, which a click gives the keys.
        const QPoint photo = window.topLeft() + photoPoint(model);
        clickAt(photo);
        key("F4");
        // The manual is up before the menu is opened: a window mapped meanwhile would look like
        // the menu to chooseFromMenu.
        ASSERT_TRUE(waitForColour(0xFFFFFF, 100000)) << "no manual";
        // The about box comes from the menu: weston leaves the keys with the manual when
        // the device is clicked, so F1 would reach the manual there.
        chooseFromMenu(photo, 1);
        ASSERT_TRUE(waitForColour(kNavy, 30000)) << "no about box";
        clickAt(photo);
        EXPECT_TRUE(waitForColour(kNavy, 30000)) << "the about box went behind the device";
        EXPECT_TRUE(waitForColour(0xFFFFFF, 100000)) << "the manual went behind the device";
        // Each closes with Esc once it has the keys.
        closeWindowShowing(kNavy);
        closeWindowShowing(0xFFFFFF);
        clickAt(photo);
        key("F12");
        fullNow = !fullScreen;
    }

    // Esc ends the program at once (the device has the keys after a click on it).
    const Model& model = fullNow ? full : windowed;
    const QRect window = expectPresented(model, fullNow);
    clickAt(window.topLeft() + photoPoint(model));
    const auto pressed = std::chrono::steady_clock::now();
    key("Escape");
    EXPECT_TRUE(program.waitForExit(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(1000));
}

INSTANTIATE_TEST_SUITE_P(Desktops, OnDesktop,
                         ::testing::Values(DesktopCase{"OpenboxWithPanel", Desktop::Openbox},
                                           DesktopCase{"WestonXWayland", Desktop::WestonXWayland},
                                           DesktopCase{"WestonWayland", Desktop::WestonWayland}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// --- Screens: several monitors, a monitor that changes, dot densities, zoom -------------------

namespace {

struct ScreenCase {
    const char* name;
    QSize server;                    // the X screen
    std::vector<std::string> setup;  // xrandr and xrdb commands before the program starts
    const char* settings;            // what the store holds at start
    QRect monitor;                   // the device's monitor, in screen pixels
    double ratio;                    // the desktop's scale there
    double zoom;                     // the player's, as the store names it
    std::string change;              // an xrandr command once the device is shown ("" none)
    QRect changed;                   // the device's monitor after it
};
void PrintTo(const ScreenCase& c, std::ostream* out) {
    *out << c.name;
}

const char* kTwoMonitors = "xrandr --setmonitor left 1920/508x1080/286+0+0 none";
const char* kPrimaryRight = "xrandr --setmonitor '*right' 1920/508x1080/286+1920+0 screen";

class OnScreens : public ::testing::TestWithParam<ScreenCase> {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import", "xrandr", "xrdb"})
            if (!haveCommand(tool)) GTEST_SKIP() << "needs " << tool;
        x_ = std::make_unique<XServer>(GetParam().server.width(), GetParam().server.height());
        if (!x_->ok()) GTEST_SKIP() << "Xvfb did not start";
        for (const std::string& command : GetParam().setup) runCommand(x_->env() + command);
    }
    // Waits for the device window at this place and checks every shown segment's pixels there.
    void expectShown(Program& program, const Installation& inst, QRect monitor, bool fullscreen) {
        const ScreenCase& c = GetParam();
        const double factor = c.ratio * c.zoom;
        const ScreenSize logical{static_cast<int>(monitor.width() / c.ratio),
                                 static_cast<int>(monitor.height() / c.ratio)};
        const Model model(inst.folder, fullscreen, logical, c.zoom);
        const auto shown = [&](int side) { return static_cast<int>(std::lround(side * factor)); };
        const QSize size = fullscreen ? monitor.size()
                                      : QSize(shown(model.presentation.clientWidth),
                                              shown(model.presentation.clientHeight));
        const QRect expected(
            monitor.topLeft() + QPoint(std::max(0, monitor.width() - size.width()) / 2,
                                       std::max(0, monitor.height() - size.height()) / 2),
            size);
        QRect window;
        for (int i = 0; i < 100 && window != expected; ++i) {
            window = program.waitForWindow();
            if (window != expected) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_EQ(window, expected);
        std::string report;
        int bad = -1;
        for (int attempt = 0; attempt < 30 && bad != 0; ++attempt) {
            report.clear();
            bad = EndToEnd::mismatchesAt(x_->screenshot(), window, model, &report, factor);
            if (bad) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        EXPECT_EQ(bad, 0) << report;
    }
    std::unique_ptr<XServer> x_;
};

TEST_P(OnScreens, TheDeviceIsShownOnItsMonitorAtTheDesktopsScaleAndFollowsIt) {
    const ScreenCase& c = GetParam();
    Installation inst(true, c.settings);
    Program program(*x_, inst.folder, inst.configHome);
    const bool fullscreen = std::string(c.settings).find("FullscreenMode=1") != std::string::npos;
    expectShown(program, inst, c.monitor, fullscreen);
    if (c.change.empty()) return;
    runCommand(x_->env() + c.change);
    expectShown(program, inst, c.changed, fullscreen);
    EXPECT_TRUE(program.running());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, OnScreens,
    ::testing::Values(
        ScreenCase{"TwoMonitorsWindowedOnThePrimaryAtTheRight",
                   {3840, 1080},
                   {kTwoMonitors, kPrimaryRight},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=0\n",
                   {1920, 0, 1920, 1080},
                   1.0,
                   1.0,
                   "",
                   {}},
        ScreenCase{"NoPrimaryThePointersMonitor",
                   {3840, 1080},
                   {kTwoMonitors, "xrandr --setmonitor right 1920/508x1080/286+1920+0 screen",
                    "xdotool mousemove 2500 500"},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=0\n",
                   {1920, 0, 1920, 1080},
                   1.0,
                   1.0,
                   "",
                   {}},
        ScreenCase{"FullScreenCoversThePrimaryOfTwoSizes",
                   {3200, 1080},
                   {"xrandr --setmonitor left 1280/338x1024/270+0+0 none",
                    "xrandr --setmonitor '*right' 1920/508x1080/286+1280+0 screen"},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=1\n",
                   {1280, 0, 1920, 1080},
                   1.0,
                   1.0,
                   "",
                   {}},
        ScreenCase{"FullScreenFollowsTheScreensNewSize",
                   {3840, 2160},
                   {"xrandr --newmode 1920x1080 173.00 1920 2048 2248 2576 1080 1083 1088 1120",
                    "xrandr --addmode screen 1920x1080"},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=1\n",
                   {0, 0, 3840, 2160},
                   1.0,
                   1.0,
                   "xrandr --output screen --mode 1920x1080 --fb 1920x1080",
                   {0, 0, 1920, 1080}},
        ScreenCase{"WindowedAt192Dpi",
                   {1920, 1200},
                   {"sh -c \"echo 'Xft.dpi: 192' | xrdb -merge\""},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=0\n",
                   {0, 0, 1920, 1200},
                   2.0,
                   1.0,
                   "",
                   {}},
        ScreenCase{"FitToScreenOn3840x2160",
                   {3840, 2160},
                   {},
                   "SoundMode=0\nSplashScreen=0\nFullscreenMode=1\nZoom=0\n",
                   {0, 0, 3840, 2160},
                   1.0,
                   4.5,
                   "",
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
