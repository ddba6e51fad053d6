#include "core/skin/skin_loader.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "core/skin/ini_file.h"
#include "core/skin/picture_decoder.h"
#include "core/skin/skin_files.h"

namespace {

// Positions and sizes far beyond any screen are cut back, so that no later sum of a position and
// a size can overflow.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 24;

int clampCoordinate(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}
int clampSize(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, kCoordinateLimit));
}

std::optional<std::string> findConfig(const std::string& programFolder) {
    const std::filesystem::path folder(programFolder);
    return findSkinFile((folder / "Config.ini").string());
}

// Something named Config.ini that is no readable file (a folder, a pipe, a file without read
// permission) is there all the same; saying it is missing would send the user the wrong way.
bool configIsThere(const std::string& programFolder) {
    std::error_code ec;
    return std::filesystem::exists(
        std::filesystem::symlink_status(std::filesystem::path(programFolder) / "Config.ini", ec));
}

struct ClientSize {
    int width;
    int height;
};

ClientSize boundedClientSize(std::int64_t width, std::int64_t height) {
    const auto w = std::clamp<std::int64_t>(width, 0, kMaxWindowSide);
    auto h = std::clamp<std::int64_t>(height, 0, kMaxWindowSide);
    if (w > 0) h = std::min(h, kMaxWindowPixels / w);
    return {static_cast<int>(w), static_cast<int>(h)};
}

// Decodes the pictures of one load. A file named by many elements (under any name that leads to
// it) is decoded once and prepared once per drawing rule; the elements share the result. The
// budget counts every picture the load holds: each decoded one and each prepared copy that
// differs from it. Nothing is kept once the load is over but what the elements hold.
class PictureLoader {
  public:
    explicit PictureLoader(const SkinLoadLimits& limits) : limits_(limits) {}

    // The picture for an element whose file exists: decoded, or the placeholder when it cannot be
    // decoded within the limits (the file's name is then remembered for the message).
    Picture load(const std::string& foundPath, const std::string& nameAsWritten, bool seeThrough) {
        const Picture picture = loadDecodable(foundPath, nameAsWritten, seeThrough);
        return picture ? picture : makePlaceholderPicture(seeThrough);
    }

    // The same, but null when the file cannot be decoded: the backdrop and the logo then go
    // without a picture, as when their file is missing, instead of a stretched placeholder.
    Picture loadDecodable(const std::string& foundPath, const std::string& nameAsWritten,
                          bool seeThrough) {
        // Links and case variants lead to one file; its format still follows the name used.
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::canonical(foundPath, ec);
        const std::string file = (ec ? foundPath : canonical.string()) + '\n' +
                                 std::filesystem::path(foundPath).extension().string();
        auto it = prepared_.find({file, seeThrough});
        if (it == prepared_.end())
            it =
                prepared_.emplace(std::pair{file, seeThrough}, prepare(file, foundPath, seeThrough))
                    .first;
        if (it->second) return it->second;
        if (std::find(failed_.begin(), failed_.end(), nameAsWritten) == failed_.end())
            failed_.push_back(nameAsWritten);
        return nullptr;
    }

    // Tells the user once about every file that could not be decoded.
    void report(Shell& shell) const {
        if (!failed_.empty()) shell.showError(undecodablePicturesMessage(failed_));
    }

  private:
    static std::int64_t pixelsOf(const Picture& p) { return std::int64_t{p->width} * p->height; }
    std::int64_t pixelsLeft() const { return limits_.pixelsPerLoad - pixelsUsed_; }

    Picture prepare(const std::string& file, const std::string& path, bool seeThrough) {
        auto it = decoded_.find(file);
        if (it == decoded_.end()) it = decoded_.emplace(file, decodeWithinBudget(path)).first;
        if (!it->second) return nullptr;
        Picture drawn = applyDrawingRules(*it->second, seeThrough);
        if (drawn == it->second->picture) return drawn;
        if (pixelsOf(drawn) > pixelsLeft()) return nullptr;
        pixelsUsed_ += pixelsOf(drawn);
        return drawn;
    }

    std::optional<DecodedPicture> decodeWithinBudget(const std::string& path) {
        DecodeLimits limits = limits_.perPicture;
        limits.maxPixels = std::min(limits.maxPixels, pixelsLeft());
        if (limits.maxPixels <= 0) return std::nullopt;
        auto decoded = decodePictureFile(path, limits);
        if (decoded) pixelsUsed_ += pixelsOf(decoded->picture);
        return decoded;
    }

