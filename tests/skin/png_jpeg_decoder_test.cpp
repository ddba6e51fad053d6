#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

#include "core/skin/picture_decoder.h"
#include "image_writers.h"
#include "skin_test_support.h"

using namespace testimg;

namespace {

std::vector<std::uint16_t> repeat(const std::vector<std::uint16_t>& pixel, int count) {
    std::vector<std::uint16_t> out;
    for (int i = 0; i < count; ++i) out.insert(out.end(), pixel.begin(), pixel.end());
    return out;
}

PngOptions png(PngKind kind, int depth = 8, std::vector<std::uint16_t> trns = {}) {
    PngOptions o;
    o.kind = kind;
    o.depth = depth;
    o.trns = std::move(trns);
    return o;
}

// --- PNG: every colour type ends as RGBA ---

TEST(PngDecoderTest, RgbIsOpaqueAndKeepsItsColoursInPlace) {
    const std::vector<std::uint16_t> samples = {255, 0, 0,   0,   255, 0,     // top: red, green
                                                0,   0, 255, 255, 255, 255};  // bottom: blue, white
    const auto d = decodePng(writePng(2, 2, samples, png(PngKind::Rgb)));
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->ownTransparency);
    EXPECT_EQ(d->format, PictureFormat::Png);
    EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(d->picture, 1, 0), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(d->picture, 0, 1), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(d->picture, 1, 1), (Rgba{255, 255, 255, 255}));
}

TEST(PngDecoderTest, AlphaChannelIsKeptAndCountsAsOwnTransparency) {
    const auto d = decodePng(writePng(2, 1, {10, 20, 30, 0, 40, 50, 60, 128}, png(PngKind::Rgba)));
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->ownTransparency);
    EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{10, 20, 30, 0}));
    EXPECT_EQ(pixelAt(d->picture, 1, 0), (Rgba{40, 50, 60, 128}));
}

TEST(PngDecoderTest, GreyOfEveryDepthIsScaledToFullRange) {
    for (int depth : {1, 2, 4, 8, 16}) {
        SCOPED_TRACE(depth);
        const std::uint16_t max = static_cast<std::uint16_t>((1u << depth) - 1);
        const auto d = decodePng(writePng(3, 1, {0, max, 0}, png(PngKind::Grey, depth)));
        ASSERT_TRUE(d);
        EXPECT_FALSE(d->ownTransparency);
        EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{0, 0, 0, 255}));
        EXPECT_EQ(pixelAt(d->picture, 1, 0), (Rgba{255, 255, 255, 255}));
    }
    const auto two = decodePng(writePng(4, 1, {0, 1, 2, 3}, png(PngKind::Grey, 2)));
    ASSERT_TRUE(two);
    EXPECT_EQ(pixelAt(two->picture, 1, 0), (Rgba{85, 85, 85, 255}));
    EXPECT_EQ(pixelAt(two->picture, 2, 0), (Rgba{170, 170, 170, 255}));
}

TEST(PngDecoderTest, GreyWithAlphaAt8And16Bits) {
    const auto d8 = decodePng(writePng(1, 1, {200, 100}, png(PngKind::GreyAlpha, 8)));
    ASSERT_TRUE(d8);
    EXPECT_TRUE(d8->ownTransparency);
    EXPECT_EQ(pixelAt(d8->picture, 0, 0), (Rgba{200, 200, 200, 100}));
    const auto d16 = decodePng(writePng(1, 1, {65535, 0}, png(PngKind::GreyAlpha, 16)));
    ASSERT_TRUE(d16);
    EXPECT_EQ(pixelAt(d16->picture, 0, 0), (Rgba{255, 255, 255, 0}));
}

TEST(PngDecoderTest, SixteenBitRgbIsScaledNotTruncated) {
    const auto d = decodePng(writePng(1, 1, {65535, 0x8080, 0x00FF}, png(PngKind::Rgb, 16)));
    ASSERT_TRUE(d);
    const Rgba c = pixelAt(d->picture, 0, 0);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 128);
    EXPECT_EQ(c.b, 1);  // 0x00FF of 65535 is a little above a half of one 8-bit step
}

