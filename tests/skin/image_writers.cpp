#include "image_writers.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace testimg {

namespace {

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

std::uint32_t packByMask(std::uint8_t v, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::countr_one(mask >> shift);
    const std::uint32_t scaled = bits >= 8 ? std::uint32_t{v} << (bits - 8) : v >> (8 - bits);
    return scaled << shift;
}

}  // namespace

RgbImage cornerImage(int width, int height) {
    static constexpr Rgb inner[4] = {{0, 0, 0}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    RgbImage img{width, height, {}};
    img.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) img.pixels[y * width + x] = inner[(x + 2 * y) % 4];
    img.pixels[0] = {255, 0, 0};                                     // top-left red
    img.pixels[width - 1] = {0, 255, 0};                             // top-right green
    img.pixels[(height - 1) * width] = {0, 0, 255};                  // bottom-left blue
    img.pixels[(height - 1) * width + width - 1] = {255, 255, 255};  // bottom-right white
    return img;
}

Bytes writeBmp(const RgbImage& image, const BmpOptions& o) {
    const bool paletted = o.bits <= 8;
    std::vector<Rgb> palette;
    std::vector<int> indices;
    if (paletted) {
        for (const Rgb& c : image.pixels) {
            auto it = std::find(palette.begin(), palette.end(), c);
            if (it == palette.end()) {
                palette.push_back(c);
                it = palette.end() - 1;
            }
            indices.push_back(static_cast<int>(it - palette.begin()));
        }
        if (palette.size() > (std::size_t{1} << o.bits))
            throw std::runtime_error("too many colours");
        palette.resize(std::size_t{1} << o.bits, Rgb{0, 0, 0});
    }

    const std::size_t info = o.coreHeader ? 12 : static_cast<std::size_t>(o.headerSize);
    const bool separateMasks = o.kind == BmpKind::Bitfields && info == 40;
    const std::size_t entry = o.coreHeader ? 3 : 4;
    const std::size_t bitsAt = 14 + info + (separateMasks ? 12 : 0) + palette.size() * entry;
    const std::uint32_t compression = o.kind == BmpKind::Rle         ? (o.bits == 8 ? 1u : 2u)
                                      : o.kind == BmpKind::Bitfields ? 3u
                                                                     : 0u;

    // Pixel data in stored row order.
    Bytes pixels;
    const std::size_t stride = ((static_cast<std::size_t>(image.width) * o.bits + 31) / 32) * 4;
    for (int stored = 0; stored < image.height; ++stored) {
        const int y = o.topDown ? stored : image.height - 1 - stored;
        if (o.kind == BmpKind::Rle) {
            for (int x = 0; x < image.width;) {
                const int index = indices[y * image.width + x];
                int run = 1;
                while (x + run < image.width && run < 255 &&
                       indices[y * image.width + x + run] == index)
                    ++run;
                pixels.push_back(static_cast<std::uint8_t>(run));
                pixels.push_back(
                    static_cast<std::uint8_t>(o.bits == 8 ? index : (index << 4) | index));
                x += run;
            }
            pixels.push_back(0);
            pixels.push_back(stored == image.height - 1 ? 1 : 0);
            continue;
        }
        Bytes row(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            switch (o.bits) {
                case 1:
                case 4:
                case 8: {
                    const std::size_t bit = static_cast<std::size_t>(x) * o.bits;
                    row[bit / 8] |= indices[y * image.width + x] << (8 - o.bits - bit % 8);
                    break;
                }
                case 16: {
                    const auto& m = o.kind == BmpKind::Bitfields
                                        ? o.masks
                                        : std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F};
                    const std::uint32_t v =
                        packByMask(c[0], m[0]) | packByMask(c[1], m[1]) | packByMask(c[2], m[2]);
                    put16(row, x * 2, v);
                    break;
                }
                case 24:
                    row[x * 3] = c[2], row[x * 3 + 1] = c[1], row[x * 3 + 2] = c[0];
                    break;
                case 32: {
                    const auto& m = o.kind == BmpKind::Bitfields
                                        ? o.masks
                                        : std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
                    put32(row, x * 4,
                          packByMask(c[0], m[0]) | packByMask(c[1], m[1]) | packByMask(c[2], m[2]));
                    break;
                }
            }
        }
        pixels.insert(pixels.end(), row.begin(), row.end());
    }

    Bytes out(bitsAt, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(bitsAt + pixels.size()));
    put32(out, 10, static_cast<std::uint32_t>(bitsAt));
    put32(out, 14, static_cast<std::uint32_t>(info));
    if (o.coreHeader) {
        put16(out, 18, image.width);
        put16(out, 20, image.height);
        put16(out, 22, 1);
        put16(out, 24, o.bits);
    } else {
        put32(out, 18, static_cast<std::uint32_t>(image.width));
        put32(out, 22, static_cast<std::uint32_t>(o.topDown ? -image.height : image.height));
        put16(out, 26, 1);
        put16(out, 28, o.bits);
        put32(out, 30, compression);
        put32(out, 34, static_cast<std::uint32_t>(pixels.size()));
        put32(out, 46, paletted ? static_cast<std::uint32_t>(palette.size()) : 0);
        if (o.kind == BmpKind::Bitfields) {
            // Right after the 40-byte header, whether as separate masks or as V4/V5 fields.
            for (int i = 0; i < 3; ++i) put32(out, 14 + 40 + 4 * i, o.masks[i]);
        }
    }
    const std::size_t palAt = 14 + info + (separateMasks ? 12 : 0);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        out[palAt + i * entry] = palette[i][2];
        out[palAt + i * entry + 1] = palette[i][1];
        out[palAt + i * entry + 2] = palette[i][0];
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes rawBmp(int width, int height, int bits, std::uint32_t compression,
             const std::vector<Rgb>& palette, const Bytes& pixelData) {
    const std::size_t bitsAt = 14 + 40 + palette.size() * 4;
    Bytes out(bitsAt, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(bitsAt + pixelData.size()));
    put32(out, 10, static_cast<std::uint32_t>(bitsAt));
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));
    put16(out, 26, 1);
    put16(out, 28, bits);
    put32(out, 30, compression);
    put32(out, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        out[54 + i * 4] = palette[i][2];
        out[54 + i * 4 + 1] = palette[i][1];
        out[54 + i * 4 + 2] = palette[i][0];
    }
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
}