    SkinLoadLimits limits_;
    std::int64_t pixelsUsed_ = 0;
    // Keyed by the file and the extension it was named with.
    std::map<std::string, std::optional<DecodedPicture>> decoded_;
    std::map<std::pair<std::string, bool>, Picture> prepared_;  // null: could not be had
    std::vector<std::string> failed_;
};

struct Offset {
    int x = 0;
    int y = 0;
};

bool seeThroughElement(SegmentId id) {
    return kSegmentCatalogue[id].transparent;
}

void loadFullscreenDecor(const IniFile& ini, const std::string& backdropDir,
                         PictureLoader& pictures, SegmentDisplay& display,
                         Presentation& presentation) {
    constexpr SegmentId backdrop = seg("im_backdrop");
    if (const auto file = ini.readFileName("Fullscreen", "BackdropFile", "nil")) {
        const auto found = findSkinFile(backdropDir + *file);
        if (Picture picture = found ? pictures.loadDecodable(*found, backdropDir + *file,
                                                             seeThroughElement(backdrop))
                                    : nullptr) {
            display.setPicture(backdrop, std::move(picture));
            presentation.backdropStretch = ini.readInteger("Fullscreen", "BackdropStretch", 0) != 0;
            display.setVisible(backdrop, true);
        }
    }

    presentation.backgroundColour = ini.readColour("Fullscreen", "BgColor", 0x000000) & 0xFFFFFF;
    presentation.colourKeyOn = false;
}

Offset fullscreenOffset(const IniFile& ini, ScreenSize screen, int gameWidth, int gameHeight) {
    // Integer division truncates toward zero, as centring must: -3 / 2 is -1.
    const auto x = ini.readOffset("Fullscreen", "GameOffsetX");
    const auto y = ini.readOffset("Fullscreen", "GameOffsetY");
    return {x ? *x : clampCoordinate((std::int64_t{screen.width} - gameWidth) / 2),
            y ? *y : clampCoordinate((std::int64_t{screen.height} - gameHeight) / 2)};
}

void loadLogo(const IniFile& ini, const std::string& backdropDir, PictureLoader& pictures,
              SegmentDisplay& display, const Presentation& presentation) {
    const auto file = ini.readFileName("Fullscreen", "LogoFile", "nil");
    if (!file) return;
    const auto found = findSkinFile(backdropDir + *file);
    if (!found) return;

    constexpr SegmentId logo = seg("im_backdrop_logo");
    const Picture picture =
        pictures.loadDecodable(*found, backdropDir + *file, seeThroughElement(logo));
    if (!picture) return;
    display.setPicture(logo, picture);
    display.setVisible(logo, true);
    Rect r = display.segment(logo).bounds;
    r.width = picture->width;
    r.height = picture->height;
    const int right = presentation.clientWidth - r.width;
    const int bottom = presentation.clientHeight - r.height;
    switch (ini.readInteger("Fullscreen", "LogoPosition", 1)) {
        case 0:
            r.left = 0, r.top = 0;
            break;
        case 1:
            r.left = right, r.top = 0;
            break;
        case 2:
            r.left = 0, r.top = bottom;
            break;
        case 3:
            r.left = right, r.top = bottom;
            break;
        default:
            break;  // stays where it is
    }
    display.setBounds(logo, r);
}

void loadSegments(const IniFile& ini, const std::string& skinDir, Offset offset,
                  PictureLoader& pictures, SegmentDisplay& display) {
    // The score or time on the panel belongs to the game, not to the skin: a reload shows the
    // same digits, drawn with the new glyphs, instead of the digit places' own pictures.
    const auto digits = display.digitsShown();
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentId id = segmentOfSection(n);
        const std::string section = "Image" + std::to_string(n);
        // No file named: the segment keeps the picture an earlier load gave it.
        if (const auto file = ini.readFileName(section, "Filename", "")) {
            const bool seeThrough = seeThroughElement(id);
            const auto found = findSkinFile(skinDir + *file);
            display.setPicture(id, found ? pictures.load(*found, skinDir + *file, seeThrough)
                                         : makePlaceholderPicture(seeThrough));
        }
        const std::int64_t height = ini.readInteger(section, "Height", 0);
        const std::int64_t left = ini.readInteger(section, "Left", 0);
        const std::int64_t top = ini.readInteger(section, "Top", 0);
        const std::int64_t width = ini.readInteger(section, "Width", 0);
        display.setBounds(id,
                          Rect{clampCoordinate(left + offset.x), clampCoordinate(top + offset.y),
                               clampSize(width), clampSize(height)});
    }
    display.showDigits(digits);
}

}  // namespace

