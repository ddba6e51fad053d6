#include "core/skin/sharp_pictures.h"

#include <filesystem>
#include <optional>

#include "core/skin/ini_file.h"
#include "core/skin/picture_decoder.h"
#include "core/skin/skin_files.h"

SharpPictures SharpPictures::find(const SkinPlace& place, const SegmentDisplay& display) {
    SharpPictures sharp;
    const auto config = SkinFiles(place.configFolder).find("Config.ini");
    const auto ini = config ? IniFile::load(*config) : std::nullopt;
    if (!ini) return sharp;
    const std::string dir = ini->readFolder("Common", "SkinDir2x", "");
    if (dir.empty()) return sharp;
    SkinFiles files(place.baseFolder);
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentId id = segmentOfSection(n);
        const Picture& picture = display.segment(id).picture;
        if (!picture || sharp.files_.count(picture.get())) continue;
        const auto file = ini->readFileName("Image" + std::to_string(n), "Filename", "");
        if (const auto found = file ? files.find(dir + *file) : std::nullopt)
            sharp.files_.emplace(picture.get(), File{*found, kSegmentCatalogue[id].transparent});
    }
    return sharp;
}

Picture SharpPictures::load(const PictureData& picture) const {
    const auto it = files_.find(&picture);
    if (it == files_.end()) return nullptr;
    // Whatever the file promises, nothing larger than the one size it may have is decoded.
    DecodeLimits limits;
    limits.maxSide = 2 * std::max(picture.width, picture.height);
    limits.maxPixels = std::int64_t{4} * picture.width * picture.height;
    const auto decoded = decodePictureFile(it->second.path, limits);
    if (!decoded) return nullptr;
    Picture drawn = applyDrawingRules(*decoded, it->second.seeThrough);
    if (drawn->width != 2 * picture.width || drawn->height != 2 * picture.height) return nullptr;
    return drawn;
}
