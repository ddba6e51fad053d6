#pragma once
// Where the build put the rendered assets (set by tests/assets/CMakeLists.txt).
#include <string>

#include "core/skin/ini_file.h"

inline const std::string kProgramDir = TORCHWHEEL_PROGRAM_DIR;
inline const std::string kTestSkinDir = TORCHWHEEL_TEST_SKIN_DIR;
inline const std::string kIconsDir = TORCHWHEEL_ICONS_DIR;

struct SectionRect {
    std::string file;
    int left = 0, top = 0, width = 0, height = 0;
    bool contains(const SectionRect& o) const {
        return o.left >= left && o.top >= top && o.left + o.width <= left + width &&
               o.top + o.height <= top + height;
    }
};

inline SectionRect sectionRect(const IniFile& ini, int n) {
    const std::string s = "Image" + std::to_string(n);
    return {ini.readString(s, "Filename", ""), ini.readInteger(s, "Left", -1),
            ini.readInteger(s, "Top", -1), ini.readInteger(s, "Width", 0),
            ini.readInteger(s, "Height", 0)};
}
