#include "core/skin/skin_loader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/skin/skin_check.h"
#include "image_writers.h"
#include "skin_test_support.h"

using namespace testimg;

namespace {

constexpr SegmentId kBottom = seg("im_background_bottom");  // section 1, see-through
constexpr SegmentId kOpen = seg("btn_open");                // section 5, opaque
constexpr SegmentId kBackdrop = seg("im_backdrop");
constexpr SegmentId kLogo = seg("im_backdrop_logo");
constexpr SegmentId kMenuTop = seg("btn_game_menu_top");
constexpr SegmentId kMenuBackground = seg("btn_game_menu_background");
const std::string kNotFound =
    "Configuration file (Config.ini) not found. Please reinstall the game.";

class SkinLoaderTest : public ScratchDirTest {
  protected:
    // Config.ini goes into the program folder; pictures are found from the working directory.
    void config(const std::string& text) { writeText("prog/Config.ini", text); }
    void load(bool fullscreen) {
        Skin_Load(path("prog"), fullscreen, shell, display, presentation);
    }
    void bmp(const std::string& relative, const RgbImage& image, BmpOptions o = {}) {
        std::filesystem::create_directories((dir_ / relative).parent_path());
        writeFile(path(relative), writeBmp(image, o));
    }
    const Segment& s(SegmentId id) const { return display.segment(id); }

