#include "core/skin/picture_decoder.h"

#include <algorithm>
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

}  // namespace

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