TEST(PngDecoderTest, PaletteWithTrnsGivesPerEntryAlpha) {
    const std::vector<Rgb> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int depth : {2, 4, 8}) {
        SCOPED_TRACE(depth);
        const auto d =
            decodePng(writePng(3, 1, {0, 1, 2}, png(PngKind::Palette, depth, {0, 77}), palette));
        ASSERT_TRUE(d);
        EXPECT_TRUE(d->ownTransparency);
        EXPECT_EQ(pixelAt(d->picture, 0, 0), (Rgba{255, 0, 0, 0}));
        EXPECT_EQ(pixelAt(d->picture, 1, 0), (Rgba{0, 255, 0, 77}));
        EXPECT_EQ(pixelAt(d->picture, 2, 0), (Rgba{0, 0, 255, 255}));  // beyond tRNS: opaque
    }
    const auto plain =
        decodePng(writePng(2, 1, {1, 0}, png(PngKind::Palette, 1), {{9, 9, 9}, {1, 2, 3}}));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->ownTransparency);
    EXPECT_EQ(pixelAt(plain->picture, 0, 0), (Rgba{1, 2, 3, 255}));
}

TEST(PngDecoderTest, TrnsKeyColourOnGreyAndRgbBecomesTransparent) {
    const auto grey = decodePng(writePng(2, 1, {50, 60}, png(PngKind::Grey, 8, {50})));
    ASSERT_TRUE(grey);
    EXPECT_TRUE(grey->ownTransparency);
    EXPECT_EQ(pixelAt(grey->picture, 0, 0).a, 0);
    EXPECT_EQ(pixelAt(grey->picture, 1, 0), (Rgba{60, 60, 60, 255}));

    const auto rgb = decodePng(writePng(2, 1, {1, 2, 3, 1, 2, 4}, png(PngKind::Rgb, 8, {1, 2, 3})));
    ASSERT_TRUE(rgb);
    EXPECT_TRUE(rgb->ownTransparency);
    EXPECT_EQ(pixelAt(rgb->picture, 0, 0).a, 0);
    EXPECT_EQ(pixelAt(rgb->picture, 1, 0), (Rgba{1, 2, 4, 255}));
}

TEST(PngDecoderTest, InterlacedPictureDecodesLikeAPlainOne) {
    std::vector<std::uint16_t> samples;
    for (int i = 0; i < 9 * 9; ++i) samples.push_back(static_cast<std::uint16_t>(i * 3));
    PngOptions o = png(PngKind::Grey);
    o.interlaced = true;
    const auto d = decodePng(writePng(9, 9, samples, o));
    ASSERT_TRUE(d);
    for (int i = 0; i < 81; ++i) ASSERT_EQ(pixelAt(d->picture, i % 9, i / 9).r, i * 3) << i;
}

// --- PNG: broken and hostile files ---

void setBigEndian(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (24 - 8 * i)) & 0xFF;
}
// IHDR with new dimensions and a correct CRC, so only the size limit can refuse it.
Bytes withIhdrSize(Bytes b, std::uint32_t w, std::uint32_t h) {
    setBigEndian(b, 16, w);
    setBigEndian(b, 20, h);
    setBigEndian(b, 29, static_cast<std::uint32_t>(crc32(0, b.data() + 12, 17)));
    return b;
}

TEST(PngDecoderTest, BrokenFilesGiveNoPicture) {
    const Bytes good = writePng(4, 4, repeat({1, 2, 3}, 16), png(PngKind::Rgb));
    ASSERT_TRUE(decodePng(good));
    for (std::size_t cut : {0, 7, 8, 20, 33, 40, 50})
        EXPECT_FALSE(decodePng(Bytes(good.begin(), good.begin() + std::min(cut, good.size()))))
            << cut;
    Bytes crc = good;
    crc[30] ^= 0xFF;  // IHDR CRC
    EXPECT_FALSE(decodePng(crc));
    Bytes notPng = good;
    notPng[1] = 'X';
    EXPECT_FALSE(decodePng(notPng));
}

TEST(PngDecoderTest, MissingEndChunkAfterCompletePixelsStillGivesThePicture) {
    const Bytes good = writePng(4, 4, repeat({7, 8, 9}, 16), png(PngKind::Rgb));
    const Bytes noEnd(good.begin(), good.end() - 12);  // IEND is the last 12 bytes
    const auto d = decodePng(noEnd);
    ASSERT_TRUE(d);
    EXPECT_EQ(pixelAt(d->picture, 3, 3), (Rgba{7, 8, 9, 255}));
}

TEST(PngDecoderTest, HeaderPromisingAHugePictureIsRefused) {
    const Bytes good = writePng(4, 4, repeat({1, 2, 3}, 16), png(PngKind::Rgb));
    EXPECT_FALSE(decodePng(withIhdrSize(good, 20000, 4)));      // one side over the limit
    EXPECT_FALSE(decodePng(withIhdrSize(good, 16384, 16384)));  // too many pixels in all
    EXPECT_FALSE(decodePng(withIhdrSize(good, 0, 4)));
    EXPECT_FALSE(decodePng(writePng(40, 40, repeat({0}, 1600), png(PngKind::Grey)),
                           DecodeLimits{100, 1000}));
}

