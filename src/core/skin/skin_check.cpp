#include "core/skin/skin_check.h"

#include "core/headless_shell.h"
#include "core/skin/ini_file.h"
#include "core/skin/skin_files.h"

namespace {

std::string effectName(SkinFinding::Effect effect) {
    switch (effect) {
        case SkinFinding::Effect::RedSquare:
            return "red square: ";
        case SkinFinding::Effect::EmptyWindow:
            return "empty window: ";
        case SkinFinding::Effect::Note:
            break;
    }
    return "note: ";
}

}  // namespace

SkinCheck checkSkin(const SkinPlace& place) {
    SkinCheck check;
    SkinFindings findings;
    HeadlessShell shell(false);
    SegmentDisplay windowed;
    Presentation presentation;
    Skin_Load(place, false, shell, windowed, presentation, {}, &findings);

    if (const auto config = SkinFiles(place.configFolder).find("Config.ini")) {
        const auto ini = IniFile::load(*config);
        check.lines.push_back("Config.ini: " + *config +
                              (ini ? " (" + std::string(encodingName(ini->encoding())) + ")" : ""));
    }
    if (!shell.quit) {
        SegmentDisplay fullscreen;
        Presentation fullscreenPresentation;
        Skin_Load(place, true, shell, fullscreen, fullscreenPresentation, {}, &findings);
        Skin_Load_Manual(place, shell, kManualLoadLimits, &findings);

        const std::string size = std::to_string(presentation.clientWidth) + " x " +
                                 std::to_string(presentation.clientHeight) + " pixels";
        check.lines.push_back("window: " + size);
        if (presentation.clientWidth == 0 || presentation.clientHeight == 0)
            findings.push_back({SkinFinding::Effect::EmptyWindow,
                                "the window is " + size + " (GameWidth and GameHeight)"});
        bool anyPicture = false;
        for (int n = 1; n <= kPictureSectionCount; ++n)
            anyPicture = anyPicture || windowed.segment(segmentOfSection(n)).picture;
        if (!anyPicture)
            findings.push_back({SkinFinding::Effect::EmptyWindow,
                                "no [ImageN] section names a picture file (Filename)"});
    }

    int problems = 0;
    for (const SkinFinding& finding : findings) {
        check.lines.push_back(effectName(finding.effect) + finding.text);
        problems += finding.effect != SkinFinding::Effect::Note;
    }
    check.playable = problems == 0;
    check.lines.push_back(check.playable ? "no red squares, no empty window"
                                         : std::to_string(problems) +
                                               (problems == 1 ? " problem" : " problems") +
                                               " would show as red squares or an empty window");
    return check;
}
