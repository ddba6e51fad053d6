#pragma once
// The reader of "Config.ini": sections of key=value lines, read the way the Windows profile
// functions read them. The parser takes the file's bytes; reading the file is separate.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/skin/text_encoding.h"

// Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign in front; the value must
// fit 32 bits (hexadecimal wraps like an unsigned 32-bit number). nullopt for anything else.
std::optional<std::int32_t> parseInteger(std::string_view text);

class IniFile {
  public:
    // Values longer than this many bytes of UTF-8 are cut, never inside a character.
    static constexpr std::size_t kMaxValueLength = 2047;

    // The bytes in any encoding decodeText knows; names and values come out as UTF-8.
    static IniFile parse(std::string_view bytes);
    // nullopt when the file cannot be read or is not a regular file. Of a file larger than a
    // megabyte only the lines within the first megabyte are read.
    static std::optional<IniFile> load(const std::string& path);

    TextEncoding encoding() const { return encoding_; }

    // The value as written (trimmed, quotes removed); nullopt when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The line (from 1) the value stands on; 0 when the section or key is missing.
    int line(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // A colour $00BBGGRR; text that is not an integer gives the fallback.
    std::uint32_t readColour(std::string_view section, std::string_view key,
                             std::uint32_t fallback) const;
    // A non-zero integer is an offset in pixels; anything else (0, "Center", missing) is nullopt,
    // which means centring.
    std::optional<std::int32_t> readOffset(std::string_view section, std::string_view key) const;
    // A folder always ends with "\".
    std::string readFolder(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // nullopt for "" and for exactly "nil": no file.
    std::optional<std::string> readFileName(std::string_view section, std::string_view key,
                                            const std::string& fallback) const;

  private:
    struct Entry {
        std::string value;
        int line = 0;
    };
    static IniFile parseText(const DecodedText& text);
    const Entry* find(std::string_view section, std::string_view key) const;

    // Lower-cased section name -> lower-cased key -> value.
    std::map<std::string, std::map<std::string, Entry>, std::less<>> sections_;
    TextEncoding encoding_ = TextEncoding::Utf8;
};