// --- JPEG ---

// 16 x 16 in four flat 8 x 8 quadrants, so that compression leaves the colours nearly exact.
std::vector<std::uint8_t> quadrants(const std::vector<std::vector<std::uint8_t>>& colours) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const auto& c = colours[(y / 8) * 2 + x / 8];
            out.insert(out.end(), c.begin(), c.end());
        }
    return out;
}

void expectNear(const Rgba& actual, const Rgba& expected, int tolerance = 4) {
    EXPECT_NEAR(actual.r, expected.r, tolerance) << actual << " vs " << expected;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << actual << " vs " << expected;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << actual << " vs " << expected;
    EXPECT_EQ(actual.a, 255);
}

TEST(JpegDecoderTest, RgbAndGreyAreOpaqueAndInPlace) {
    const auto rgb = decodeJpeg(
        writeJpeg(16, 16, quadrants({{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}),
                  JpegKind::Rgb));
    ASSERT_TRUE(rgb);
    EXPECT_FALSE(rgb->ownTransparency);
    EXPECT_EQ(rgb->format, PictureFormat::Jpeg);
    expectNear(pixelAt(rgb->picture, 3, 3), {255, 0, 0, 255});
    expectNear(pixelAt(rgb->picture, 12, 3), {0, 255, 0, 255});
    expectNear(pixelAt(rgb->picture, 3, 12), {0, 0, 255, 255});
    expectNear(pixelAt(rgb->picture, 12, 12), {255, 255, 255, 255});

    const auto grey =
        decodeJpeg(writeJpeg(16, 16, quadrants({{0}, {80}, {160}, {255}}), JpegKind::Grey));
    ASSERT_TRUE(grey);
    expectNear(pixelAt(grey->picture, 12, 3), {80, 80, 80, 255});
    expectNear(pixelAt(grey->picture, 3, 12), {160, 160, 160, 255});
}

TEST(JpegDecoderTest, AdobeCmykIsReadInvertedIntoRgb) {
    // Ink amounts: full cyan, full magenta, full yellow + half black, no ink.
    const auto d = decodeJpeg(writeJpeg(
        16, 16, quadrants({{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 128}, {0, 0, 0, 0}}),
        JpegKind::CmykAdobe));
    ASSERT_TRUE(d);
    expectNear(pixelAt(d->picture, 3, 3), {0, 255, 255, 255});
    expectNear(pixelAt(d->picture, 12, 3), {255, 0, 255, 255});
    expectNear(pixelAt(d->picture, 3, 12), {127, 127, 0, 255});
    expectNear(pixelAt(d->picture, 12, 12), {255, 255, 255, 255});
}

std::size_t findSof(const Bytes& b) {
    for (std::size_t i = 0; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) return i;
    return 0;
}

TEST(JpegDecoderTest, BrokenAndHostileFilesGiveNoPicture) {
    const Bytes good = writeJpeg(16, 16, quadrants({{1}, {2}, {3}, {4}}), JpegKind::Grey);
    ASSERT_TRUE(decodeJpeg(good));
    const std::size_t sof = findSof(good);
    ASSERT_GT(sof, 0u);
    for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{20}, sof + 4})
        EXPECT_FALSE(decodeJpeg(Bytes(good.begin(), good.begin() + cut))) << cut;

    auto withSize = [&](int w, int h) {
        Bytes b = good;
        b[sof + 5] = h >> 8, b[sof + 6] = h & 0xFF, b[sof + 7] = w >> 8, b[sof + 8] = w & 0xFF;
        return b;
    };
    EXPECT_FALSE(decodeJpeg(withSize(65000, 16)));     // a side over the limit
    EXPECT_FALSE(decodeJpeg(withSize(16000, 16000)));  // too many pixels in all
    EXPECT_FALSE(decodeJpeg(withSize(0, 16)));
    EXPECT_FALSE(decodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
}

TEST(JpegDecoderTest, DataCutAfterTheHeaderStillGivesAPictureOfTheRightSize) {
    // libjpeg fills what is missing with grey; a skin picture cut short still shows.
    const Bytes good = writeJpeg(
        16, 16, quadrants({{255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}}), JpegKind::Rgb);
    std::size_t sos = 0;
    for (std::size_t i = 0; i + 1 < good.size(); ++i)
        if (good[i] == 0xFF && good[i + 1] == 0xDA) sos = i;
    ASSERT_GT(sos, 0u);
    const std::size_t cut = (sos + 14 + good.size()) / 2;  // halfway through the coded data
    const auto d = decodeJpeg(Bytes(good.begin(), good.begin() + cut));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->picture->width, 16);
    EXPECT_EQ(d->picture->height, 16);
}

}  // namespace
