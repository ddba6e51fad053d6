#pragma once
// Writers of small real picture files for the decoder tests and the fuzz seeds: bitmaps of every
// kind written byte by byte, PNG written by libpng, JPEG written by libjpeg.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testimg {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<std::uint8_t, 3>;

// A picture as rows of colours, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A small picture with a different colour in every corner and a few distinct colours inside, so
// that row order, column order and channel order all show.
RgbImage cornerImage(int width, int height);

enum class BmpKind { Rgb, Rle, Bitfields };

struct BmpOptions {
    int bits = 24;                // 1, 4, 8, 16, 24, 32
    BmpKind kind = BmpKind::Rgb;  // Rle needs 4 or 8 bits; Bitfields 16 or 32
    bool topDown = false;
    bool coreHeader = false;  // OS/2 12-byte header (palette entries of 3 bytes)
    int headerSize = 40;      // 40, 108 (V4) or 124 (V5); ignored with coreHeader
    std::array<std::uint32_t, 3> masks = {0xF800, 0x07E0, 0x001F};  // R, G, B for Bitfields
};

// The picture's colours must fit the palette for 1, 4 and 8 bits (2, 16, 256 colours); with 16
// bits the colours are quantised by the masks.
Bytes writeBmp(const RgbImage& image, const BmpOptions& options);

// A BMP with the given header fields and raw pixel bytes after a palette, for hand-made streams.
Bytes rawBmp(int width, int height, int bits, std::uint32_t compression,
             const std::vector<Rgb>& palette, const Bytes& pixelData);

enum class PngKind { Rgb, Rgba, Grey, GreyAlpha, Palette };

struct PngOptions {
    PngKind kind = PngKind::Rgb;
    int depth = 8;  // 1, 2, 4, 8, 16 as the kind allows
    bool interlaced = false;
    std::vector<std::uint16_t> trns;  // tRNS: per palette entry alpha, or one grey/RGB key
};

// Rows of samples as PNG stores them before packing: per pixel the kind's channels, each a value
// up to 2^depth - 1.
Bytes writePng(int width, int height, const std::vector<std::uint16_t>& samples,
               const PngOptions& options, const std::vector<Rgb>& palette = {});

enum class JpegKind { Grey, Rgb, CmykAdobe };

// Samples: 1, 3 or 4 per pixel. For CmykAdobe the samples are C, M, Y, K ink amounts (0 = none);
// they are stored inverted under an Adobe marker, as Adobe's writers do.
Bytes writeJpeg(int width, int height, const std::vector<std::uint8_t>& samples, JpegKind kind,
                int quality = 100);

void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace testimg
