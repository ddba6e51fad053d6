#include "core/skin/ini_file.h"

#include <gtest/gtest.h>

#include "skin_test_support.h"

namespace {

using namespace std::literals;

// --- Syntax ---

TEST(IniFileTest, SectionsAndKeysMatchWithoutRegardToCaseAndBlanksAreTrimmed) {
    const IniFile ini = IniFile::parse("  [ComMon]  \n  SkinDIR  =   Graphics\\Mine\\   \n");
    EXPECT_EQ(ini.value("common", "skindir"), "Graphics\\Mine\\");
    EXPECT_EQ(ini.value("COMMON", "SkinDir"), "Graphics\\Mine\\");
}

TEST(IniFileTest, WindowsFileWithBomAndCrLfReadsLikeAPlainOne) {
    const IniFile ini = IniFile::parse(
        "\xEF\xBB\xBF[Common]\r\nGameWidth=512\r\nGameHeight=600\r\n[Image1]\r\nFilename=a."
        "bmp\r\n");
    EXPECT_EQ(ini.readInteger("Common", "GameWidth", 0), 512);
    EXPECT_EQ(ini.readInteger("Common", "GameHeight", 0), 600);
    EXPECT_EQ(ini.value("Image1", "Filename"), "a.bmp");  // no stray carriage return
}

// --- Encodings Windows editors save ---

TEST(IniFileTest, EveryEncodingOfWindowsEditorsGivesTheSameText) {
    const std::u16string text = u"; \u20AC\r\n[Common]\r\nSkinDir=K\u00F6rper \U0001F525\\\r\n";
    const std::string utf8 = "; \u20AC\r\n[Common]\r\nSkinDir=K\u00F6rper \U0001F525\\\r\n";
    const std::string value = "K\u00F6rper \U0001F525\\";
    const struct {
        std::string bytes;
        TextEncoding encoding;
        std::string value;
        int line;
    } cases[] = {
        {utf8, TextEncoding::Utf8, value, 3},
        {"\xEF\xBB\xBF" + utf8, TextEncoding::Utf8WithBom, value, 3},
        {utf16(text), TextEncoding::Utf16Le, value, 3},
        {utf16(text, true), TextEncoding::Utf16Be, value, 3},
        // Not UTF-8, so the ANSI code page: 0x80 is the euro sign there, 0xF6 is o-umlaut.
        {"; \x80\r\n[Common]\r\nSkinDir=K\xF6rper\\\r\n", TextEncoding::Windows1252,
         "K\u00F6rper\\", 3},
        // A lone surrogate cannot stand; NUL characters are left out.
        {utf16(u"[Common]\nSkinDir=a\xD800"
               u"b\0c\n"sv),
         TextEncoding::Utf16Le, "a\uFFFDbc", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(encodingName(c.encoding));
        const IniFile ini = IniFile::parse(c.bytes);
        EXPECT_EQ(ini.encoding(), c.encoding);
        EXPECT_EQ(ini.value("common", "skindir"), c.value);
        EXPECT_EQ(ini.line("Common", "SkinDir"), c.line);
    }
    EXPECT_EQ(IniFile::parse("[s]\nk=v\n").line("s", "missing"), 0);
}

TEST(IniFileTest, QuotedValuesLoseTheirQuotesOnlyWhenBothEndsMatch) {
    const IniFile ini = IniFile::parse(
        "[s]\na=\"with blanks  \"\nb='single'\nc=\"unbalanced\nd=\"mixed'\ne=\"\"\nf=\"\n");
    EXPECT_EQ(ini.value("s", "a"), "with blanks  ");
    EXPECT_EQ(ini.value("s", "b"), "single");
    EXPECT_EQ(ini.value("s", "c"), "\"unbalanced");
    EXPECT_EQ(ini.value("s", "d"), "\"mixed'");
    EXPECT_EQ(ini.value("s", "e"), "");
    EXPECT_EQ(ini.value("s", "f"), "\"");
}

TEST(IniFileTest, CommentsLinesWithoutEqualsAndKeysOutsideSectionsAreIgnored) {
    const IniFile ini = IniFile::parse(
        "orphan=1\n; [Common]\n[Common]\n;GameWidth=1\njust some words\n=novalue\nGameWidth=7\n");
    EXPECT_EQ(ini.value("Common", "orphan"), std::nullopt);
    EXPECT_EQ(ini.readInteger("Common", "GameWidth", 0), 7);
    EXPECT_EQ(ini.value("Common", "just some words"), std::nullopt);
}

TEST(IniFileTest, TheFirstOfDuplicateKeysWinsAlsoAcrossARepeatedSection) {
    const IniFile ini = IniFile::parse("[a]\nk=first\nk=second\n[b]\n[A]\nk=third\nother=x\n");
    EXPECT_EQ(ini.value("a", "k"), "first");
    EXPECT_EQ(ini.value("a", "other"), "x");
}

TEST(IniFileTest, ValueIsCutAt2047Characters) {
    const std::string longValue(3000, 'v');
    const IniFile ini = IniFile::parse("[s]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.value("s", "k")->size(), 2047u);
}

TEST(IniFileTest, EmptyValueIsPresentButEmpty) {
    const IniFile ini = IniFile::parse("[s]\nk=\n");
    EXPECT_EQ(ini.value("s", "k"), "");
    EXPECT_EQ(ini.readString("s", "k", "default"), "");
    EXPECT_EQ(ini.readString("s", "missing", "default"), "default");
    EXPECT_EQ(ini.readString("missing", "k", "default"), "default");
}

TEST(IniFileTest, LastLineWithoutNewlineIsRead) {
    EXPECT_EQ(IniFile::parse("[s]\nk=last").value("s", "k"), "last");
}

// --- Integers ---

TEST(IniFileTest, IntegersAreDecimalOrHexadecimalWithDollarOrZeroX) {
    EXPECT_EQ(parseInteger("498"), 498);
    EXPECT_EQ(parseInteger("-20"), -20);
    EXPECT_EQ(parseInteger("+5"), 5);
    EXPECT_EQ(parseInteger("$1F"), 31);
    EXPECT_EQ(parseInteger("0x200"), 512);
    EXPECT_EQ(parseInteger("0X200"), 512);
    EXPECT_EQ(parseInteger("$00ff00ff"), 0x00FF00FF);
    EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);  // hexadecimal wraps into 32 bits
}

TEST(IniFileTest, TextThatIsNotAnIntegerIsRejected) {
    for (const char* text : {"", "abc", "12px", "0x", "$", "-", "1 2", "0x1G", "2147483648",
                             "-2147483649", "$100000000", "Center"})
        EXPECT_EQ(parseInteger(text), std::nullopt) << text;
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST(IniFileTest, ReadIntegerFallsBackOnTextAndOnMissingKey) {
    const IniFile ini = IniFile::parse("[Common]\nGameWidth=abc\nGameHeight=0x200\n");
    EXPECT_EQ(ini.readInteger("Common", "GameWidth", 498), 498);
    EXPECT_EQ(ini.readInteger("Common", "GameHeight", 771), 512);
    EXPECT_EQ(ini.readInteger("Common", "Nothing", 3), 3);
}

// --- Typed values ---

TEST(IniFileTest, ColoursAreBgrIntegersAndFallBackWhenNotIntegers) {
    const IniFile ini =
        IniFile::parse("[v]\nmagenta=$00ff00ff\nshortBlack=$0000000\nred=255\nbad=blue\n");
    EXPECT_EQ(ini.readColour("v", "magenta", 1), 0x00FF00FFu);
    EXPECT_EQ(ini.readColour("v", "shortBlack", 1), 0u);
    EXPECT_EQ(ini.readColour("v", "red", 1), 0xFFu);
    EXPECT_EQ(ini.readColour("v", "bad", 0x123456), 0x123456u);
}

TEST(IniFileTest, OffsetIsANonZeroIntegerAndEverythingElseCentres) {
    const IniFile ini = IniFile::parse("[f]\nzero=0\nleft=-20\ncentre=Center\nhex=$10\n");
    EXPECT_EQ(ini.readOffset("f", "zero"), std::nullopt);
    EXPECT_EQ(ini.readOffset("f", "left"), -20);
    EXPECT_EQ(ini.readOffset("f", "centre"), std::nullopt);
    EXPECT_EQ(ini.readOffset("f", "hex"), 16);
    EXPECT_EQ(ini.readOffset("f", "missing"), std::nullopt);
}

TEST(IniFileTest, FolderGetsATrailingBackslashOnlyWhenMissing) {
    const IniFile ini = IniFile::parse("[c]\nwith=Pics\\\nwithout=Pics\n");
    EXPECT_EQ(ini.readFolder("c", "with", ""), "Pics\\");
    EXPECT_EQ(ini.readFolder("c", "without", ""), "Pics\\");
    EXPECT_EQ(ini.readFolder("c", "missing", "Graphics\\Skin\\"), "Graphics\\Skin\\");
}

TEST(IniFileTest, OnlyEmptyAndLowerCaseNilMeanNoFile) {
    const IniFile ini =
        IniFile::parse("[i]\nempty=\nlower=nil\nupper=NIL\nmixed=Nil\nname=a.png\n");
    EXPECT_EQ(ini.readFileName("i", "empty", "x"), std::nullopt);
    EXPECT_EQ(ini.readFileName("i", "lower", "x"), std::nullopt);
    EXPECT_EQ(ini.readFileName("i", "upper", "x"), "NIL");
    EXPECT_EQ(ini.readFileName("i", "mixed", "x"), "Nil");
    EXPECT_EQ(ini.readFileName("i", "name", "x"), "a.png");
    EXPECT_EQ(ini.readFileName("i", "missing", "nil"), std::nullopt);
}

}  // namespace
