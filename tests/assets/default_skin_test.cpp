// The default skin as the build rendered it: Config.ini read with the program's own reader, every
// picture decoded with the program's own decoders.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "asset_paths.h"
#include "core/display/segment_catalogue.h"
#include "core/skin/picture_decoder.h"

namespace {

class DefaultSkin : public ::testing::Test {
  protected:
    void SetUp() override {
        auto loaded = IniFile::load(kProgramDir + "/Config.ini");
        ASSERT_TRUE(loaded.has_value()) << "no Config.ini in " << kProgramDir;
        ini = *loaded;
    }
    SectionRect section(std::string_view segment) const {
        return sectionRect(ini, kSegmentCatalogue[findSegment(segment)].section);
    }
    std::optional<DecodedPicture> decode(const SectionRect& r) const {
        return decodePictureFile(kProgramDir + "/Graphics/Skin/" + r.file);
    }
    IniFile ini;
};

TEST_F(DefaultSkin, HeaderSectionsNameTheShippedFoldersAndColours) {
    EXPECT_EQ(ini.readFolder("Common", "SkinDir", ""), "Graphics\\Skin\\");
    EXPECT_EQ(ini.readFolder("Fullscreen", "BackdropDir", ""), "Graphics\\Backdrop\\");
    EXPECT_EQ(ini.readFolder("Manual", "ManualDir", ""), "Graphics\\Manual\\");
    EXPECT_EQ(ini.readColour("VideoMode", "TranspColor", 0), 0x00ff00ffu);
    EXPECT_EQ(ini.readInteger("Manual", "ManualWidth", 0), 545);
    EXPECT_EQ(ini.readInteger("Manual", "ManualHeight", 0), 365);
    EXPECT_FALSE(ini.readOffset("Fullscreen", "GameOffsetX").has_value());
    EXPECT_FALSE(ini.readOffset("Fullscreen", "GameOffsetY").has_value());
    const int logoPosition = ini.readInteger("Fullscreen", "LogoPosition", -1);
    EXPECT_GE(logoPosition, 0);
    EXPECT_LE(logoPosition, 3);
}

TEST_F(DefaultSkin, BackdropAndLogoDecode) {
    for (const char* key : {"BackdropFile", "LogoFile"}) {
        const auto name = ini.readFileName("Fullscreen", key, "nil");
        ASSERT_TRUE(name.has_value()) << key;
        const auto picture = decodePictureFile(kProgramDir + "/Graphics/Backdrop/" + *name);
        ASSERT_TRUE(picture.has_value()) << *name;
        EXPECT_GT(picture->picture->width, 0);
    }
    const auto backdrop = decodePictureFile(kProgramDir + "/Graphics/Backdrop/" +
                                            *ini.readFileName("Fullscreen", "BackdropFile", ""));
    EXPECT_EQ(backdrop->format, PictureFormat::Jpeg);
}

TEST_F(DefaultSkin, EverySectionNamesADecodablePictureOfExactlyItsSize) {
    std::set<std::string> files;
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SectionRect r = sectionRect(ini, n);
        SCOPED_TRACE("Image" + std::to_string(n) + " " + r.file);
        ASSERT_FALSE(r.file.empty());
        EXPECT_TRUE(files.insert(r.file).second) << "file shared with another section";
        const auto decoded = decode(r);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->picture->width, r.width);
        EXPECT_EQ(decoded->picture->height, r.height);
    }
}

TEST_F(DefaultSkin, EveryPictureLiesInsideTheWindowAndTheLowestCoversIt) {
    const SectionRect window{"", 0, 0, ini.readInteger("Common", "GameWidth", 0),
                             ini.readInteger("Common", "GameHeight", 0)};
    for (int n = 1; n <= kPictureSectionCount; ++n)
        EXPECT_TRUE(window.contains(sectionRect(ini, n))) << "Image" << n;
    const SectionRect bottom = section("im_background_bottom");
    EXPECT_EQ(bottom.left, 0);
    EXPECT_EQ(bottom.top, 0);
    EXPECT_EQ(bottom.width, window.width);
    EXPECT_EQ(bottom.height, window.height);
}

TEST_F(DefaultSkin, UsesAllThreePictureKindsWithTheirDrawingRules) {
    std::set<PictureFormat> kinds;
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentInfo& info = kSegmentCatalogue[segmentOfSection(n)];
        const auto decoded = decode(sectionRect(ini, n));
        ASSERT_TRUE(decoded.has_value()) << n;
        kinds.insert(decoded->format);
        if (decoded->format == PictureFormat::Bitmap) {
            // a bitmap relies on its bottom-left colour only on a see-through element
            EXPECT_TRUE(info.transparent) << info.name;
            const Picture drawn = applyDrawingRules(*decoded, info.transparent);
            EXPECT_EQ(drawn->pixel(0, drawn->height - 1)[3], 0) << info.name;
        }
        if (decoded->format == PictureFormat::Jpeg) {
            EXPECT_FALSE(info.transparent) << info.name;
        }
    }
    EXPECT_EQ(kinds.size(), 3u);
}

