#pragma once
// The check a skin's author runs before passing a skin on. It loads the skin through the
// program's own loader, windowed and in full screen, and the manual with it, and lists what a
// player would miss.
#include <string>
#include <vector>

#include "core/skin/skin_loader.h"

struct SkinCheck {
    std::vector<std::string> lines;  // the report, one line each
    bool playable = false;           // nothing would show as a red square or an empty window
};

SkinCheck checkSkin(const SkinPlace& place);
