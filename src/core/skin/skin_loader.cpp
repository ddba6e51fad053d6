#include "core/skin/skin_loader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
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

std::optional<std::string> findConfig(const SkinPlace& place) {
    return SkinFiles(place.configFolder).find("Config.ini");
}

// Something named Config.ini that is no readable file (a folder, a pipe, a file without read
// permission) is there all the same; saying it is missing would send the user the wrong way.
bool configIsThere(const SkinPlace& place) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(
        std::filesystem::path(place.configFolder) / "Config.ini", ec));
}

// Reads Config.ini for the loader, and notes for the skin checker what it reads and does not use.
class SkinReader {
  public:
    SkinReader(const IniFile& ini, SkinFindings* findings) : ini_(ini), findings_(findings) {}

    const IniFile& ini() const { return ini_; }
    bool noting() const { return findings_ != nullptr; }
    void note(SkinFinding::Effect effect, std::string text) const {
        if (!findings_) return;
        // The commonest slip of all, from other INI dialects.
        if (text.find(';') != std::string::npos)
            text += " (a \";\" after a value is part of the value)";
        SkinFinding finding{effect, std::move(text)};
        if (std::find(findings_->begin(), findings_->end(), finding) == findings_->end())
            findings_->push_back(std::move(finding));
    }

    // "line 12, [Image1] Filename=a.png", or "[Image1] Filename" when the key is not written.
    std::string where(std::string_view section, std::string_view key) const {
        const int line = ini_.line(section, key);
        std::string text = "[" + std::string(section) + "] " + std::string(key);
        if (line == 0) return text;
        return "line " + std::to_string(line) + ", " + text + "=" + *ini_.value(section, key);
    }

    std::int32_t integer(std::string_view section, std::string_view key,
                         std::int32_t fallback) const {
        checkNumber(section, key, std::to_string(fallback));
        return ini_.readInteger(section, key, fallback);
    }
    std::uint32_t colour(std::string_view section, std::string_view key,
                         std::uint32_t fallback) const {
        char hex[16];
        std::snprintf(hex, sizeof hex, "$%08x", fallback);
        checkNumber(section, key, hex);
        return ini_.readColour(section, key, fallback);
    }

  private:
    void checkNumber(std::string_view section, std::string_view key,
                     const std::string& fallback) const {
        if (!findings_) return;
        const auto text = ini_.value(section, key);
        if (text && !parseInteger(*text))
            note(SkinFinding::Effect::Note,
                 where(section, key) + ": not a number, " + fallback + " is used");
    }

    const IniFile& ini_;
    SkinFindings* findings_;
};

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

// What a picture is for: where the skin names it, and how it is drawn.
struct PictureUse {
    std::string where;  // for the skin's author
    bool seeThrough = false;
    bool lcd = false;  // an LCD segment, mostly background by nature
};

// Decodes the pictures of one load. A file named by many elements (under any name that leads to
// it) is decoded once and prepared once per drawing rule; the elements share the result. The
// budget counts every picture the load holds: each decoded one and each prepared copy that
// differs from it. Nothing is kept once the load is over but what the elements hold.
class PictureLoader {
  public:
    PictureLoader(const SkinLoadLimits& limits, const SkinReader& reader)
        : limits_(limits), reader_(reader) {}

    // The picture for an element whose file exists: decoded, or the placeholder when it cannot be
    // decoded within the limits (the file's name is then remembered for the message).
    Picture load(const std::string& foundPath, const std::string& nameAsWritten,
                 const PictureUse& use) {
        const Picture picture =
            loadDecodable(foundPath, nameAsWritten, use, SkinFinding::Effect::RedSquare);
        return picture ? picture : makePlaceholderPicture(use.seeThrough);
    }

    // The same, but null when the file cannot be decoded: the backdrop and the logo then go
    // without a picture, as when their file is missing, instead of a stretched placeholder.
    Picture loadDecodable(const std::string& foundPath, const std::string& nameAsWritten,
                          const PictureUse& use,
                          SkinFinding::Effect effect = SkinFinding::Effect::Note) {
        // Links and case variants lead to one file; its format still follows the name used.
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::canonical(foundPath, ec);
        const std::string file = (ec ? foundPath : canonical.string()) + '\n' +
                                 std::filesystem::path(foundPath).extension().string();
        const std::int64_t roomBefore = pixelsLeft();
        auto it = prepared_.find({file, use.seeThrough});
        if (it == prepared_.end())
            it = prepared_.emplace(std::pair{file, use.seeThrough}, prepare(file, foundPath, use))
                     .first;
        if (it->second) return it->second;
        if (std::find(failed_.begin(), failed_.end(), nameAsWritten) == failed_.end()) {
            failed_.push_back(nameAsWritten);
            if (reader_.noting())
                reader_.note(effect, use.where + ": " + nameAsWritten + " " +
                                         whyNoPicture(foundPath, limits_.perPicture, roomBefore));
        }
        return nullptr;
    }

