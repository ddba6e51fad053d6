#pragma once
// Sharper pictures for a skin shown at twice its own size or more. A skin names them in
// Config.ini with [Common] SkinDir2x: a folder holding the same picture files at twice their
// width and height (older readers ignore the key). A file missing there, undecodable or not
// exactly twice the size of its picture is left out, and that picture is scaled from its own
// pixels.
#include <cstdint>
#include <map>
#include <string>

#include "core/display/segment_display.h"
#include "core/picture.h"
#include "core/skin/picture_decoder.h"

// The sharp picture of each segment picture that has one, by the picture it replaces.
using SharpPictures = std::map<const PictureData*, Picture>;

// Four times the pixels of an ordinary load at most.
struct SharpLoadLimits {
    DecodeLimits perPicture{16384, std::int64_t{64} * 1024 * 1024};
    std::int64_t pixelsPerLoad = std::int64_t{192} * 1024 * 1024;
};

// Reads programFolder/Config.ini again and the SkinDir2x pictures of the segments' files, for
// the pictures the segments have now (after Skin_Load).
SharpPictures loadSharpPictures(const std::string& programFolder, const SegmentDisplay& display,
                                const SharpLoadLimits& limits = {});
