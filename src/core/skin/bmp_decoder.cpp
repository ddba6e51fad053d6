// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and top-down,
// RLE4/RLE8 and BI_BITFIELDS. Every read goes through a bounds-checked reader.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "core/skin/picture_decoder.h"

namespace {

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint8_t u8(std::size_t o) const { return data_[o]; }
    std::uint16_t u16(std::size_t o) const {
        return static_cast<std::uint16_t>(data_[o] | (data_[o + 1] << 8));
    }
    std::uint32_t u32(std::size_t o) const {
        return static_cast<std::uint32_t>(data_[o]) |
               (static_cast<std::uint32_t>(data_[o + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[o + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[o + 3]) << 24);
    }
    std::int32_t i32(std::size_t o) const { return static_cast<std::int32_t>(u32(o)); }
    std::size_t size() const { return data_.size(); }
    const std::uint8_t* at(std::size_t o) const { return data_.data() + o; }

  private:
    std::span<const std::uint8_t> data_;
};

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitfields = 3,
    kAlphaBitfields = 6
};

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::uint8_t extract(std::uint32_t v, std::uint8_t absent) const {
        if (mask == 0) return absent;
        const std::uint32_t raw = (v & mask) >> shift;
        if (bits >= 8) return static_cast<std::uint8_t>(raw >> (bits - 8));
        const std::uint32_t max = (1u << bits) - 1;
        return static_cast<std::uint8_t>((raw * 255 + max / 2) / max);
    }
};

Channel channelOf(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::countr_one(mask >> c.shift);
    return c;
}

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // positive after reading; topDown says which way rows run
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::size_t paletteOffset = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t paletteCount = 0;
    std::array<Channel, 4> channels;  // R, G, B, A
};

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

class Canvas {
  public:
    Canvas(const Header& h, PictureData& out) : h_(h), out_(out) {}
    // Row as stored in the file (0 = first stored row) to picture row.
    int pictureRow(std::int64_t storedRow) const {
        return static_cast<int>(h_.topDown ? storedRow : h_.height - 1 - storedRow);
    }
    void put(std::int64_t x, std::int64_t storedRow, std::uint8_t r, std::uint8_t g, std::uint8_t b,
             std::uint8_t a = 255) {
        std::uint8_t* p = out_.pixel(static_cast<int>(x), pictureRow(storedRow));
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = a;
    }

  private:
    const Header& h_;
    PictureData& out_;
};

bool readHeader(const Reader& in, Header& h) {
    if (!in.has(0, 18) || in.u8(0) != 'B' || in.u8(1) != 'M') return false;
    const std::uint32_t infoSize = in.u32(14);
    if (infoSize < 12 || !in.has(14, infoSize)) return false;
    if (infoSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
        h.width = in.u16(18);
        h.height = in.u16(20);
        if (in.u16(22) != 1) return false;
        h.bitCount = in.u16(24);
        h.paletteEntrySize = 3;
        h.paletteOffset = 14 + 12;
    } else {
        if (infoSize < 40) return false;
        h.width = in.i32(18);
        h.height = in.i32(22);
        h.bitCount = in.u16(28);
        h.compression = in.u32(30);
        const std::uint32_t used = in.u32(46);
        h.paletteOffset = 14 + static_cast<std::size_t>(infoSize);
        if (h.bitCount <= 8 && used != 0) h.paletteCount = used;
        // OS/2 2.x headers use compression 3 for Huffman coding, which no skin would use.
        if (infoSize == 64 && h.compression == kBitfields) return false;
        if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
            const int masks = h.compression == kAlphaBitfields ? 4 : 3;
            std::array<std::uint32_t, 4> m{};
            if (infoSize >= 40 + 4u * masks) {
                for (int i = 0; i < masks; ++i) m[i] = in.u32(14 + 40 + 4 * i);
                if (infoSize >= 56) m[3] = in.u32(14 + 52);
            } else {
                if (!in.has(h.paletteOffset, 4u * masks)) return false;
                for (int i = 0; i < masks; ++i) m[i] = in.u32(h.paletteOffset + 4 * i);
                h.paletteOffset += 4u * masks;
            }
            for (int i = 0; i < 4; ++i) h.channels[i] = channelOf(m[i]);
        }
    }
    if (h.height < 0) {
        h.height = -h.height;
        h.topDown = true;
    }
    if (h.bitCount <= 8 && h.paletteCount == 0) h.paletteCount = std::size_t{1} << h.bitCount;
    return true;
}

bool validate(Header& h, const DecodeLimits& limits) {
    if (h.width <= 0 || h.height <= 0) return false;
    if (h.width > limits.maxSide || h.height > limits.maxSide) return false;
    if (h.width * h.height > limits.maxPixels) return false;
    switch (h.compression) {
        case kRgb:
            if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 &&
                h.bitCount != 24 && h.bitCount != 32)
                return false;
            if (h.bitCount == 16) {
                h.channels = {channelOf(0x7C00), channelOf(0x03E0), channelOf(0x001F), Channel{}};
            } else if (h.bitCount == 32) {
                h.channels = {channelOf(0xFF0000), channelOf(0xFF00), channelOf(0xFF), Channel{}};
            }
            return true;
        case kRle8:
            return h.bitCount == 8;
        case kRle4:
            return h.bitCount == 4;
        case kBitfields:
        case kAlphaBitfields:
            return h.bitCount == 16 || h.bitCount == 32;
        default:
            return false;
    }
}

