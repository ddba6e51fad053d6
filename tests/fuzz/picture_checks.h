#pragma once
// What every decoded picture must satisfy, whatever the input was.
#include "core/skin/picture_decoder.h"
#include "fuzz_target.h"

// Small limits keep each run cheap; the hostile-file tests cover the program's own limits.
inline constexpr DecodeLimits kFuzzLimits{256, 16 * 1024};

inline void checkDecoded(const std::optional<DecodedPicture>& d, PictureFormat format) {
    if (!d) return;
    const Picture& p = d->picture;
    fuzzCheck(p != nullptr, "decoded picture is null");
    fuzzCheck(p->width > 0 && p->height > 0, "empty picture reported as decoded");
    fuzzCheck(p->width <= kFuzzLimits.maxSide && p->height <= kFuzzLimits.maxSide, "side limit");
    fuzzCheck(std::int64_t{p->width} * p->height <= kFuzzLimits.maxPixels, "pixel limit");
    fuzzCheck(p->rgba.size() == static_cast<std::size_t>(p->width) * p->height * 4, "buffer size");
    fuzzCheck(d->format == format, "format");
    for (bool seeThrough : {false, true}) {
        const Picture drawn = applyDrawingRules(*d, seeThrough);
        fuzzCheck(drawn && drawn->rgba.size() == p->rgba.size(), "drawing rules changed the size");
    }
}
