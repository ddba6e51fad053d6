#include "core/skin/skin_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/skin/text_encoding.h"

namespace fs = std::filesystem;

namespace {

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool isDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// The name as written, then its Windows-1252 spelling when that differs.
std::vector<std::string> spellings(const std::string& name) {
    std::vector<std::string> out{name};
    if (auto ansi = windows1252Spelling(name); ansi && *ansi != name) out.push_back(*ansi);
    return out;
}

// Reads at most maxBytes (+1 to notice a file that grew since fstat) of a regular file.
std::optional<std::vector<std::uint8_t>> readRegularFile(const std::string& path,
                                                         std::size_t maxBytes, bool head) {
    // O_NONBLOCK: opening a named pipe would otherwise wait for a writer forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (!head && size > maxBytes) return std::nullopt;
    const std::size_t want = head ? std::min<std::uint64_t>(size, maxBytes) : size;

    std::vector<std::uint8_t> bytes(want + (head ? 0 : 1));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (!head && got > maxBytes) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

}  // namespace

std::string nativePath(const std::string& skinPath) {
    std::string p = skinPath;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

const SkinFiles::Listing& SkinFiles::listing(const fs::path& folder) {
    const auto [it, fresh] = listings_.try_emplace(folder.string());
    Listing& listing = it->second;
    if (!fresh) return listing;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, ec);
    for (const fs::directory_iterator end; !ec && entry != end; entry.increment(ec)) {
        if (names.size() >= kMaxEntriesPerFolder || entriesListed_ >= kMaxEntriesPerLoad) break;
        names.push_back(entry->path().filename().string());
        ++entriesListed_;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string key = caseFolded(name);
        listing.emplace(key, name);
        // Valid UTF-8 may still be a Windows-1252 name ("Ã©" is both).
        if (isValidUtf8(name))
            if (std::string ansi = caseFoldedWindows1252(name); ansi != key)
                listing.emplace(std::move(ansi), name);
    }
    return listing;
}

std::optional<fs::path> SkinFiles::search(const fs::path& folder,
                                          const std::vector<std::string>& parts, std::size_t next,
                                          int& tries) {
    const bool last = next + 1 == parts.size();
    if (!last && (parts[next] == "." || parts[next] == ".."))
        return search(folder / parts[next], parts, next + 1, tries);

    // Tries the names in `folder` that `wanted` may stand for: its spellings, then the names
    // that differ from one of them only in case.
    const auto match = [&](const std::string& wanted, bool asFile) -> std::optional<fs::path> {
        const auto attempt = [&](const std::string& name) -> std::optional<fs::path> {
            if (++tries > kMaxTriesPerName) return std::nullopt;
            const fs::path path = folder / name;
            if (asFile) return isRegularFile(path) ? std::optional(path) : std::nullopt;
            return isDirectory(path) ? search(path, parts, next + 1, tries) : std::nullopt;
        };
        const std::vector<std::string> exact = spellings(wanted);
        for (const std::string& name : exact)
            if (auto found = attempt(name)) return found;
        if (tries > kMaxTriesPerName) return std::nullopt;
        const auto [from, to] = listing(folder).equal_range(caseFolded(wanted));
        for (auto it = from; it != to && tries <= kMaxTriesPerName; ++it)
            if (std::find(exact.begin(), exact.end(), it->second) == exact.end())
                if (auto found = attempt(it->second)) return found;
        return std::nullopt;
    };

    if (auto found = match(parts[next], last)) return found;
    if (last || tries > kMaxTriesPerName) return std::nullopt;
    std::string rest = parts[next];
    for (std::size_t i = next + 1; i < parts.size(); ++i) rest += '\\' + parts[i];
    return match(rest, true);
}

std::optional<std::string> SkinFiles::find(const std::string& skinPath) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= skinPath.size()) {
        std::size_t end = skinPath.find_first_of("\\/", start);
        if (end == std::string::npos) end = skinPath.size();
        if (end > start) parts.push_back(skinPath.substr(start, end - start));
        start = end + 1;
    }
    if (parts.empty()) return std::nullopt;
    const bool absolute = skinPath.front() == '\\' || skinPath.front() == '/';
    int tries = 0;
    const auto found = search(absolute ? fs::path("/") : fs::path(base_), parts, 0, tries);
    if (!found) return std::nullopt;
    return found->string();
}

std::optional<std::string> findSkinFile(const std::string& skinPath) {
    return SkinFiles().find(skinPath);
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes) {
    return readRegularFile(path, maxBytes, false);
}

std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes) {
    return readRegularFile(path, maxBytes, true);
}
