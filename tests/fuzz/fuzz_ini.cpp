#include <string_view>

#include "core/skin/ini_file.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::parse(text);
    for (std::string_view section : {"Common", "Fullscreen", "Image1", "image113", "Manual"}) {
        for (std::string_view key :
             {"SkinDir", "GameWidth", "Filename", "BgColor", "GameOffsetX"}) {
            if (const auto v = ini.value(section, key)) {
                fuzzCheck(v->size() <= IniFile::kMaxValueLength, "value longer than the cut");
                fuzzCheck(isValidUtf8(*v), "value not decoded to UTF-8");
                fuzzCheck(caseFolded(caseFolded(*v)) == caseFolded(*v), "folding twice differs");
            }
            ini.readInteger(section, key, 0);
            ini.readColour(section, key, 0);
            fuzzCheck(ini.readOffset(section, key) != 0, "zero offset must mean centring");
            fuzzCheck(ini.readFolder(section, key, "").back() == '\\', "folder without delimiter");
            if (const auto name = ini.readFileName(section, key, "nil"))
                fuzzCheck(!name->empty() && *name != "nil", "no-file name returned as a file");
        }
    }
    if (const auto n = parseInteger(text.substr(0, 40)))
        fuzzCheck(parseInteger(std::to_string(*n)) == n, "integer does not read back");
    return 0;
}

std::vector<FuzzInput> fuzzSeeds() {
    auto bytes = [](std::string_view s) { return FuzzInput(s.begin(), s.end()); };
    auto utf16 = [](std::u16string_view s) {
        FuzzInput b{0xFF, 0xFE};
        for (const char16_t c : s)
            b.insert(b.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
        return b;
    };
    return {
        bytes("\xEF\xBB\xBF[Common]\r\nSkinDir=Graphics\\Skin\\\r\nGameWidth=$1F2\r\n"),
        bytes("[Image1]\nFilename=\"a b.bmp\"\nLeft=-20\nTop=0x10\n;comment\n[image1]\nLeft=5\n"),
        bytes("[Fullscreen]\nGameOffsetX=Center\nBgColor=$00ff00ff\nLogoFile='nil'\n"),
        bytes("-2147483648"), bytes("0x7fffffff"),
        // Notepad's "Unicode" (UTF-16 LE with its mark), and an ANSI name in Windows-1252.
        utf16(u"[Image1]\r\nFilename=caf\u00E9 \U0001F600.PNG\r\nLeft=$10\r\n"),
        bytes("[Image2]\nFilename=caf\xE9.BMP\n")};
}

void fuzzFixup(FuzzInput&) {}
