#include <gtest/gtest.h>

#include "core/skin/skin_files.h"
#include "core/skin/skin_loader.h"
#include "image_writers.h"
#include "skin_test_support.h"

using namespace testimg;

namespace {

bool isOpaquePlaceholder(const Picture& p) {
    return p && p->width == 10 && pixelAt(p, 0, 0) == Rgba{0, 0, 0, 255} &&
           pixelAt(p, 5, 5) == Rgba{255, 0, 0, 255};
}

// --- Skin_Load_Manual ---

class ManualLoaderTest : public ScratchDirTest {};

TEST_F(ManualLoaderTest, WithoutConfigEveryValueIsItsDefaultAndNothingIsSaid) {
    RecordingShell shell;
    const ManualPages manual = Skin_Load_Manual(path("prog"), shell);
    EXPECT_EQ(manual.clientWidth, 545);
    EXPECT_EQ(manual.clientHeight, 365);
    for (const Picture& page : manual.pages) EXPECT_TRUE(isOpaquePlaceholder(page));
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_EQ(shell.quitRequests, 0);
}

TEST_F(ManualLoaderTest, PagesComeFromTheManualFolderAndAMissingOneIsAPlaceholder) {
    writeText("prog/Config.ini", "[Manual]\nManualDir=Book\nManualWidth=800\nManualHeight=600\n");
    std::filesystem::create_directories(dir_ / "Book");
    for (int n = 1; n <= 12; ++n)
        if (n != 7)
            writeFile(path("Book/" + std::to_string(n) + ".bmp"),
                      writeBmp(cornerImage(n + 2, 3), {}));
    RecordingShell shell;
    const ManualPages manual = Skin_Load_Manual(path("prog"), shell);
    EXPECT_EQ(manual.clientWidth, 800);
    EXPECT_EQ(manual.clientHeight, 600);
    for (int n = 1; n <= 12; ++n) {
        const Picture& page = manual.pages[n - 1];
        ASSERT_TRUE(page) << n;
        if (n == 7) {
            EXPECT_TRUE(isOpaquePlaceholder(page));
        } else {
            EXPECT_EQ(page->width, n + 2) << "page " << n << " out of place";
            EXPECT_EQ(pixelAt(page, 0, 2), (Rgba{0, 0, 255, 255}));  // pages are drawn opaque
        }
    }
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(ManualLoaderTest, AnUnreadablePageIsNamedOnce) {
    writeText("prog/Config.ini", "[Manual]\nManualDir=Book\\\n");
    writeText("Book/3.bmp", "BMjunk");
    RecordingShell shell;
    const ManualPages manual = Skin_Load_Manual(path("prog"), shell);
    EXPECT_TRUE(isOpaquePlaceholder(manual.pages[2]));
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_NE(shell.errors[0].find("Book\\3.bmp"), std::string::npos);
}

// --- File lookup ---

class SkinFilesTest : public ScratchDirTest {};

TEST_F(SkinFilesTest, BackslashesAreFolderDelimitersAndCaseIsIgnoredPerComponent) {
    writeText("Graphics/Skin/Hero.Bmp", "x");
    EXPECT_EQ(findSkinFile("Graphics\\Skin\\Hero.Bmp"), "Graphics/Skin/Hero.Bmp");
    EXPECT_EQ(findSkinFile("graphics\\SKIN\\hero.bmp"), "Graphics/Skin/Hero.Bmp");
    EXPECT_EQ(findSkinFile("graphics\\\\skin\\hero.bmp"), "Graphics/Skin/Hero.Bmp");
    EXPECT_EQ(findSkinFile(path("GRAPHICS/skin/HERO.bmp")), path("Graphics/Skin/Hero.Bmp"));
    EXPECT_EQ(findSkinFile("Graphics\\Skin\\Hero.bmp.bak"), std::nullopt);
    EXPECT_EQ(findSkinFile("Graphics\\Skin\\"), std::nullopt);  // a folder is not a file
    EXPECT_EQ(findSkinFile(""), std::nullopt);
}

TEST_F(SkinFilesTest, ExactNameWinsAndAmongCaseVariantsTheFirstInNameOrder) {
    writeText("d/a.bmp", "lower");
    writeText("d/A.bmp", "upper");
    EXPECT_EQ(findSkinFile("d\\a.bmp"), "d/a.bmp");
    EXPECT_EQ(findSkinFile("d\\A.BMP"), "d/A.bmp");  // "A.bmp" sorts before "a.bmp"
}

TEST_F(SkinFilesTest, ReadFileBytesRefusesFilesOverTheLimit) {
    writeText("f.bin", std::string(100, 'z'));
    EXPECT_EQ(readFileBytes("f.bin", 100)->size(), 100u);
    EXPECT_EQ(readFileBytes("f.bin", 99), std::nullopt);
    EXPECT_EQ(readFileBytes("nothing.bin", 100), std::nullopt);
}

}  // namespace