std::string undecodablePicturesMessage(const std::vector<std::string>& files) {
    // A skin whose every file is broken should not give a message taller than the screen.
    constexpr std::size_t kListed = 20;
    std::string text = "These picture files could not be read and are shown as red squares:\n";
    for (std::size_t i = 0; i < files.size() && i < kListed; ++i) text += "\n" + files[i];
    if (files.size() > kListed)
        text += "\n... and " + std::to_string(files.size() - kListed) + " more";
    return text;
}

void Skin_Load(const std::string& programFolder, bool fullscreenMode, Shell& shell,
               SegmentDisplay& display, Presentation& presentation, const SkinLoadLimits& limits) {
    const auto configPath = findConfig(programFolder);
    const auto ini = configPath ? IniFile::load(*configPath) : std::nullopt;
    if (!ini) {
        shell.showError(configPath || configIsThere(programFolder)
                            ? "Configuration file (Config.ini) could not be read. Please "
                              "reinstall the game."
                            : "Configuration file (Config.ini) not found. Please reinstall the "
                              "game.");
        shell.requestQuit();
    } else {
        PictureLoader pictures(limits);
        const std::string skinDir = ini->readFolder("Common", "SkinDir", "Graphics\\Skin\\");
        const int gameHeight = clampSize(ini->readInteger("Common", "GameHeight", 771));
        const int gameWidth = clampSize(ini->readInteger("Common", "GameWidth", 498));
        // Full screen centres the game by its own size; only the window's size is bounded.
        const ClientSize window = boundedClientSize(gameWidth, gameHeight);
        presentation.clientHeight = window.height;
        presentation.clientWidth = window.width;
        presentation.gameWidth = window.width;
        presentation.gameHeight = window.height;

        Offset offset;
        if (fullscreenMode) {
            const ScreenSize screen = shell.screenSize();
            const std::string backdropDir =
                ini->readFolder("Fullscreen", "BackdropDir", "Graphics\\Backdrop\\");
            loadFullscreenDecor(*ini, backdropDir, pictures, display, presentation);
            offset = fullscreenOffset(*ini, screen, gameWidth, gameHeight);
            presentation.clientWidth = clampSize(screen.width);
            presentation.clientHeight = clampSize(screen.height);
            loadLogo(*ini, backdropDir, pictures, display, presentation);
        } else {
            const std::uint32_t key =
                ini->readColour("VideoMode", "TranspColor", 0xFF00FF) & 0xFFFFFF;
            presentation.backgroundColour = key;
            presentation.colourKey = key;
            presentation.colourKeyOn = true;
            display.setVisible(seg("im_backdrop"), false);
            display.setVisible(seg("im_backdrop_logo"), false);
        }
        loadSegments(*ini, skinDir, offset, pictures, display);
        // The backdrop covers the whole client area, whatever its picture's size.
        display.setBounds(seg("im_backdrop"),
                          Rect{0, 0, presentation.clientWidth, presentation.clientHeight});
        pictures.report(shell);
    }

    // The game menu button belongs to full screen; it is set up even without a Config.ini.
    presentation.fullscreen = fullscreenMode;
    constexpr SegmentId menuTop = seg("btn_game_menu_top");
    constexpr SegmentId menuBackground = seg("btn_game_menu_background");
    display.setVisible(menuTop, fullscreenMode);
    display.setVisible(menuBackground, fullscreenMode);
    Rect menu = display.segment(menuBackground).bounds;
    menu.width = 36;
    menu.height = 32;
    display.setBounds(menuBackground, menu);
}

ManualPages Skin_Load_Manual(const std::string& programFolder, Shell& shell,
                             const SkinLoadLimits& limits) {
    const auto configPath = findConfig(programFolder);
    const IniFile ini =
        (configPath ? IniFile::load(*configPath) : std::nullopt).value_or(IniFile::parse(""));

    ManualPages manual;
    const std::string dir = ini.readFolder("Manual", "ManualDir", "Graphics\\Manual\\");
    const ClientSize window = boundedClientSize(ini.readInteger("Manual", "ManualWidth", 545),
                                                ini.readInteger("Manual", "ManualHeight", 365));
    manual.clientHeight = window.height;
    manual.clientWidth = window.width;

    PictureLoader pictures(limits);
    for (int n = 1; n <= kManualPageCount; ++n) {
        const std::string name = dir + std::to_string(n) + ".bmp";
        const auto found = findSkinFile(name);
        manual.pages[n - 1] =
            found ? pictures.load(*found, name, false) : makePlaceholderPicture(false);
    }
    pictures.report(shell);
    return manual;
}
