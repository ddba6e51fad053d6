#include "core/skin/skin_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
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
    return readRegularFile(path, maxBytes, false);
}

std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes) {
    return readRegularFile(path, maxBytes, true);
}
