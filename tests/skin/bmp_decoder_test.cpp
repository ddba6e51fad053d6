#include <gtest/gtest.h>

#include "core/skin/picture_decoder.h"
#include "image_writers.h"
#include "skin_test_support.h"

using namespace testimg;

namespace {

// Every pixel of the decoded picture against the image that was written.
void expectSamePicture(const std::optional<DecodedPicture>& decoded, const RgbImage& expected) {
    ASSERT_TRUE(decoded.has_value());
    const Picture& p = decoded->picture;
    ASSERT_EQ(p->width, expected.width);
    ASSERT_EQ(p->height, expected.height);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const Rgb c = expected.at(x, y);
            ASSERT_EQ(pixelAt(p, x, y), (Rgba{c[0], c[1], c[2], 255})) << "at " << x << "," << y;
        }
    EXPECT_FALSE(decoded->ownTransparency);
    EXPECT_EQ(decoded->format, PictureFormat::Bitmap);
}

struct BmpCase {
    const char* name;
    BmpOptions options;
};

class BmpKindsTest : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpKindsTest, DecodesEveryPixelInPlace) {
    // Odd widths make every row need padding.
    for (int width : {5, 7, 13}) {
        RgbImage image = cornerImage(width, 6);
        if (GetParam().options.bits == 1) {
            // Two colours only: black and white.
            for (auto& c : image.pixels) c = (c[0] > 128) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
            image.pixels[1] = {255, 255, 255};
        }
        SCOPED_TRACE(width);
        expectSamePicture(decodeBmp(writeBmp(image, GetParam().options)), image);
    }
}