Palette readPalette(const Reader& in, const Header& h) {
    Palette pal{};  // entries the file lacks stay black
    const std::size_t count = std::min<std::size_t>(h.paletteCount, 256);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t o = h.paletteOffset + i * h.paletteEntrySize;
        if (!in.has(o, 3)) break;
        pal[i] = {in.u8(o + 2), in.u8(o + 1), in.u8(o)};
    }
    return pal;
}

std::int64_t strideOf(const Header& h) {
    return ((h.width * h.bitCount + 31) / 32) * 4;
}

// Checked before the picture is allocated, so that a short file cannot claim a huge picture.
bool uncompressedDataFits(const Reader& in, std::size_t bits, const Header& h) {
    // The last row need not carry its padding; some writers leave it off.
    const std::int64_t lastRowBytes = (h.width * h.bitCount + 7) / 8;
    const std::int64_t needed = strideOf(h) * (h.height - 1) + lastRowBytes;
    return bits <= in.size() && needed <= static_cast<std::int64_t>(in.size() - bits);
}

void decodeUncompressed(const Reader& in, std::size_t bits, const Header& h, const Palette& pal,
                        Canvas& canvas) {
    const std::int64_t stride = strideOf(h);
    for (std::int64_t row = 0; row < h.height; ++row) {
        const std::uint8_t* p = in.at(bits + static_cast<std::size_t>(row * stride));
        for (std::int64_t x = 0; x < h.width; ++x) {
            switch (h.bitCount) {
                case 1:
                case 4:
                case 8: {
                    const std::int64_t bitPos = x * h.bitCount;
                    const int shift = 8 - h.bitCount - static_cast<int>(bitPos % 8);
                    const int index = (p[bitPos / 8] >> shift) & ((1 << h.bitCount) - 1);
                    const auto& c = pal[index];
                    canvas.put(x, row, c[0], c[1], c[2]);
                    break;
                }
                case 16: {
                    const std::uint32_t v = p[x * 2] | (p[x * 2 + 1] << 8);
                    canvas.put(x, row, h.channels[0].extract(v, 0), h.channels[1].extract(v, 0),
                               h.channels[2].extract(v, 0));
                    break;
                }
                case 24:
                    canvas.put(x, row, p[x * 3 + 2], p[x * 3 + 1], p[x * 3]);
                    break;
                case 32: {
                    const std::uint8_t* q = p + x * 4;
                    const std::uint32_t v = static_cast<std::uint32_t>(q[0]) | (q[1] << 8) |
                                            (q[2] << 16) | (static_cast<std::uint32_t>(q[3]) << 24);
                    canvas.put(x, row, h.channels[0].extract(v, 0), h.channels[1].extract(v, 0),
                               h.channels[2].extract(v, 0));
                    break;
                }
                default:
                    break;
            }
        }
    }
}

// Run-length encoded 4 or 8 bit data. Pixels the stream never reaches keep palette colour 0;
// a stream that ends early leaves the rest that way too, as the display of such files does.
void decodeRle(const Reader& in, std::size_t pos, const Header& h, const Palette& pal,
               Canvas& canvas) {
    const bool four = h.compression == kRle4;
    std::int64_t x = 0;
    std::int64_t row = 0;
    auto plot = [&](int index) {
        if (x < h.width && row < h.height) {
            const auto& c = pal[index];
            canvas.put(x, row, c[0], c[1], c[2]);
        }
        ++x;
    };
    while (row < h.height && in.has(pos, 2)) {
        const std::uint8_t count = in.u8(pos);
        const std::uint8_t value = in.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < h.width; ++i)
                plot(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (!in.has(pos, 2)) break;
            x += in.u8(pos);
            row += in.u8(pos + 1);
            pos += 2;
        } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (!in.has(pos, bytes)) break;
            for (int i = 0; i < value; ++i) {
                const std::uint8_t b = in.u8(pos + (four ? i / 2 : i));
                plot(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            pos += (bytes + 1) & ~std::size_t{1};
        }
    }
}

}  // namespace

std::optional<DecodedPicture> decodeBmp(std::span<const std::uint8_t> data,
                                        const DecodeLimits& limits) {
    const Reader in(data);
    Header h;
    if (!readHeader(in, h) || !validate(h, limits)) return std::nullopt;
    std::size_t bits = in.u32(10);
    const std::size_t minimum =
        h.paletteOffset + (h.bitCount <= 8 ? h.paletteCount * h.paletteEntrySize : 0);
    if (bits == 0 || bits >= in.size()) {
        // Some writers leave the offset out; the pixels then follow the palette.
        bits = minimum;
        if (bits >= in.size()) return std::nullopt;
    }

    const bool rle = h.compression == kRle4 || h.compression == kRle8;
    if (!rle && !uncompressedDataFits(in, bits, h)) return std::nullopt;

    const Palette pal = readPalette(in, h);
    auto out = std::make_shared<PictureData>();
    out->width = static_cast<int>(h.width);
    out->height = static_cast<int>(h.height);
    out->rgba.resize(static_cast<std::size_t>(h.width * h.height) * 4);
    Canvas canvas(h, *out);

    if (rle) {
        for (std::size_t i = 0; i < out->rgba.size(); i += 4) {
            std::memcpy(&out->rgba[i], pal[0].data(), 3);
            out->rgba[i + 3] = 255;
        }
        decodeRle(in, bits, h, pal, canvas);
    } else {
        decodeUncompressed(in, bits, h, pal, canvas);
    }
    return DecodedPicture{std::move(out), false, PictureFormat::Bitmap};
}
