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

}  // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    return parseIntegerText(trim(text));
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::map<std::string, std::string>* current = nullptr;
    while (!text.empty()) {
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
        if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
        current->try_emplace(lowered(key), value);
    }
    return ini;
}

std::optional<IniFile> IniFile::load(const std::string& path) {
    const auto bytes = readFileHead(path, kMaxIniBytes + 1);
    if (!bytes) return std::nullopt;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.size() > kMaxIniBytes) {
        const std::size_t eol = text.rfind('\n', kMaxIniBytes - 1);
        text = text.substr(0, eol == std::string_view::npos ? 0 : eol + 1);
    }
    return parse(text);
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(lowered(section));
    if (s == sections_.end()) return std::nullopt;
    const auto k = s->second.find(lowered(key));
    if (k == s->second.end()) return std::nullopt;
    return k->second;
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
