#pragma once
// The one integer grammar of the stored settings and of Config.ini: decimal, or hexadecimal after
// "$" or "0x"/"0X", with an optional leading sign; nothing else (no blanks). Hexadecimal texts
// denote 32-bit patterns ("$FFFFFFFF" is -1); a decimal one must fit 32 bits.
#include <cstdint>
#include <optional>
#include <string_view>

std::optional<std::int32_t> parseIntegerText(std::string_view text);