BmpOptions opts(int bits, BmpKind kind = BmpKind::Rgb) {
    BmpOptions o;
    o.bits = bits;
    o.kind = kind;
    return o;
}
BmpOptions topDown(BmpOptions o) {
    o.topDown = true;
    return o;
}
BmpOptions core(BmpOptions o) {
    o.coreHeader = true;
    return o;
}
BmpOptions header(BmpOptions o, int size) {
    o.headerSize = size;
    return o;
}
BmpOptions masks(BmpOptions o, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    o.masks = {r, g, b};
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, BmpKindsTest,
    ::testing::Values(
        BmpCase{"bits1", opts(1)}, BmpCase{"bits4", opts(4)}, BmpCase{"bits8", opts(8)},
        BmpCase{"bits16", opts(16)}, BmpCase{"bits24", opts(24)}, BmpCase{"bits32", opts(32)},
        BmpCase{"bits24TopDown", topDown(opts(24))}, BmpCase{"bits8TopDown", topDown(opts(8))},
        BmpCase{"rle8", opts(8, BmpKind::Rle)}, BmpCase{"rle4", opts(4, BmpKind::Rle)},
        BmpCase{"bitfields565", opts(16, BmpKind::Bitfields)},
        BmpCase{"bitfields32", masks(opts(32, BmpKind::Bitfields), 0xFF, 0xFF00, 0xFF0000)},
        BmpCase{"bitfieldsV4",
                header(masks(opts(32, BmpKind::Bitfields), 0xFF000000, 0xFF0000, 0xFF00), 108)},
        BmpCase{"v5header24", header(opts(24), 124)}, BmpCase{"os2core8", core(opts(8))},
        BmpCase{"os2core24", core(opts(24))}, BmpCase{"os2core1", core(opts(1))}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Hand-made RLE streams: the escapes a simple encoder never writes ---

TEST(BmpDecoderTest, Rle8AbsoluteRunDeltaAndEarlyEndLeavePaletteColourZeroElsewhere) {
    const std::vector<Rgb> palette = {{10, 10, 10}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    // Bottom row (stored first): absolute run 1,2,3 (padded to even length), then end of line.
    // Then a delta of (1, 1) from the start of the second row lands on row 3 at x = 1: a run of
    // two 3s, then end of bitmap. Row 2 is never written.
    const Bytes rle = {0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 2, 3, 0, 1};
    const auto d = decodeBmp(rawBmp(4, 3, 8, 1, palette, rle));
    ASSERT_TRUE(d);
    const Picture& p = d->picture;
    EXPECT_EQ(pixelAt(p, 0, 2), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(p, 1, 2), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(p, 2, 2), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(p, 3, 2), (Rgba{10, 10, 10, 255}));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pixelAt(p, x, 1), (Rgba{10, 10, 10, 255}));
    EXPECT_EQ(pixelAt(p, 0, 0), (Rgba{10, 10, 10, 255}));
    EXPECT_EQ(pixelAt(p, 1, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(p, 2, 0), (Rgba{0, 0, 255, 255}));
}

TEST(BmpDecoderTest, Rle4AlternatesNibblesInRunsAndAbsoluteRuns) {
    const std::vector<Rgb> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
    // Run of 3 alternating 1,2,1; then absolute run of 3 nibbles 2,1,2 (2 bytes, padded to 2).
    const Bytes rle = {3, 0x12, 0, 3, 0x21, 0x20, 0, 1};
    const auto d = decodeBmp(rawBmp(6, 1, 4, 2, palette, rle));
    ASSERT_TRUE(d);
    const int expected[6] = {1, 2, 1, 2, 1, 2};
    for (int x = 0; x < 6; ++x) {
        const Rgb c = palette[expected[x]];
        EXPECT_EQ(pixelAt(d->picture, x, 0), (Rgba{c[0], c[1], c[2], 255})) << x;
    }
}

TEST(BmpDecoderTest, RleRunsPastTheRowEndOrBottomAreCutNotWrittenOutside) {
    const std::vector<Rgb> palette = {{0, 0, 0}, {255, 255, 255}};
    // 255-pixel runs into a 2 x 2 picture, a delta far past the bottom, then more data.
    const Bytes rle = {255, 1, 0, 0, 255, 1, 0, 2, 200, 200, 255, 1, 0, 0, 255, 1};
    const auto d = decodeBmp(rawBmp(2, 2, 8, 1, palette, rle));
    ASSERT_TRUE(d);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(pixelAt(d->picture, x, y), (Rgba{255, 255, 255, 255}));
}

TEST(BmpDecoderTest, PaletteIndexBeyondAShortPaletteIsBlack) {
    // Two palette entries, but the 8-bit pixel uses index 200.
    const Bytes pixels = {200, 1, 0, 0};
    const auto d = decodeBmp(rawBmp(2, 1, 8, 0, {{255, 0, 0}, {0, 255, 0}}, pixels));
    ASSERT_TRUE(d);
    EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(d->picture, 1, 0), (Rgba{0, 255, 0, 255}));
}

TEST(BmpDecoderTest, LastRowWithoutItsPaddingIsAccepted) {
    const RgbImage image = cornerImage(3, 2);
    Bytes file = writeBmp(image, opts(24));
    file.resize(file.size() - 3);  // a 3-pixel row has 9 bytes and 3 of padding
    expectSamePicture(decodeBmp(file), image);
}

// --- Hostile headers ---

TEST(BmpDecoderTest, TruncatedOrInconsistentFilesGiveNoPicture) {
    const Bytes good = writeBmp(cornerImage(8, 8), opts(24));
    for (std::size_t cut : {0, 1, 2, 13, 14, 20, 53, 54, 100, 200})
        EXPECT_FALSE(decodeBmp(Bytes(good.begin(), good.begin() + std::min(cut, good.size()))))
            << "cut at " << cut;

    auto patched = [&](std::size_t at, std::uint32_t v) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
        return b;
    };
    EXPECT_FALSE(decodeBmp(patched(18, 0)));           // zero width
    EXPECT_FALSE(decodeBmp(patched(22, 0)));           // zero height
    EXPECT_FALSE(decodeBmp(patched(18, 0xFFFFFFFF)));  // negative width
    EXPECT_FALSE(decodeBmp(patched(18, 16385)));       // wider than the limit
    EXPECT_FALSE(decodeBmp(patched(22, 0x80000000)));  // most negative height
    EXPECT_FALSE(decodeBmp(patched(14, 39)));          // unknown header size
    EXPECT_FALSE(decodeBmp(patched(14, 0x7FFFFFFF)));  // header larger than the file
    EXPECT_FALSE(decodeBmp(patched(30, 4)));           // embedded JPEG
    EXPECT_FALSE(decodeBmp(patched(30, 1)));           // RLE8 with 24 bits
    Bytes bits = good;
    bits[28] = 7;  // no such pixel size
    EXPECT_FALSE(decodeBmp(bits));
    Bytes magic = good;
    magic[0] = 'X';
    EXPECT_FALSE(decodeBmp(magic));
}

TEST(BmpDecoderTest, HugeDeclaredSizeWithLittleDataIsRefusedBeforeAllocating) {
    // 16384 x 4096 at 24 bits promises 192 MB of pixels in a file of a few bytes.
    Bytes b = rawBmp(16384, 4096, 24, 0, {}, Bytes(16, 0));
    EXPECT_FALSE(decodeBmp(b));
    // The pixel limit applies even when each side is within bounds.
    const DecodeLimits small{100, 1000};
    EXPECT_FALSE(decodeBmp(writeBmp(cornerImage(40, 40), opts(24)), small));
    EXPECT_TRUE(decodeBmp(writeBmp(cornerImage(20, 40), opts(24)), small));
}

TEST(BmpDecoderTest, BitfieldsWithZeroMasksDecodeAsBlackWithoutFaulting) {
    const auto d =
        decodeBmp(writeBmp(cornerImage(3, 3), masks(opts(32, BmpKind::Bitfields), 0, 0, 0)));
    ASSERT_TRUE(d);
    EXPECT_EQ(pixelAt(d->picture, 2, 2), (Rgba{0, 0, 0, 255}));
}

}  // namespace
