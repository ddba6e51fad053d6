#pragma once
// The text of skins made on Windows: Config.ini in the encodings Windows editors save, the two
// spellings a name may have on disk (UTF-8, or the ANSI code page Windows-1252), and names
// compared without regard to case the way Windows' file systems compare them.
#include <optional>
#include <string>
#include <string_view>

enum class TextEncoding { Utf8, Utf8WithBom, Utf16Le, Utf16Be, Windows1252 };

struct DecodedText {
    std::string utf8;
    TextEncoding encoding = TextEncoding::Utf8;
};

// "UTF-16 LE", "Windows-1252" and so on, for people.
std::string_view encodingName(TextEncoding encoding);

// UTF-16 LE or BE after their byte order mark, UTF-8 after its mark or whenever the bytes are
// valid UTF-8, and Windows-1252 otherwise. The mark is dropped, and so is every NUL character
// (a name cannot hold one, and an unmarked UTF-16 file of plain ASCII then still reads).
// Broken UTF-16 becomes U+FFFD; bytes that are not UTF-8 after a UTF-8 mark are read as
// Windows-1252.
DecodedText decodeText(std::string_view bytes);

// How the start of the bytes says they are UTF-16 (the byte order mark); nullopt otherwise.
std::optional<TextEncoding> utf16Mark(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text; nullopt when a character has no place in that code page.
std::optional<std::string> windows1252Spelling(std::string_view utf8);

// The bytes as text (UTF-8 where they are valid UTF-8, each other byte as Windows-1252), with
// every character replaced by its simple Unicode case folding: two names that differ only in
// case fold to the same text.
std::string caseFolded(std::string_view bytes);

// The same for bytes that are Windows-1252 throughout, for names written in that code page whose
// bytes happen to be valid UTF-8 as well.
std::string caseFoldedWindows1252(std::string_view bytes);
