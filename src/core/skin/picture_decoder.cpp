#include "core/skin/picture_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "core/skin/skin_files.h"

namespace {

// Room for headers, palettes and ancillary chunks beside the pixels.
constexpr std::int64_t kPictureFileSlack = 1024 * 1024;

std::string lowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return ext;
}

std::uint32_t littleEndian(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

std::uint32_t bigEndian(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | b[at + i];
    return v;
}

struct PictureSize {
    std::int64_t width;
    std::int64_t height;
};

// The size a picture's header gives, as far as the head of the file tells.
std::optional<PictureSize> headerSize(std::span<const std::uint8_t> b, const std::string& ext) {
    if (ext == "bmp" && b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
        if (littleEndian(b, 14, 4) == 12)
            return PictureSize{littleEndian(b, 18, 2), littleEndian(b, 20, 2)};
        const auto height = static_cast<std::int32_t>(littleEndian(b, 22, 4));
        return PictureSize{static_cast<std::int32_t>(littleEndian(b, 18, 4)),
                           std::abs(std::int64_t{height})};
    }
    if (ext == "png" && b.size() >= 24 && bigEndian(b, 12, 4) == 0x49484452)  // IHDR
        return PictureSize{bigEndian(b, 16, 4), bigEndian(b, 20, 4)};
    if ((ext == "jpg" || ext == "jpeg") && b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
        // Markers and their segments up to the frame header (SOF0 ... SOF15 but DHT, JPG, DAC).
        for (std::size_t at = 2; at + 9 <= b.size();) {
            if (b[at] != 0xFF) return std::nullopt;
            const std::uint8_t marker = b[at + 1];
            if (marker == 0xFF) {
                ++at;
                continue;
            }
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                marker != 0xCC)
                return PictureSize{bigEndian(b, at + 7, 2), bigEndian(b, at + 5, 2)};
            at += 2 + bigEndian(b, at + 2, 2);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string whyNoPicture(const std::string& path, const DecodeLimits& limits,
                         std::int64_t pixelsLeft) {
    const std::string ext = lowerExtension(path);
    if (ext != "bmp" && ext != "png" && ext != "jpg" && ext != "jpeg")
        return "is not named .bmp, .png, .jpg or .jpeg";
    // Headers before huge metadata blocks are rare; the head is enough for the size.
    const auto head = readFileHead(path, 256 * 1024);
    const auto size = head ? headerSize(*head, ext) : std::nullopt;
    if (!size) return "could not be read";
    const std::string dimensions =
        "is " + std::to_string(size->width) + " x " + std::to_string(size->height) + " pixels, ";
    if (size->width > limits.maxSide || size->height > limits.maxSide)
        return dimensions + "more than " + std::to_string(limits.maxSide) + " a side";
    if (size->width * size->height > limits.maxPixels)
        return dimensions + "more than " + std::to_string(limits.maxPixels) + " in all";
    if (size->width * size->height > pixelsLeft)
        return dimensions + "more than the " +
               std::to_string(std::max<std::int64_t>(pixelsLeft, 0)) +
               " pixels the other pictures left of what one skin may hold in all";
    return "could not be read";
}

std::optional<DecodedPicture> decodePictureFile(const std::string& path,
                                                const DecodeLimits& limits) {
    const std::string ext = lowerExtension(path);
    using Decoder =
        std::optional<DecodedPicture> (*)(std::span<const std::uint8_t>, const DecodeLimits&);
    Decoder decoder = nullptr;
    if (ext == "bmp")
        decoder = decodeBmp;
    else if (ext == "png")
        decoder = decodePng;
    else if (ext == "jpg" || ext == "jpeg")
        decoder = decodeJpeg;
    else
        return std::nullopt;
    // No picture within the limits needs more than eight bytes a pixel (a 16-bit RGBA PNG that
    // does not compress), so a larger file is refused before it is read. A caller's pixel limit
    // of "any" must not wrap the product.
    constexpr std::int64_t kMaxFileBytesPerPixel = 8;
    constexpr std::int64_t kMaxLimitedPixels =
        (std::numeric_limits<std::int64_t>::max() - kPictureFileSlack) / kMaxFileBytesPerPixel;
    const std::int64_t maxBytes =
        kMaxFileBytesPerPixel * std::clamp<std::int64_t>(limits.maxPixels, 0, kMaxLimitedPixels) +
        kPictureFileSlack;
    const auto bytes = readFileBytes(path, static_cast<std::size_t>(maxBytes));
    if (!bytes) return std::nullopt;
    return decoder(*bytes, limits);
}

Picture makePlaceholderPicture(bool seeThrough) {
    constexpr int kSide = 10;
    auto p = std::make_shared<PictureData>();
    p->width = kSide;
    p->height = kSide;
    p->rgba.resize(kSide * kSide * 4);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool frame = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
            std::uint8_t* px = p->pixel(x, y);
            px[0] = frame ? 0 : 255;
            px[1] = 0;
            px[2] = 0;
            px[3] = 255;
        }
    }
    return applyDrawingRules(DecodedPicture{std::move(p), false, PictureFormat::Bitmap},
                             seeThrough);
}

Picture applyDrawingRules(const DecodedPicture& decoded, bool seeThrough) {
    const Picture& in = decoded.picture;
    if (!in || in->width <= 0 || in->height <= 0) return in;
    if (decoded.ownTransparency && decoded.format == PictureFormat::Png) return in;

    const bool keyed = seeThrough && decoded.format == PictureFormat::Bitmap;
    std::uint8_t key[3] = {0, 0, 0};
    if (keyed) std::memcpy(key, in->pixel(0, in->height - 1), 3);

    bool changes = false;
    for (std::size_t i = 0; i < in->rgba.size() && !changes; i += 4) {
        const bool isKey = keyed && std::memcmp(&in->rgba[i], key, 3) == 0;
        changes = in->rgba[i + 3] != (isKey ? 0 : 255);
    }
    if (!changes) return in;

    auto out = std::make_shared<PictureData>(*in);
    for (std::size_t i = 0; i < out->rgba.size(); i += 4) {
        const bool isKey = keyed && std::memcmp(&out->rgba[i], key, 3) == 0;
        out->rgba[i + 3] = isKey ? 0 : 255;
    }
    return out;
}