// In the window the key colour is see-through: a device pixel of that colour would be a hole,
// and a half-transparent edge of the lowest picture a pink fringe.
TEST_F(DefaultSkin, NoDrawnPixelIsTheKeyColourAndTheOutlineIsHard) {
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentInfo& info = kSegmentCatalogue[segmentOfSection(n)];
        const Picture p = applyDrawingRules(*decode(sectionRect(ini, n)), info.transparent);
        int keyPixels = 0;
        for (int y = 0; y < p->height; ++y)
            for (int x = 0; x < p->width; ++x) {
                const auto* px = p->pixel(x, y);
                keyPixels += px[3] != 0 && px[0] == 255 && px[1] == 0 && px[2] == 255;
            }
        EXPECT_EQ(keyPixels, 0) << info.name;
    }
    const Picture bottom = decode(section("im_background_bottom"))->picture;
    int partial = 0, clear = 0;
    for (int y = 0; y < bottom->height; ++y)
        for (int x = 0; x < bottom->width; ++x) {
            const int a = bottom->pixel(x, y)[3];
            partial += a != 0 && a != 255;
            clear += a == 0;
        }
    EXPECT_EQ(partial, 0);
    EXPECT_GT(clear, 0) << "the device needs an outline on the desktop";
    EXPECT_EQ(bottom->pixel(0, 0)[3], 0);
    EXPECT_EQ(bottom->pixel(bottom->width / 2, bottom->height / 2)[3], 255);
}

TEST_F(DefaultSkin, EveryPictureIsDrawnNotAFlatRectangle) {
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentInfo& info = kSegmentCatalogue[segmentOfSection(n)];
        const Picture p = applyDrawingRules(*decode(sectionRect(ini, n)), info.transparent);
        std::set<std::uint32_t> colours;
        for (int y = 0; y < p->height && colours.size() < 3; ++y)
            for (int x = 0; x < p->width && colours.size() < 3; ++x) {
                const auto* px = p->pixel(x, y);
                colours.insert(std::uint32_t{px[0]} | px[1] << 8 | px[2] << 16 |
                               std::uint32_t{px[3]} << 24);
            }
        EXPECT_GE(colours.size(), 2u) << info.name;
    }
}

TEST_F(DefaultSkin, DigitGlyphsHaveTheSizeOfEveryDigitPlace) {
    const SectionRect place1 = section("im_panel_digit_1");
    for (int i = 1; i <= 4; ++i) {
        const SectionRect place = section("im_panel_digit_" + std::to_string(i));
        EXPECT_EQ(place.width, place1.width) << i;
        EXPECT_EQ(place.height, place1.height) << i;
    }
    for (int d = 0; d <= 9; ++d) {
        const SectionRect glyph = section("im_panel_number_" + std::to_string(d));
        const auto decoded = decode(glyph);
        ASSERT_TRUE(decoded.has_value()) << d;
        EXPECT_EQ(decoded->picture->width, place1.width) << d;
        EXPECT_EQ(decoded->picture->height, place1.height) << d;
    }
    // the places read left to right and do not overlap
    for (int i = 1; i < 4; ++i) {
        const SectionRect a = section("im_panel_digit_" + std::to_string(i));
        const SectionRect b = section("im_panel_digit_" + std::to_string(i + 1));
        EXPECT_LE(a.left + a.width, b.left) << i;
    }
}

// A press goes to the topmost shown segment under the pointer: the clickable area of each button
// must cover its pressed picture, or clicking the middle of a button would miss it.
TEST_F(DefaultSkin, EachButtonsClickableAreaCoversItsPressedPicture) {
    for (const char* b : {"game_a", "game_b", "time", "acl", "left", "right"}) {
        const SectionRect top = section(std::string("btn_") + b + "_top");
        const SectionRect down = section(std::string("btn_") + b + "_down");
        EXPECT_TRUE(top.contains(down) || down.contains(top)) << b;
        const int cx = down.left + down.width / 2, cy = down.top + down.height / 2;
        EXPECT_TRUE(cx >= top.left && cx < top.left + top.width && cy >= top.top &&
                    cy < top.top + top.height)
            << b;
    }
}

// The screen: every LCD segment lies on the lit screen and under its glass, and the closed lid
// hides all of it.
TEST_F(DefaultSkin, LcdSegmentsLieOnTheScreenUnderTheGlassAndTheLid) {
    const SectionRect screen = section("im_background_back");
    const SectionRect glass = section("im_background_screen_top");
    const SectionRect lid = section("im_background_front");
    const SectionRect open = section("btn_open");
    EXPECT_TRUE(lid.contains(open));
    for (int n = 19; n <= kPictureSectionCount; ++n) {
        const SectionRect r = sectionRect(ini, n);
        EXPECT_TRUE(screen.contains(r)) << "Image" << n;
        EXPECT_TRUE(glass.contains(r)) << "Image" << n;
        EXPECT_TRUE(lid.contains(r)) << "Image" << n;
    }
}

}  // namespace
