// The test skin: the default skin's geometry, each segment one solid colour that a test can
// predict from the segment's id alone.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "asset_paths.h"
#include "core/display/segment_catalogue.h"
#include "core/skin/picture_decoder.h"
#include "test_skin_colours.h"

namespace {

TEST(TestSkinColours, AreDistinctAndNeverTheKeyColour) {
    std::set<std::uint32_t> seen;
    for (int id = 0; id < kSegmentCount; ++id) {
        const TestSkinColour c = testSkinColour(id);
        EXPECT_FALSE(c.r == 255 && c.g == 0 && c.b == 255) << id;
        EXPECT_TRUE(seen.insert(std::uint32_t{c.r} << 16 | c.g << 8 | c.b).second) << id;
    }
}

TEST(TestSkin, HasTheDefaultGeometryAndSolidPredictableColours) {
    const auto defaults = IniFile::load(kProgramDir + "/Config.ini");
    const auto test = IniFile::load(kTestSkinDir + "/Config.ini");
    ASSERT_TRUE(defaults && test);
    EXPECT_EQ(test->readInteger("Common", "GameWidth", 0),
              defaults->readInteger("Common", "GameWidth", 1));
    EXPECT_EQ(test->readInteger("Common", "GameHeight", 0),
              defaults->readInteger("Common", "GameHeight", 1));
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        SCOPED_TRACE("Image" + std::to_string(n));
        const SectionRect a = sectionRect(*defaults, n), b = sectionRect(*test, n);
        EXPECT_EQ(a.left, b.left);
        EXPECT_EQ(a.top, b.top);
        EXPECT_EQ(a.width, b.width);
        EXPECT_EQ(a.height, b.height);
        const auto decoded = decodePictureFile(kTestSkinDir + "/Graphics/Skin/" + b.file);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->format, PictureFormat::Png);
        const Picture& p = decoded->picture;
        ASSERT_EQ(p->width, b.width);
        ASSERT_EQ(p->height, b.height);
        const TestSkinColour c = testSkinColour(segmentOfSection(n));
        for (int y = 0; y < p->height; y += std::max(1, p->height / 7))
            for (int x = 0; x < p->width; x += std::max(1, p->width / 7)) {
                const auto* px = p->pixel(x, y);
                ASSERT_EQ((TestSkinColour{px[0], px[1], px[2]}), c) << x << "," << y;
                ASSERT_EQ(px[3], 255);
            }
    }
}

}  // namespace