namespace {
void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

int channelsOf(PngKind kind) {
    switch (kind) {
        case PngKind::Rgb:
            return 3;
        case PngKind::Rgba:
            return 4;
        case PngKind::GreyAlpha:
            return 2;
        default:
            return 1;
    }
}
}  // namespace

Bytes writePng(int width, int height, const std::vector<std::uint16_t>& samples,
               const PngOptions& o, const std::vector<Rgb>& palette) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();  // a writer fault is a fault of the test itself
    png_set_write_fn(png, &out, appendToVector, flushNothing);
    const int type = o.kind == PngKind::Rgb         ? PNG_COLOR_TYPE_RGB
                     : o.kind == PngKind::Rgba      ? PNG_COLOR_TYPE_RGB_ALPHA
                     : o.kind == PngKind::Grey      ? PNG_COLOR_TYPE_GRAY
                     : o.kind == PngKind::GreyAlpha ? PNG_COLOR_TYPE_GRAY_ALPHA
                                                    : PNG_COLOR_TYPE_PALETTE;
    png_set_IHDR(png, info, width, height, o.depth, type,
                 o.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (const Rgb& c : palette) pal.push_back(png_color{c[0], c[1], c[2]});
    if (o.kind == PngKind::Palette)
        png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
    std::vector<png_byte> trnsAlpha;
    png_color_16 trnsColour{};
    if (!o.trns.empty()) {
        if (o.kind == PngKind::Palette) {
            for (auto a : o.trns) trnsAlpha.push_back(static_cast<png_byte>(a));
            png_set_tRNS(png, info, trnsAlpha.data(), static_cast<int>(trnsAlpha.size()), nullptr);
        } else {
            trnsColour.gray = o.trns[0];
            trnsColour.red = o.trns[0];
            if (o.trns.size() == 3) trnsColour.green = o.trns[1], trnsColour.blue = o.trns[2];
            png_set_tRNS(png, info, nullptr, 0, &trnsColour);
        }
    }
    png_write_info(png, info);

    const int channels = channelsOf(o.kind);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * channels * o.depth + 7) / 8;
    std::vector<Bytes> rows(height, Bytes(rowBytes, 0));
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * channels; ++i) {
            const std::uint16_t v = samples[static_cast<std::size_t>(y) * width * channels + i];
            if (o.depth == 16) {
                rows[y][i * 2] = v >> 8;
                rows[y][i * 2 + 1] = v & 0xFF;
            } else if (o.depth == 8) {
                rows[y][i] = static_cast<std::uint8_t>(v);
            } else {
                const std::size_t bit = static_cast<std::size_t>(i) * o.depth;
                rows[y][bit / 8] |= v << (8 - o.depth - bit % 8);
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& r : rows) pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes writeJpeg(int width, int height, const std::vector<std::uint8_t>& samples, JpegKind kind,
                int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    const int components = kind == JpegKind::Grey ? 1 : kind == JpegKind::Rgb ? 3 : 4;
    cinfo.input_components = components;
    cinfo.in_color_space = kind == JpegKind::Grey  ? JCS_GRAYSCALE
                           : kind == JpegKind::Rgb ? JCS_RGB
                                                   : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (kind == JpegKind::CmykAdobe)
        jpeg_set_colorspace(&cinfo, JCS_CMYK);  // writes the Adobe marker
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour, so that small test pictures keep their colours.
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::size_t y = cinfo.next_scanline;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::uint8_t v = samples[y * row.size() + i];
            row[i] = kind == JpegKind::CmykAdobe ? static_cast<std::uint8_t>(255 - v) : v;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace testimg
