// Files written by another program than our own writers: ImageMagick's convert, when installed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/skin/picture_decoder.h"
#include "skin_test_support.h"

namespace {

class ImageMagickFilesTest : public ScratchDirTest {
  protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        if (std::system("command -v convert >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "convert not installed";
        // 16 x 16: left half red, right half blue, top-left pixel green.
        ASSERT_EQ(run("-size 16x16 xc:red -fill blue -draw \"rectangle 8,0 15,15\" "
                      "-fill lime -draw \"point 0,0\" -type TrueColor source.png"),
                  0);
    }
    int run(const std::string& args) {
        return std::system(("convert " + args + " >/dev/null 2>&1").c_str());
    }
    std::optional<DecodedPicture> convertAndDecode(const std::string& options,
                                                   const std::string& file) {
        EXPECT_EQ(run("source.png " + options + " " + file), 0) << options << " " << file;
        const std::string name = file.substr(file.find(':') + 1);
        return decodePictureFile(name);
    }
    void expectLayout(const std::optional<DecodedPicture>& d, int tolerance = 0) {
        ASSERT_TRUE(d);
        ASSERT_EQ(d->picture->width, 16);
        ASSERT_EQ(d->picture->height, 16);
        auto near = [&](Rgba a, Rgba b) {
            return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
                   std::abs(a.b - b.b) <= tolerance;
        };
        EXPECT_TRUE(near(pixelAt(d->picture, 4, 12), {255, 0, 0, 255}))
            << pixelAt(d->picture, 4, 12);
        EXPECT_TRUE(near(pixelAt(d->picture, 12, 4), {0, 0, 255, 255}))
            << pixelAt(d->picture, 12, 4);
    }
};

TEST_F(ImageMagickFilesTest, Bitmaps) {
    for (const char* options : {"", "-type Palette", "-type Palette -compress RLE", "-depth 5"}) {
        SCOPED_TRACE(options);
        for (const char* file : {"BMP3:x3.bmp", "BMP:x.bmp", "BMP2:x2.bmp"}) {
            SCOPED_TRACE(file);
            const auto d = convertAndDecode(options, file);
            expectLayout(d);
            if (d) {
                EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{0, 255, 0, 255}));
            }
        }
    }
}

TEST_F(ImageMagickFilesTest, PngKinds) {
    expectLayout(convertAndDecode("", "PNG24:rgb.png"));
    expectLayout(convertAndDecode("", "PNG8:palette.png"));
    expectLayout(convertAndDecode("-depth 16", "PNG48:deep.png"));
    const auto alpha =
        convertAndDecode("-alpha set -channel A -fx \"i<8?1:0.5\"", "PNG32:alpha.png");
    expectLayout(alpha);
    ASSERT_TRUE(alpha);
    EXPECT_TRUE(alpha->ownTransparency);
    EXPECT_NEAR(pixelAt(alpha->picture, 12, 4).a, 128, 1);
    EXPECT_EQ(pixelAt(alpha->picture, 4, 4).a, 255);
    const auto grey = convertAndDecode("-colorspace Gray", "grey.png");
    ASSERT_TRUE(grey);
    const Rgba g = pixelAt(grey->picture, 4, 12);
    EXPECT_EQ(g.r, g.g);
    EXPECT_EQ(g.g, g.b);
}

TEST_F(ImageMagickFilesTest, JpegKinds) {
    expectLayout(convertAndDecode("-quality 100 -sampling-factor 1x1", "rgb.jpg"), 12);
    const auto grey = convertAndDecode("-colorspace Gray -quality 100", "grey.jpeg");
    ASSERT_TRUE(grey);
    EXPECT_LT(pixelAt(grey->picture, 12, 4).r, pixelAt(grey->picture, 4, 12).r);  // blue is darker
    expectLayout(convertAndDecode("-colorspace CMYK -quality 100 -sampling-factor 1x1", "cmyk.jpg"),
                 24);
}

}  // namespace
