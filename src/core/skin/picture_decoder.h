#pragma once
// Decoding of the skin's picture files (BMP, PNG, JPEG) into RGBA pictures, and the drawing rules
// that turn a decoded picture into what a segment shows.
//
// Picture files come from whoever made the skin, so every decoder treats its input as hostile:
// all sizes and offsets are checked, the size of the result is limited, and anything that does
// not add up gives "no picture" instead of a crash.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/picture.h"

enum class PictureFormat { Bitmap, Png, Jpeg };

struct DecodedPicture {
    Picture picture;
    // The file carried its own transparency (an alpha channel or a transparent colour); such a
    // picture is always drawn with it. Bitmaps never count as having one.
    bool ownTransparency = false;
    PictureFormat format = PictureFormat::Bitmap;
};

// Largest picture any decoder will produce: guards against files whose headers promise more
// pixels than memory can hold. The defaults are the program's own: a 5K backdrop fits.
struct DecodeLimits {
    int maxSide = 16384;
    std::int64_t maxPixels = std::int64_t{16} * 1024 * 1024;
};

// Reads and decodes one picture file, choosing the decoder by the extension (bmp, jpg/jpeg, png,
// in any case). The path is used as it stands (no case folding). nullopt: the file is not a
// regular file, is larger than an uncompressed picture within the limits could be, cannot be
// decoded, or the extension names no known format.
std::optional<DecodedPicture> decodePictureFile(const std::string& path,
                                                const DecodeLimits& limits = {});

// Why a picture file that exists gives no picture, in a few words for a skin's author ("could
// not be read", "is 20000 x 16 pixels, more than 16384 a side"). pixelsLeft is what the load still
// had room for. Reads only the file's head.
std::string whyNoPicture(const std::string& path, const DecodeLimits& limits,
                         std::int64_t pixelsLeft);

// The decoders themselves, on a file's bytes.
std::optional<DecodedPicture> decodeBmp(std::span<const std::uint8_t> data,
                                        const DecodeLimits& limits = {});
std::optional<DecodedPicture> decodePng(std::span<const std::uint8_t> data,
                                        const DecodeLimits& limits = {});
std::optional<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> data,
                                         const DecodeLimits& limits = {});

// The picture a segment gets when its file is missing or unreadable: 10 x 10 red inside a
// one-pixel black frame, treated as a bitmap, so on a see-through element the black frame
// (the bottom-left colour) is left out.
Picture makePlaceholderPicture(bool seeThrough);

// Final RGBA for a segment: a bitmap on a see-through element loses every pixel of its
// bottom-left colour, otherwise it is opaque; a PNG keeps its own transparency; a JPEG is opaque.
Picture applyDrawingRules(const DecodedPicture& decoded, bool seeThrough);