    RecordingShell shell;
    SegmentDisplay display;
    Presentation presentation;
};

bool isPlaceholder(const Picture& p) {
    return p && p->width == 10 && p->height == 10 && pixelAt(p, 5, 5) == Rgba{255, 0, 0, 255};
}

// --- Windowed and full-screen presentation ---

TEST_F(SkinLoaderTest, WindowedDefaultsGiveTheGameSizeAndAMagentaKey) {
    config("[Image1]\nLeft=10\nTop=20\nWidth=30\nHeight=40\n");
    load(false);
    EXPECT_EQ(presentation.clientWidth, 498);
    EXPECT_EQ(presentation.clientHeight, 771);
    EXPECT_EQ(presentation.backgroundColour, 0x00FF00FFu);
    EXPECT_TRUE(presentation.colourKeyOn);
    EXPECT_EQ(presentation.colourKey, 0x00FF00FFu);
    EXPECT_FALSE(presentation.fullscreen);
    EXPECT_FALSE(s(kBackdrop).visible);
    EXPECT_FALSE(s(kLogo).visible);
    EXPECT_FALSE(s(kMenuTop).visible);
    EXPECT_FALSE(s(kMenuBackground).visible);
    EXPECT_EQ(s(kBottom).bounds, (Rect{10, 20, 30, 40}));  // no offset
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(shell.quitRequests, 0);
}

TEST_F(SkinLoaderTest, FullScreenWithDefaultKeysCentresTheGameOn1024By768) {
    config("[Image1]\nWidth=5\nHeight=6\n[Image113]\nLeft=100\nTop=50\n");
    shell.screen = {1024, 768};
    load(true);
    EXPECT_EQ(presentation.clientWidth, 1024);
    EXPECT_EQ(presentation.clientHeight, 768);
    EXPECT_EQ(s(kBottom).bounds, (Rect{263, -1, 5, 6}));  // 768 - 771 = -3, halved toward zero
    EXPECT_EQ(s(seg("im_character_2_2")).bounds.left, 363);
    EXPECT_EQ(s(seg("im_character_2_2")).bounds.top, 49);
    EXPECT_EQ(presentation.backgroundColour, 0u);
    EXPECT_FALSE(presentation.colourKeyOn);
    EXPECT_TRUE(presentation.fullscreen);
    EXPECT_TRUE(s(kMenuTop).visible);
    EXPECT_TRUE(s(kMenuBackground).visible);
    EXPECT_EQ(s(kMenuBackground).bounds, (Rect{0, 0, 36, 32}));
    EXPECT_EQ(s(kBackdrop).bounds, (Rect{0, 0, 1024, 768}));
}

TEST_F(SkinLoaderTest, OffsetZeroCentresLikeCenterAndMinusTwentyMovesLeft) {
    shell.screen = {1000, 800};
    config("[Fullscreen]\nGameOffsetX=0\nGameOffsetY=Center\n");
    load(true);
    EXPECT_EQ(s(kBottom).bounds.left, 251);  // (1000 - 498) / 2
    EXPECT_EQ(s(kBottom).bounds.top, 14);    // (800 - 771) / 2 = 14.5

    config("[Fullscreen]\nGameOffsetX=-20\nGameOffsetY=$10\n[Image1]\nLeft=100\nTop=1\n");
    load(true);
    EXPECT_EQ(s(kBottom).bounds.left, 80);
    EXPECT_EQ(s(kBottom).bounds.top, 17);
}

TEST_F(SkinLoaderTest, CentringTruncatesTowardZeroOnBothSides) {
    config("");
    shell.screen = {1023, 768};
    load(true);
    EXPECT_EQ(s(kBottom).bounds.left, 262);  // 262.5

    config("[Common]\nGameWidth=1001\n");
    shell.screen = {800, 600};
    load(true);
    EXPECT_EQ(s(kBottom).bounds.left, -100);  // -100.5
}

TEST_F(SkinLoaderTest, GameSizeReadsHexadecimalAndFallsBackOnText) {
    config("[Common]\nGameWidth=0x200\nGameHeight=abc\n");
    load(false);
    EXPECT_EQ(presentation.clientWidth, 512);
    EXPECT_EQ(presentation.clientHeight, 771);

    // Sizes beyond any screen are cut back for the windows; full screen centres by the given size.
    config("[Common]\nGameWidth=30000\nGameHeight=$1000000\n[Manual]\nManualHeight=$1000000\n");
    load(false);
    EXPECT_EQ(presentation.clientWidth, 8192);
    EXPECT_EQ(presentation.clientHeight, 2048);
    const ManualPages manual = Skin_Load_Manual(path("prog"), shell);
    EXPECT_EQ(manual.clientHeight, 8192);
    load(true);
    EXPECT_EQ(s(kBottom).bounds.left, (1024 - 30000) / 2);
}

TEST_F(SkinLoaderTest, ColoursThatAreNotIntegersFallBackToTheirDefaults) {
    config("[VideoMode]\nTranspColor=pink\n[Fullscreen]\nBgColor=navy\n");
    load(false);
    EXPECT_EQ(presentation.colourKey, 0x00FF00FFu);
    load(true);
    EXPECT_EQ(presentation.backgroundColour, 0u);
    config("[VideoMode]\nTranspColor=$00123456\n[Fullscreen]\nBgColor=$00ABCDEF\n");
    load(false);
    EXPECT_EQ(presentation.colourKey, 0x00123456u);
    load(true);
    EXPECT_EQ(presentation.backgroundColour, 0x00ABCDEFu);
    EXPECT_EQ(presentation.colourKey, 0x00123456u);  // switched off, not forgotten
}

// --- Logo and backdrop ---

TEST_F(SkinLoaderTest, LogoGoesToItsCornerWithItsOwnSize) {
    bmp("Graphics/Backdrop/logo.bmp", cornerImage(64, 64));
    shell.screen = {1280, 1024};
    const std::pair<int, Rect> cases[] = {{0, {0, 0, 64, 64}},
                                          {1, {1216, 0, 64, 64}},
                                          {2, {0, 960, 64, 64}},
                                          {3, {1216, 960, 64, 64}}};
    for (const auto& [position, rect] : cases) {
        config("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=" + std::to_string(position) + "\n");
        load(true);
        EXPECT_EQ(s(kLogo).bounds, rect) << position;
        EXPECT_TRUE(s(kLogo).visible);
        ASSERT_TRUE(s(kLogo).picture);
        EXPECT_EQ(pixelAt(s(kLogo).picture, 0, 63).a,
                  0);  // see-through: bottom-left colour left out
    }
    // A screen the game (498 x 771) nearly fills: the device would cover part of the logo.
    shell.screen = {520, 800};
    load(true);
    EXPECT_FALSE(s(kLogo).visible);
}

TEST_F(SkinLoaderTest, UnknownLogoPositionLeavesTheLogoWhereItWas) {
    bmp("Graphics/Backdrop/logo.bmp", cornerImage(64, 64));
    shell.screen = {1280, 1024};
    config("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=7\n");
    load(true);
    EXPECT_EQ(s(kLogo).bounds, (Rect{0, 0, 64, 64}));
    config("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=3\n");
    load(true);
    config("[Fullscreen]\nLogoFile=logo.bmp\nLogoPosition=7\n");
    load(true);
    EXPECT_EQ(s(kLogo).bounds, (Rect{1216, 960, 64, 64}));
}

TEST_F(SkinLoaderTest, BackdropIsOpaqueStretchedOnRequestAndHiddenWhenWindowed) {
    bmp("Art/back.bmp", cornerImage(8, 6));
    config("[Fullscreen]\nBackdropDir=Art\nBackdropFile=back.bmp\nBackdropStretch=1\n");
    display.setVisible(kBackdrop, false);
    load(true);
    EXPECT_TRUE(s(kBackdrop).visible);
    EXPECT_TRUE(presentation.backdropStretch);
    ASSERT_TRUE(s(kBackdrop).picture);
    EXPECT_EQ(pixelAt(s(kBackdrop).picture, 0, 5), (Rgba{0, 0, 255, 255}));  // opaque element

    load(false);
    EXPECT_FALSE(s(kBackdrop).visible);
    EXPECT_FALSE(s(kLogo).visible);
}

TEST_F(SkinLoaderTest, MissingOrUndecodableBackdropAndLogoLeaveThemAsTheyWere) {
    bmp("Art/back.bmp", cornerImage(8, 6));
    config("[Fullscreen]\nBackdropDir=Art\\\nBackdropFile=back.bmp\nBackdropStretch=1\n");
    load(true);
    const Picture before = s(kBackdrop).picture;
    config(
        "[Fullscreen]\nBackdropDir=Art\\\nBackdropFile=gone.bmp\nBackdropStretch=0\nLogoFile=gone."
        "png\n");
    load(true);
    EXPECT_EQ(s(kBackdrop).picture, before);
    EXPECT_TRUE(presentation.backdropStretch);
    EXPECT_FALSE(s(kLogo).picture);
    EXPECT_TRUE(shell.errors.empty());  // missing decor is not an error
    // A file that cannot be decoded is missing too, not a placeholder stretched over the screen;
    // the message still names it.
    writeText("Art/bad.bmp", "not a bitmap");
    config("[Fullscreen]\nBackdropDir=Art\\\nBackdropFile=bad.bmp\nLogoFile=bad.bmp\n");
    load(true);
    EXPECT_EQ(s(kBackdrop).picture, before);
    EXPECT_TRUE(presentation.backdropStretch);
    EXPECT_FALSE(s(kLogo).picture);
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_NE(shell.errors[0].find("bad.bmp"), std::string::npos);
}

// --- Picture sections ---

TEST_F(SkinLoaderTest, EverySectionReachesItsOwnSegment) {
    std::string text;
    for (int n = 1; n <= 113; ++n)
        text += "[Image" + std::to_string(n) + "]\nLeft=" + std::to_string(n) + "\n";
    config(text);
    load(false);
    EXPECT_EQ(s(seg("im_hero_1_body")).bounds.left, 45);
    EXPECT_EQ(s(seg("im_hero_4_base")).bounds.left, 76);
    EXPECT_EQ(s(seg("im_item_2_1")).bounds.left, 84);
    EXPECT_EQ(s(seg("im_flame_2_7")).bounds.left, 111);
    EXPECT_EQ(s(seg("im_panel_number_0")).bounds.left, 35);
    std::set<int> lefts;
    for (const Segment& segment : display.segments()) lefts.insert(segment.bounds.left);
    EXPECT_EQ(lefts.size(), 114u);  // 113 sections plus 0 for the four placed by the program
}

TEST_F(SkinLoaderTest, NilAndEmptyNamesKeepThePictureWhileNilInCapitalsIsAFileName) {
    bmp("Graphics/Skin/a.bmp", cornerImage(4, 4));
    config("[Image1]\nFilename=a.bmp\n[Image2]\nFilename=a.bmp\n[Image3]\nFilename=nil\n");
    load(false);
    const Picture first = s(kBottom).picture;
    ASSERT_TRUE(first);
    EXPECT_FALSE(s(seg("im_background_front")).picture);  // "nil" on the first load: no picture

    config("[Image1]\nFilename=\n[Image2]\nFilename=NIL\n[Image3]\nFilename=nil\n");
    load(false);
    EXPECT_EQ(s(kBottom).picture, first);                              // empty: kept
    EXPECT_TRUE(isPlaceholder(s(seg("im_background_back")).picture));  // NIL: no such file
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(SkinLoaderTest, SectionWithoutPositionSitsAtTheOffsetWithNoSize) {
    config("[Image1]\nFilename=x.bmp\n");
    shell.screen = {1024, 768};
    load(true);
    EXPECT_EQ(s(kBottom).bounds, (Rect{263, -1, 0, 0}));
}

TEST_F(SkinLoaderTest, DrawingRulesFollowTheElementAndTheFormat) {
    const RgbImage image = cornerImage(6, 5);  // bottom-left blue
    bmp("Graphics/Skin/p.bmp", image);
    writeFile(path("Graphics/Skin/p.jpg"),
              writeJpeg(6, 5, std::vector<std::uint8_t>(6 * 5 * 3, 0), JpegKind::Rgb));
    PngOptions alpha;
    alpha.kind = PngKind::Rgba;
    writeFile(path("Graphics/Skin/p.png"), writePng(1, 1, {1, 2, 3, 40}, alpha));
    config(
        "[Image1]\nFilename=p.bmp\n[Image5]\nFilename=p.bmp\n[Image2]\nFilename=p.jpg\n"
        "[Image6]\nFilename=p.png\n[Image3]\nFilename=p.png\n");
    load(false);
    const Picture seeThrough = s(kBottom).picture;
    EXPECT_EQ(pixelAt(seeThrough, 0, 4).a, 0);    // bottom-left colour left out ...
    EXPECT_EQ(pixelAt(seeThrough, 2, 2).a, 255);  // ... other colours kept
    int keyed = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) keyed += pixelAt(seeThrough, x, y).a == 0;
    EXPECT_EQ(keyed, 1);
    EXPECT_EQ(pixelAt(s(kOpen).picture, 0, 4), (Rgba{0, 0, 255, 255}));     // opaque: whole
    EXPECT_EQ(pixelAt(s(seg("im_background_back")).picture, 0, 4).a, 255);  // JPEG: whole
    EXPECT_EQ(pixelAt(s(seg("btn_game_a_down")).picture, 0, 0).a, 40);  // PNG alpha, opaque element
    EXPECT_EQ(pixelAt(s(seg("im_background_front")).picture, 0, 0).a, 40);
}

TEST_F(SkinLoaderTest, PlaceholderLosesItsFrameOnlyOnSeeThroughElements) {
    config("[Image1]\nFilename=missing.bmp\n[Image5]\nFilename=missing.bmp\n");
    load(false);
    const Picture see = s(kBottom).picture;
    const Picture opaque = s(kOpen).picture;
    ASSERT_TRUE(isPlaceholder(see));
    ASSERT_TRUE(isPlaceholder(opaque));
    EXPECT_EQ(pixelAt(see, 0, 0).a, 0);
    EXPECT_EQ(pixelAt(see, 1, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(opaque, 0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(opaque, 9, 9), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(opaque, 8, 8), (Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(shell.errors.empty());  // a missing picture gives no message
}

TEST_F(SkinLoaderTest, UndecodablePicturesBecomePlaceholdersNamedInOneMessage) {
    writeText("Graphics/Skin/broken.bmp", "not a bitmap at all");
    writeText("Graphics/Skin/anim.gif", "GIF89a");
    config(
        "[Image1]\nFilename=broken.bmp\n[Image2]\nFilename=anim.gif\n[Image3]\nFilename=broken."
        "bmp\n"
        "[Image4]\nFilename=absent.bmp\n");
    load(false);
    EXPECT_TRUE(isPlaceholder(s(kBottom).picture));
    EXPECT_TRUE(isPlaceholder(s(seg("im_background_back")).picture));
    ASSERT_EQ(shell.errors.size(), 1u);
    const std::string& message = shell.errors[0];
    EXPECT_NE(message.find("Graphics\\Skin\\broken.bmp"), std::string::npos) << message;
    EXPECT_NE(message.find("Graphics\\Skin\\anim.gif"), std::string::npos) << message;
    EXPECT_EQ(message.find("absent.bmp"), std::string::npos) << message;
    EXPECT_EQ(message.find("broken.bmp"), message.rfind("broken.bmp")) << "named twice";
    EXPECT_EQ(shell.quitRequests, 0);
    load(false);
    EXPECT_EQ(shell.errors.size(), 2u);  // once per load
}

TEST_F(SkinLoaderTest, PicturesBeyondTheLoadsPixelBudgetBecomeNamedPlaceholders) {
    bmp("Graphics/Skin/a.bmp", cornerImage(8, 8));
    bmp("Graphics/Skin/b.bmp", cornerImage(8, 8));
    // a.bmp twice costs its 64 pixels and their see-through copy once; b.bmp would need 128 of
    // the 72 left.
    config("[Image1]\nFilename=a.bmp\n[Image2]\nFilename=a.bmp\n[Image3]\nFilename=b.bmp\n");
    Skin_Load(path("prog"), false, shell, display, presentation, SkinLoadLimits{{}, 200});
    EXPECT_EQ(s(kBottom).picture->width, 8);
    EXPECT_EQ(s(seg("im_background_back")).picture->width, 8);
    EXPECT_TRUE(isPlaceholder(s(seg("im_background_front")).picture));
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_NE(shell.errors[0].find("b.bmp"), std::string::npos);
    EXPECT_EQ(shell.errors[0].find("a.bmp"), std::string::npos);

    // A 16-bit RGBA PNG of noise takes eight bytes a pixel in its file: within the pixel limits
    // it loads, however large its file.
    constexpr int kSide = 640;
    std::mt19937 noise(7);
    std::vector<std::uint16_t> samples(kSide * kSide * 4);
    for (std::uint16_t& sample : samples) sample = static_cast<std::uint16_t>(noise());
    PngOptions deep;
    deep.kind = PngKind::Rgba;
    deep.depth = 16;
    writeFile(path("Graphics/Skin/deep.png"), writePng(kSide, kSide, samples, deep));
    config("[Image1]\nFilename=deep.png\n");
    shell.errors.clear();
    Skin_Load(path("prog"), false, shell, display, presentation,
              SkinLoadLimits{{16384, kSide * kSide}, 3 * kSide * kSide});
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(s(kBottom).picture->width, kSide);
}

TEST_F(SkinLoaderTest, NamesAreFoundWithoutRegardToCaseFromTheWorkingDirectory) {
    bmp("Graphics/Skin/Body.BMP", cornerImage(4, 4));
    bmp("prog/Graphics/Skin/only_in_program_folder.bmp", cornerImage(4, 4));
    config(
        "[Common]\nSkinDir=GRAPHICS\\skin\n[Image1]\nFilename=body.bmp\n"
        "[Image2]\nFilename=only_in_program_folder.bmp\n");
    load(false);
    ASSERT_TRUE(s(kBottom).picture);
    EXPECT_EQ(s(kBottom).picture->width, 4);
    EXPECT_TRUE(isPlaceholder(s(seg("im_background_back")).picture));
}

// Skins as Windows editors save them and as archives made on Windows unpack: each names one
// picture that must be found.
TEST_F(SkinLoaderTest, SkinsFromWindowsFindTheirPicturesInAnyEncodingCaseAndLayout) {
    const std::string image1 = "[Image1]\r\nFilename=";
    const std::string root = "\\" + std::string(dir_.relative_path()) + "\\";
    const struct {
        const char* what;
        std::string ini;
        std::string onDisk;
        bool ownFolder = false;  // played with --skin: folders are found from the skin's folder
    } cases[] = {
        {"UTF-16 LE, another case of a non-ASCII letter",
         utf16(u"[Image1]\r\nFilename=K\u00F6rper_\u00C9.BMP\r\n"),
         "Graphics/Skin/k\u00F6rper_\u00E9.bmp"},
        {"UTF-16 BE", utf16(u"[Image1]\r\nFilename=K\u00F6rper.bmp\r\n", true),
         "Graphics/Skin/K\u00F6rper.bmp"},
        {"ANSI file, UTF-8 name on disk", image1 + "caf\xE9.bmp\r\n",
         "Graphics/Skin/caf\u00E9.bmp"},
        {"UTF-8 file, ANSI name on disk", image1 + "CAF\u00C9.bmp\r\n",
         "Graphics/Skin/caf\xE9.bmp"},
        {"Cyrillic folder in capitals",
         "[Common]\nSkinDir=\u0413\u0420\u0410\u0424\u0418\u041A\u0410\n" + image1 + "x.bmp\n",
         "\u0433\u0440\u0430\u0444\u0438\u043A\u0430/X.BMP"},
        {"archive in capitals beside Graphics/Manual", image1 + "body.bmp\n",
         "GRAPHICS/SKIN/BODY.BMP"},
        {"backslashes in one name", image1 + "body.bmp\n", "Graphics\\Skin\\body.bmp"},
        {"backslashes below a real folder", image1 + "body.bmp\n", "graphics/Skin\\Body.bmp"},
        {"a leading backslash is the root",
         "[Common]\nSkinDir=" + root + "Art\n" + image1 + "a.bmp", "Art/a.bmp"},
        {"a skin in its own folder", image1 + "a.bmp\n", "prog/Graphics/Skin/a.bmp", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            std::filesystem::remove_all(entry);  // the folder itself is the working directory
        bmp("Graphics/Manual/1.bmp", cornerImage(2, 2));
        bmp(c.onDisk, cornerImage(4, 3));
        config(c.ini);
        display = SegmentDisplay();
        const std::string prog = path("prog");
        Skin_Load(c.ownFolder ? SkinPlace(prog, prog) : SkinPlace(prog), false, shell, display,
                  presentation);
        ASSERT_TRUE(s(kBottom).picture);
        EXPECT_EQ(s(kBottom).picture->width, 4);
    }
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(SkinLoaderTest, LoadingSetsNoVisibleFlagButTheFourItOwns) {
    config("");
    display.setVisible(seg("im_item_1_1"), true);
    display.setVisible(seg("btn_open"), false);
    load(true);
    load(false);
    EXPECT_TRUE(s(seg("im_item_1_1")).visible);
    EXPECT_FALSE(s(seg("btn_open")).visible);
    EXPECT_TRUE(s(seg("im_background_bottom")).visible);
}

TEST_F(SkinLoaderTest, PositionsFarOutsideAnyScreenAreCutBackWithoutOverflow) {
    config(
        "[Fullscreen]\nGameOffsetX=2147483647\n[Image1]\nLeft=2147483647\nWidth=-5\nHeight="
        "2147483647\n");
    load(true);
    const Rect r = s(kBottom).bounds;
    EXPECT_GT(r.left, 1 << 20);
    EXPECT_EQ(r.width, 0);
    EXPECT_LE(r.height, 1 << 24);
    EXPECT_FALSE(r.contains(0, 0));
}

// --- Hostile skins: bounded memory, and one huge picture does not starve the rest ---

// An 8-bit run-length bitmap, a few bytes a row: one pixel of palette colour 0, then colour 1.
Bytes rleBmp(int width, int height) {
    Bytes rle;
    for (int y = 0; y < height; ++y) {
        rle.insert(rle.end(), {1, 0});
        for (int left = width - 1; left > 0; left -= 255)
            rle.insert(rle.end(), {static_cast<std::uint8_t>(std::min(left, 255)), 1});
        rle.insert(rle.end(), {0, 0});
    }
    rle.insert(rle.end(), {0, 1});
    return rawBmp(width, height, 8, 1, {{0, 0, 0}, {200, 40, 10}}, rle);
}

TEST_F(SkinLoaderTest, HostileSkinsLoadInBoundedMemoryAndLeaveRoomForTheRest) {
    std::filesystem::create_directories(path("Graphics/Skin"));
    std::filesystem::create_directories(path("Graphics/Backdrop"));
    for (int n = 1; n <= 113; ++n)
        writeFile(path("Graphics/Skin/p" + std::to_string(n) + ".bmp"), rleBmp(300, 200));
    writeFile(path("Graphics/Skin/2k.bmp"), rleBmp(2048, 2048));
    writeFile(path("Graphics/Skin/8k.bmp"), rleBmp(8192, 8192));
    writeFile(path("Graphics/Skin/limit.bmp"), rleBmp(4096, 4096));  // the per-picture limit
    writeFile(path("Graphics/Backdrop/4k.bmp"), rleBmp(3840, 2160));
    ASSERT_EQ(mkfifo(path("Graphics/Skin/pipe.bmp").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", path("Graphics/Skin/zero.bmp"));
    // Every section names `all`, or its own picture when `all` is empty; section 4 may differ.
    const auto sections = [](const std::string& all, const std::string& fourth = "") {
        std::string text;
        for (int n = 1; n <= 113; ++n)
            text += "[Image" + std::to_string(n) + "]\nFilename=" +
                    (n == 4 && !fourth.empty() ? fourth
                     : all.empty()             ? "p" + std::to_string(n) + ".bmp"
                                               : all) +
                    "\n";
        return text;
    };
    constexpr std::int64_t kMiB = 1 << 20, kBudget = SkinLoadLimits{}.pixelsPerLoad * 4;
    const struct {
        std::string ini;
        int loaded;  // sections whose own picture loaded; the rest show placeholders
        std::size_t messages;
        std::int64_t maxHeld;  // bytes of the segments' pictures, a shared one counted once
    } cases[] = {{sections("2k.bmp"), 113, 0, 2 * 16 * kMiB},  // one decoded and one keyed copy
                 {sections("8k.bmp"), 0, 1, kMiB},
                 {sections("", "limit.bmp"), 113, 0, kBudget},
                 {"[Image1]\nFilename=pipe.bmp\n[Image2]\nFilename=zero.bmp\n", 0, 0, kMiB},
                 {"[Fullscreen]\nBackdropFile=4k.bmp\n" + sections(""), 113, 0, kBudget}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini.substr(0, 40));
        display = SegmentDisplay();
        shell.errors.clear();
        config(c.ini);
        load(true);
        int loaded = 0;
        std::int64_t held = 0;
        std::set<const PictureData*> seen;
        for (const Segment& segment : display.segments()) {
            if (!segment.picture || !seen.insert(segment.picture.get()).second) continue;
            held += static_cast<std::int64_t>(segment.picture->rgba.size());
        }
        for (int n = 1; n <= 113; ++n) {
            const Picture& p = s(segmentOfSection(n)).picture;
            loaded += p && !isPlaceholder(p);
        }
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(shell.errors.size(), c.messages);
        EXPECT_LE(held, c.maxHeld);
    }
    ASSERT_TRUE(s(kBackdrop).picture);
    EXPECT_EQ(s(kBackdrop).picture->width, 3840);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 1 << 20) << "peak memory in KiB";
}

// --- The skin checker ---

TEST_F(SkinLoaderTest, TheCheckerNamesWhatAPlayerWouldMissWithItsLine) {
    config(
        "[Common]\nGameWidth=780 ; the window's width\n[Image1]\nFilename=gone.png\n"
        "[Image2]\nFilename=huge.bmp\n[Image3]\nFilename=flat.bmp\nLeft=5 ; place\n"
        "[Image5]\nFilename=broken.bmp\n[Manual]\nManualDir=Book\n"
        "[Lcd]\nLook=Reel\nUnlitContrast=150\n");
    bmp("prog/Graphics/Skin/flat.bmp", RgbImage{4, 4, std::vector<Rgb>(16, Rgb{9, 9, 9})});
    writeFile(path("prog/Graphics/Skin/huge.bmp"), rawBmp(20000, 10, 24, 0, {}, {}));
    writeText("prog/Graphics/Skin/broken.bmp", "BMjunk");
    for (int n = 1; n <= 12; ++n)
        if (n != 7) bmp("prog/Book/" + std::to_string(n) + ".bmp", cornerImage(2, 2));
    const std::string semicolon = " (a \";\" after a value is part of the value)";

    const SkinCheck check = checkSkin(SkinPlace(path("prog"), path("prog")));
    const std::vector<std::string> expected{
        "Config.ini: " + path("prog/Config.ini") + " (UTF-8)",
        "window: 498 x 771 pixels",
        "note: line 15, [Lcd] Look=Reel: neither Plain nor Real, Plain is used",
        "note: line 16, [Lcd] UnlitContrast=150: not a percentage from 0 to 100, 10 is used",
        "note: line 2, [Common] GameWidth=780 ; the window's width: not a number, 498 is used" +
            semicolon,
        "red square: line 4, [Image1] Filename=gone.png: Graphics\\Skin\\gone.png not found",
        "red square: line 6, [Image2] Filename=huge.bmp: Graphics\\Skin\\huge.bmp is 20000 x 10 "
        "pixels, more than 16384 a side",
        "note: line 8, [Image3] Filename=flat.bmp: 100% of the picture has the colour of its "
        "bottom-left pixel and is see-through",
        "note: line 9, [Image3] Left=5 ; place: not a number, 0 is used" + semicolon,
        "red square: line 11, [Image5] Filename=broken.bmp: Graphics\\Skin\\broken.bmp could not "
        "be read",
        "red square: manual page Book\\7.bmp not found",
        "4 problems would show as red squares or an empty window"};
    EXPECT_EQ(check.lines, expected);
    EXPECT_FALSE(check.playable);

    // What leaves the window empty, and a skin with nothing to say against it.
    const std::pair<std::string, std::string> windows[] = {
        {"[Common]\nGameWidth=0\n[Image1]\nFilename=\n",
         "empty window: no [ImageN] section names a picture file (Filename)"},
        {"[Common]\nGameWidth=0\n[Image1]\nFilename=x.bmp\n",
         "empty window: the window is 0 x 771 pixels (GameWidth and GameHeight)"},
        {"[Image1]\nFilename=x.bmp\n[Manual]\nManualDir=Book\n", ""}};
    bmp("prog/Graphics/Skin/x.bmp", cornerImage(2, 2));
    writeFile(path("prog/Book/7.bmp"), writeBmp(cornerImage(2, 2), {}));
    for (const auto& [ini, line] : windows) {
        config(ini);
        const SkinCheck window = checkSkin(SkinPlace(path("prog"), path("prog")));
        EXPECT_EQ(window.playable, line.empty()) << ini;
        EXPECT_EQ(std::count(window.lines.begin(), window.lines.end(), line), !line.empty()) << ini;
    }
    std::filesystem::remove(path("prog/Config.ini"));
    EXPECT_EQ(checkSkin(SkinPlace(path("prog"), path("prog"))).lines,
              (std::vector<std::string>{"empty window: Config.ini not found in " + path("prog"),
                                        "1 problem would show as red squares or an empty window"}));
}

// --- Missing Config.ini ---

TEST_F(SkinLoaderTest, MissingConfigIsReportedEndsTheProgramAndStillSetsUpTheMenuButton) {
    display.setBounds(kBottom, {1, 2, 3, 4});
    load(true);
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0], kNotFound);
    EXPECT_EQ(shell.quitRequests, 1);
    EXPECT_EQ(s(kBottom).bounds, (Rect{1, 2, 3, 4}));  // nothing of the skin applied
    EXPECT_TRUE(s(kMenuTop).visible);
    EXPECT_TRUE(s(kMenuBackground).visible);
    EXPECT_EQ(s(kMenuBackground).bounds, (Rect{0, 0, 36, 32}));

    load(false);
    EXPECT_EQ(shell.quitRequests, 2);
    EXPECT_FALSE(s(kMenuTop).visible);
    EXPECT_FALSE(s(kMenuBackground).visible);
}

TEST_F(SkinLoaderTest, AConfigThatIsThereIsNeverReportedMissing) {
    // Over a megabyte: its whole lines within the first megabyte count, the rest is absent.
    config("[Common]\nGameWidth=321\n;" + std::string(2 << 20, 'x') + "\nGameHeight=123\n");
    load(false);
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(presentation.clientWidth, 321);
    EXPECT_EQ(presentation.clientHeight, 771);

    std::filesystem::remove(path("prog/Config.ini"));
    std::filesystem::create_directory(path("prog/Config.ini"));
    load(false);
    EXPECT_EQ(shell.errors, std::vector<std::string>{"Configuration file (Config.ini) could not be "
                                                     "read. Please reinstall the game."});
}

TEST_F(SkinLoaderTest, ConfigIsLookedUpBesideTheProgramNotInTheWorkingDirectory) {
    writeText("Config.ini", "[Common]\nGameWidth=1\n");
    load(false);
    EXPECT_EQ(shell.errors, std::vector<std::string>{kNotFound});
    writeText("prog/config.INI", "[Common]\nGameWidth=333\n");  // any case, like on Windows
    shell.errors.clear();
    load(false);
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(presentation.clientWidth, 333);
}

}  // namespace
