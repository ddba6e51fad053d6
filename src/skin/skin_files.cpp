#include "skin/skin_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// The entry of `folder` whose name equals `name` without regard to case, if any.
std::optional<fs::path> matchInFolder(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec) return std::nullopt;
    std::vector<std::string> matches;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string entry = it->path().filename().string();
        if (sameIgnoringCase(entry, name)) matches.push_back(entry);
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return folder / matches.front();
}

}  // namespace

std::string nativePath(const std::string& skinPath) {
    std::string p = skinPath;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::optional<std::string> findSkinFile(const std::string& skinPath) {
    const std::string native = nativePath(skinPath);
    if (native.empty()) return std::nullopt;
    if (isRegularFile(native)) return native;

    fs::path resolved = native.front() == '/' ? fs::path("/") : fs::path();
    std::size_t start = 0;
    while (start <= native.size()) {
        std::size_t end = native.find('/', start);
        if (end == std::string::npos) end = native.size();
        const std::string part = native.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        std::error_code ec;
        const fs::path exact = resolved / part;
        if (part == "." || part == ".." || fs::exists(exact, ec)) {
            resolved = exact;
            continue;
        }
        const auto match = matchInFolder(resolved, part);
        if (!match) return std::nullopt;
        resolved = *match;
    }
    if (!isRegularFile(resolved)) return std::nullopt;
    return resolved.string();
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kChunk = 64 * 1024;
    while (in) {
        const std::size_t old = bytes.size();
        if (old >= maxBytes + 1) return std::nullopt;
        bytes.resize(old + std::min(kChunk, maxBytes + 1 - old));
        in.read(reinterpret_cast<char*>(bytes.data() + old),
                static_cast<std::streamsize>(bytes.size() - old));
        bytes.resize(old + static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || bytes.size() > maxBytes) return std::nullopt;
    return bytes;
}