    // Tells the user once about every file that could not be decoded.
    void report(Shell& shell) const {
        if (!failed_.empty()) shell.showError(undecodablePicturesMessage(failed_));
    }

  private:
    static std::int64_t pixelsOf(const Picture& p) { return std::int64_t{p->width} * p->height; }
    std::int64_t pixelsLeft() const { return limits_.pixelsPerLoad - pixelsUsed_; }

    Picture prepare(const std::string& file, const std::string& path, const PictureUse& use) {
        auto it = decoded_.find(file);
        if (it == decoded_.end()) it = decoded_.emplace(file, decodeWithinBudget(path)).first;
        if (!it->second) return nullptr;
        Picture drawn = applyDrawingRules(*it->second, use.seeThrough);
        if (it->second->format == PictureFormat::Bitmap && use.seeThrough)
            noteVanishing(drawn, use);
        if (drawn == it->second->picture) return drawn;
        if (pixelsOf(drawn) > pixelsLeft()) return nullptr;
        pixelsUsed_ += pixelsOf(drawn);
        return drawn;
    }

    // A see-through BMP loses every pixel of its bottom-left colour. A device picture that loses
    // most of itself that way, or an LCD segment that loses all, was hardly meant so (a 32-bit
    // BMP's alpha, for one, is not used).
    void noteVanishing(const Picture& drawn, const PictureUse& use) const {
        if (!reader_.noting() || !drawn || drawn->rgba.empty()) return;
        std::int64_t gone = 0;
        for (std::size_t i = 3; i < drawn->rgba.size(); i += 4) gone += drawn->rgba[i] == 0;
        const std::int64_t percent = gone * 100 / pixelsOf(drawn);
        if (gone == pixelsOf(drawn) || (!use.lcd && percent > 50))
            reader_.note(SkinFinding::Effect::Note,
                         use.where + ": " + std::to_string(percent) +
                             "% of the picture has the colour of its bottom-left pixel and is "
                             "see-through");
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
    const SkinReader& reader_;
    std::int64_t pixelsUsed_ = 0;
    // Keyed by the file and the extension it was named with.
    std::map<std::string, std::optional<DecodedPicture>> decoded_;
    std::map<std::pair<std::string, bool>, Picture> prepared_;  // null: could not be had
    std::vector<std::string> failed_;
};

// Everything one load works with.
struct Load {
    const SkinReader& reader;
    SkinFiles& files;
    PictureLoader& pictures;
    SegmentDisplay& display;
};

struct Offset {
    int x = 0;
    int y = 0;
};

bool seeThroughElement(SegmentId id) {
    return kSegmentCatalogue[id].transparent;
}

void noteMissingDecor(const Load& load, std::string_view key, const std::string& name) {
    load.reader.note(SkinFinding::Effect::Note,
                     load.reader.where("Fullscreen", key) + ": " + name + " not found, left out");
}

void loadFullscreenDecor(const Load& load, const std::string& backdropDir,
                         Presentation& presentation) {
    const IniFile& ini = load.reader.ini();
    constexpr SegmentId backdrop = seg("im_backdrop");
    if (const auto file = ini.readFileName("Fullscreen", "BackdropFile", "nil")) {
        const auto found = load.files.find(backdropDir + *file);
        if (!found) noteMissingDecor(load, "BackdropFile", backdropDir + *file);
        const PictureUse use{load.reader.where("Fullscreen", "BackdropFile"),
                             seeThroughElement(backdrop)};
        if (Picture picture =
                found ? load.pictures.loadDecodable(*found, backdropDir + *file, use) : nullptr) {
            load.display.setPicture(backdrop, std::move(picture));
            presentation.backdropStretch =
                load.reader.integer("Fullscreen", "BackdropStretch", 0) != 0;
            load.display.setVisible(backdrop, true);
        }
    }

    presentation.backgroundColour =
        load.reader.colour("Fullscreen", "BgColor", 0x000000) & 0xFFFFFF;
    presentation.colourKeyOn = false;
}

// Section Lcd, which readers before it ignore: "Look" is "Plain" or "Real" (in any case),
// "UnlitContrast" a percentage. What is neither is left at the default, and the checker says so.
LcdLookChoice readLcdDefaults(const SkinReader& reader) {
    LcdLookChoice defaults;
    if (auto look = reader.ini().value("Lcd", "Look")) {
        std::transform(look->begin(), look->end(), look->begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (*look == "real")
            defaults.look = LcdLook::Real;
        else if (*look != "plain")
            reader.note(SkinFinding::Effect::Note,
                        reader.where("Lcd", "Look") + ": neither Plain nor Real, Plain is used");
    }
    const int contrast = reader.integer("Lcd", "UnlitContrast", defaults.unlitContrast);
    if (contrast >= 0 && contrast <= 100)
        defaults.unlitContrast = contrast;
    else
        reader.note(SkinFinding::Effect::Note,
                    reader.where("Lcd", "UnlitContrast") + ": not a percentage from 0 to 100, " +
                        std::to_string(defaults.unlitContrast) + " is used");
    return defaults;
}

Offset fullscreenOffset(const IniFile& ini, ScreenSize screen, int gameWidth, int gameHeight) {
    // Integer division truncates toward zero, as centring must: -3 / 2 is -1.
    const auto x = ini.readOffset("Fullscreen", "GameOffsetX");
    const auto y = ini.readOffset("Fullscreen", "GameOffsetY");
    return {x ? *x : clampCoordinate((std::int64_t{screen.width} - gameWidth) / 2),
            y ? *y : clampCoordinate((std::int64_t{screen.height} - gameHeight) / 2)};
}

void loadLogo(const Load& load, const std::string& backdropDir, const Presentation& presentation) {
    const auto file = load.reader.ini().readFileName("Fullscreen", "LogoFile", "nil");
    if (!file) return;
    const auto found = load.files.find(backdropDir + *file);
    if (!found) return noteMissingDecor(load, "LogoFile", backdropDir + *file);

    constexpr SegmentId logo = seg("im_backdrop_logo");
    const Picture picture = load.pictures.loadDecodable(
        *found, backdropDir + *file,
        {load.reader.where("Fullscreen", "LogoFile"), seeThroughElement(logo)});
    if (!picture) return;
    load.display.setPicture(logo, picture);
    load.display.setVisible(logo, true);
    Rect r = load.display.segment(logo).bounds;
    r.width = picture->width;
    r.height = picture->height;
    const int right = presentation.clientWidth - r.width;
    const int bottom = presentation.clientHeight - r.height;
    switch (load.reader.integer("Fullscreen", "LogoPosition", 1)) {
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
    load.display.setBounds(logo, r);
}

void loadSegments(const Load& load, const std::string& skinDir, Offset offset) {
    const SkinReader& reader = load.reader;
    // The score or time on the panel belongs to the game, not to the skin: a reload shows the
    // same digits, drawn with the new glyphs, instead of the digit places' own pictures.
    const auto digits = load.display.digitsShown();
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentId id = segmentOfSection(n);
        const std::string section = "Image" + std::to_string(n);
        // No file named: the segment keeps the picture an earlier load gave it.
        if (const auto file = reader.ini().readFileName(section, "Filename", "")) {
            // The LCD's background and segments; the device pictures come before them.
            const PictureUse use{reader.where(section, "Filename"), seeThroughElement(id),
                                 n >= kSegmentCatalogue[seg("im_game_background")].section};
            const auto found = load.files.find(skinDir + *file);
            if (!found)
                reader.note(SkinFinding::Effect::RedSquare,
                            use.where + ": " + skinDir + *file + " not found");
            load.display.setPicture(id, found ? load.pictures.load(*found, skinDir + *file, use)
                                              : makePlaceholderPicture(use.seeThrough));
        }
        const std::int64_t height = reader.integer(section, "Height", 0);
        const std::int64_t left = reader.integer(section, "Left", 0);
        const std::int64_t top = reader.integer(section, "Top", 0);
        const std::int64_t width = reader.integer(section, "Width", 0);
        load.display.setBounds(
            id, Rect{clampCoordinate(left + offset.x), clampCoordinate(top + offset.y),
                     clampSize(width), clampSize(height)});
    }
    load.display.showDigits(digits);
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

void Skin_Load(const SkinPlace& place, bool fullscreenMode, Shell& shell, SegmentDisplay& display,
               Presentation& presentation, const SkinLoadLimits& limits, SkinFindings* findings) {
    const auto configPath = findConfig(place);
    const auto ini = configPath ? IniFile::load(*configPath) : std::nullopt;
    presentation.lcdDefaults = {};
    if (!ini) {
        const bool there = configPath || configIsThere(place);
        if (findings)
            findings->push_back({SkinFinding::Effect::EmptyWindow,
                                 "Config.ini " +
                                     std::string(there ? "cannot be read" : "not found") + " in " +
                                     place.configFolder});
        shell.showError(
            there ? "Configuration file (Config.ini) could not be read. Please reinstall the game."
                  : "Configuration file (Config.ini) not found. Please reinstall the game.");
        shell.requestQuit();
    } else {
        const SkinReader reader(*ini, findings);
        presentation.lcdDefaults = readLcdDefaults(reader);
        SkinFiles files(place.baseFolder);
        PictureLoader pictures(limits, reader);
        const Load load{reader, files, pictures, display};
        const std::string skinDir = ini->readFolder("Common", "SkinDir", "Graphics\\Skin\\");
        const int gameHeight = clampSize(reader.integer("Common", "GameHeight", 771));
        const int gameWidth = clampSize(reader.integer("Common", "GameWidth", 498));
        // Full screen centres the game by its own size; only the window's size is bounded.
        const ClientSize window = boundedClientSize(gameWidth, gameHeight);
        presentation.clientHeight = window.height;
        presentation.clientWidth = window.width;
        presentation.gameWidth = gameWidth;
        presentation.gameHeight = gameHeight;

        Offset offset;
        if (fullscreenMode) {
            const ScreenSize screen = shell.screenSize();
            const std::string backdropDir =
                ini->readFolder("Fullscreen", "BackdropDir", "Graphics\\Backdrop\\");
            loadFullscreenDecor(load, backdropDir, presentation);
            offset = fullscreenOffset(*ini, screen, gameWidth, gameHeight);
            presentation.clientWidth = clampSize(screen.width);
            presentation.clientHeight = clampSize(screen.height);
            loadLogo(load, backdropDir, presentation);
            // A logo the device would partly cover (a zoom that fills the screen, a screen hardly
            // larger than the game) is left out rather than shown as a sliver beside it.
            const Rect logo = display.segment(seg("im_backdrop_logo")).bounds;
            if (logo.left < offset.x + gameWidth && offset.x < logo.left + logo.width &&
                logo.top < offset.y + gameHeight && offset.y < logo.top + logo.height)
                display.setVisible(seg("im_backdrop_logo"), false);
        } else {
            const std::uint32_t key =
                reader.colour("VideoMode", "TranspColor", 0xFF00FF) & 0xFFFFFF;
            presentation.backgroundColour = key;
            presentation.colourKey = key;
            presentation.colourKeyOn = true;
            display.setVisible(seg("im_backdrop"), false);
            display.setVisible(seg("im_backdrop_logo"), false);
        }
        loadSegments(load, skinDir, offset);
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

ManualPages Skin_Load_Manual(const SkinPlace& place, Shell& shell, const SkinLoadLimits& limits,
                             SkinFindings* findings) {
    const auto configPath = findConfig(place);
    const IniFile ini =
        (configPath ? IniFile::load(*configPath) : std::nullopt).value_or(IniFile::parse(""));
    const SkinReader reader(ini, findings);

    ManualPages manual;
    const std::string dir = ini.readFolder("Manual", "ManualDir", "Graphics\\Manual\\");
    const ClientSize window = boundedClientSize(reader.integer("Manual", "ManualWidth", 545),
                                                reader.integer("Manual", "ManualHeight", 365));
    manual.clientHeight = window.height;
    manual.clientWidth = window.width;

    SkinFiles files(place.baseFolder);
    PictureLoader pictures(limits, reader);
    std::vector<std::string> missing;
    for (int n = 1; n <= kManualPageCount; ++n) {
        const std::string name = dir + std::to_string(n) + ".bmp";
        const auto found = files.find(name);
        if (!found) missing.push_back(name);
        manual.pages[n - 1] =
            found ? pictures.load(*found, name, {"manual page " + std::to_string(n), false})
                  : makePlaceholderPicture(false);
    }
    if (missing.size() == kManualPageCount)
        reader.note(
            SkinFinding::Effect::RedSquare,
            reader.where("Manual", "ManualDir") + ": no manual page 1.bmp ... 12.bmp in " + dir);
    else
        for (const std::string& name : missing)
            reader.note(SkinFinding::Effect::RedSquare, "manual page " + name + " not found");
    pictures.report(shell);
    return manual;
}
