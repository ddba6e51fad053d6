#include "core/skin/ini_file.h"

#include <algorithm>

#include "core/integer_text.h"
#include "core/skin/skin_files.h"

namespace {

// Config.ini is a few kilobytes. Of a file far larger than that only the first part is read, up
// to its last whole line; the rest is taken as absent.
constexpr std::size_t kMaxIniBytes = 1024 * 1024;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

// At most `bytes` bytes of UTF-8 text, without splitting a character.
std::string_view cutUtf8(std::string_view s, std::size_t bytes) {
    while (bytes > 0 && (static_cast<unsigned char>(s[bytes]) & 0xC0) == 0x80) --bytes;
    return s.substr(0, bytes);
}

}  // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    return parseIntegerText(trim(text));
}

IniFile IniFile::parse(std::string_view bytes) {
    return parseText(decodeText(bytes));
}

IniFile IniFile::parseText(const DecodedText& decoded) {
    IniFile ini;
    ini.encoding_ = decoded.encoding;
    std::string_view text = decoded.utf8;
    std::map<std::string, Entry>* current = nullptr;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t eol = text.find('\n');
        std::string_view line = trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            // A section named twice adds to the first; its keys already there keep their values.
            current = &ini.sections_[lowered(name)];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !current) continue;
        const std::string_view key = trim(line.substr(0, eq));
        if (key.empty()) continue;
        std::string_view value = unquote(trim(line.substr(eq + 1)));
        if (value.size() > kMaxValueLength) value = cutUtf8(value, kMaxValueLength);
        current->try_emplace(lowered(key), Entry{std::string(value), number});
    }
    return ini;
}

std::optional<IniFile> IniFile::load(const std::string& path) {
    const auto bytes = readFileHead(path, kMaxIniBytes + 1);
    if (!bytes) return std::nullopt;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.size() <= kMaxIniBytes) return parse(text);
    // Only whole lines count. An 8-bit text is cut before decoding, so that a character split at
    // the cut cannot make valid UTF-8 look like Windows-1252; UTF-16 after it.
    text = text.substr(0, kMaxIniBytes);
    const bool utf16 = utf16Mark(text).has_value();
    if (!utf16) text = text.substr(0, text.rfind('\n') + 1);  // npos + 1: nothing
    DecodedText decoded = decodeText(text);
    if (utf16) decoded.utf8.resize(decoded.utf8.rfind('\n') + 1);
    return parseText(decoded);
}

const IniFile::Entry* IniFile::find(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(lowered(section));
    if (s == sections_.end()) return nullptr;
    const auto k = s->second.find(lowered(key));
    return k == s->second.end() ? nullptr : &k->second;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const Entry* entry = find(section, key);
    if (!entry) return std::nullopt;
    return entry->value;
}

int IniFile::line(std::string_view section, std::string_view key) const {
    const Entry* entry = find(section, key);
    return entry ? entry->line : 0;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
    return value(section, key).value_or(fallback);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    const auto v = value(section, key);
    if (!v) return fallback;
    return parseInteger(*v).value_or(fallback);
}

std::uint32_t IniFile::readColour(std::string_view section, std::string_view key,
                                  std::uint32_t fallback) const {
    const auto v = value(section, key);
    if (!v) return fallback;
    const auto n = parseInteger(*v);
    return n ? static_cast<std::uint32_t>(*n) : fallback;
}

std::optional<std::int32_t> IniFile::readOffset(std::string_view section,
                                                std::string_view key) const {
    const auto v = value(section, key);
    if (!v) return std::nullopt;
    const auto n = parseInteger(*v);
    if (!n || *n == 0) return std::nullopt;
    return n;
}

std::string IniFile::readFolder(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
    std::string folder = readString(section, key, fallback);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::optional<std::string> IniFile::readFileName(std::string_view section, std::string_view key,
                                                 const std::string& fallback) const {
    std::string name = readString(section, key, fallback);
    if (name.empty() || name == "nil") return std::nullopt;
    return name;
}
