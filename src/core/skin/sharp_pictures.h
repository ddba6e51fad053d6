#pragma once
// Sharper pictures for a skin shown at twice its own size or more. A skin names them in
// Config.ini with [Common] SkinDir2x: a folder holding the same picture files at twice their
// width and height (older readers ignore the key). A file missing there, undecodable or not
// exactly twice the size of its picture is not used, and that picture is scaled from its own
// pixels.
#include <map>
#include <string>

#include "core/display/segment_display.h"
#include "core/picture.h"
#include "core/skin/skin_loader.h"

class SharpPictures {
  public:
    // Reads the skin's Config.ini again and finds the SkinDir2x files of the pictures the
    // segments have now (after Skin_Load). Nothing is decoded yet.
    static SharpPictures find(const SkinPlace& place, const SegmentDisplay& display);

    // The sharp picture for one of those pictures, decoded now (it is needed once per scale):
    // null when it has none, or its file is not exactly twice its size.
    Picture load(const PictureData& picture) const;
    bool empty() const { return files_.empty(); }

  private:
    struct File {
        std::string path;
        bool seeThrough = false;
    };
    std::map<const PictureData*, File> files_;
};
