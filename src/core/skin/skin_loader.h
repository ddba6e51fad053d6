#pragma once
// Applying "Config.ini" and its picture files to the device window (Skin_Load) and to the manual
// viewer (Skin_Load_Manual).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/display/lcd_look.h"
#include "core/display/segment_display.h"
#include "core/picture.h"
#include "core/shell.h"
#include "core/skin/picture_decoder.h"

// How the device window presents itself; the Qt window applies it after each load. It lives as
// long as the window: a load that finds no backdrop leaves the backdrop's stretch switch as it was.
struct Presentation {
    int clientWidth = 0;
    int clientHeight = 0;
    int gameWidth = 0;  // the game area as Config.ini gives it, centred in full screen
    int gameHeight = 0;
    std::uint32_t backgroundColour = 0;  // $00BBGGRR: red in the lowest byte
    bool colourKeyOn = false;            // pixels of colourKey are see-through and let clicks pass
    std::uint32_t colourKey = 0;         // $00BBGGRR
    bool backdropStretch = false;        // stretch the backdrop over the window, else centre it
    bool fullscreen = false;
    LcdLookChoice lcdDefaults;  // the skin's suggestion; the player's stored choice wins
};

// What one load may hold in all: each picture within perPicture, and all pictures together
// (decoded ones and the copies the drawing rules make) within pixelsPerLoad, so that a skin of
// many files promising huge pictures cannot exhaust memory, while one picture at the
// per-picture limit leaves room for the rest of the skin. A picture beyond either limit is
// treated like one that cannot be decoded.
struct SkinLoadLimits {
    DecodeLimits perPicture;
    std::int64_t pixelsPerLoad = std::int64_t{48} * 1024 * 1024;
};

// Twelve pages of a manual need far less than a skin.
inline constexpr SkinLoadLimits kManualLoadLimits{{}, std::int64_t{24} * 1024 * 1024};

// The largest client area Config.ini may ask for, for the windowed device and for the manual
// viewer: at most kMaxWindowSide a side and kMaxWindowPixels in all (a taller one is cut back),
// so that a window's own buffers stay near 64 MB whatever the file says.
inline constexpr int kMaxWindowSide = 8192;
inline constexpr std::int64_t kMaxWindowPixels = std::int64_t{1} << 24;

// Where a skin is: the folder of its Config.ini, and the folder its relative folders are
// resolved against (the working directory when empty). The program's own skin is beside the
// program file and resolves against the working directory; a skin played from a folder of its
// own resolves against that folder.
struct SkinPlace {
    SkinPlace(std::string programFolder)  // NOLINT(google-explicit-constructor): the usual case
        : configFolder(std::move(programFolder)) {}
    SkinPlace(std::string configFolder_, std::string baseFolder_)
        : configFolder(std::move(configFolder_)), baseFolder(std::move(baseFolder_)) {}
    std::string configFolder;
    std::string baseFolder;
};

// What a load met that the author of a skin should hear of; the skin checker lists them.
struct SkinFinding {
    enum class Effect { RedSquare, EmptyWindow, Note };
    Effect effect;
    std::string text;
    bool operator==(const SkinFinding&) const = default;
};
using SkinFindings = std::vector<SkinFinding>;

// Reads Config.ini and sets pictures and rectangles of the segments, the backdrop and the logo,
// and the presentation. Of the visible flags it sets only those of the backdrop, the logo and the
// game menu button. A missing or unreadable Config.ini is reported through the shell and ends the
// program; pictures that cannot be decoded are shown as placeholders and named in one message.
// With findings, also every missing picture, value that is not a number, and BMP that mostly
// vanishes is noted there.
void Skin_Load(const SkinPlace& place, bool fullscreenMode, Shell& shell, SegmentDisplay& display,
               Presentation& presentation, const SkinLoadLimits& limits = {},
               SkinFindings* findings = nullptr);

inline constexpr int kManualPageCount = 12;

struct ManualPages {
    int clientWidth = 545;
    int clientHeight = 365;
    std::array<Picture, kManualPageCount> pages;  // page 1 first; every page has a picture
};

// Reads the Manual section (defaults when Config.ini is missing) and the twelve pages 1.bmp ..
// 12.bmp, drawn opaque; a missing page gets the placeholder.
ManualPages Skin_Load_Manual(const SkinPlace& place, Shell& shell,
                             const SkinLoadLimits& limits = kManualLoadLimits,
                             SkinFindings* findings = nullptr);

// The message that names the picture files which exist but could not be decoded.
std::string undecodablePicturesMessage(const std::vector<std::string>& files);
