#include "core/skin/sharp_pictures.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/skin/ini_file.h"
#include "core/skin/skin_files.h"

SharpPictures loadSharpPictures(const std::string& programFolder, const SegmentDisplay& display,
                                const SharpLoadLimits& limits) {
    SharpPictures sharp;
    const auto config =
        findSkinFile((std::filesystem::path(programFolder) / "Config.ini").string());
    const auto ini = config ? IniFile::load(*config) : std::nullopt;
    if (!ini) return sharp;
    const std::string dir = ini->readFolder("Common", "SkinDir2x", "");
    if (dir.empty()) return sharp;
    std::int64_t pixelsLeft = limits.pixelsPerLoad;
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentId id = segmentOfSection(n);
        const Picture& picture = display.segment(id).picture;
        if (!picture || sharp.count(picture.get())) continue;
        const auto file = ini->readFileName("Image" + std::to_string(n), "Filename", "");
        const auto found = file ? findSkinFile(dir + *file) : std::nullopt;
        if (!found) continue;
        DecodeLimits perPicture = limits.perPicture;
        perPicture.maxPixels = std::min(perPicture.maxPixels, pixelsLeft);
        if (perPicture.maxPixels <= 0) break;
        const auto decoded = decodePictureFile(*found, perPicture);
        if (!decoded) continue;
        Picture drawn = applyDrawingRules(*decoded, kSegmentCatalogue[id].transparent);
        pixelsLeft -= std::int64_t{drawn->width} * drawn->height;
        if (drawn->width == 2 * picture->width && drawn->height == 2 * picture->height)
            sharp.emplace(picture.get(), std::move(drawn));
    }
    return sharp;
}
