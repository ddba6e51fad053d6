#pragma once
// How the skin's names meet the file system. Skins are written for a system whose path
// delimiter is "\" and which ignores letter case, and travel as archives, so a name is found the
// way that system would find it: "\" delimits folders, every letter matches without regard to
// case, and the name may be spelt in UTF-8 or in Windows-1252 on disk.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// "\" to "/"; nothing else changes.
std::string nativePath(const std::string& skinPath);

// Finds the files of one load. Each folder is listed at most once (and only when an exact name
// is not there), and the listings are bounded, so a hostile skin cannot make a load scan without
// end. Not for use across loads: a listing does not notice later changes of its folder.
class SkinFiles {
  public:
    // Relative names are resolved against baseFolder, or the working directory when it is empty.
    explicit SkinFiles(std::string baseFolder = {}) : base_(std::move(baseFolder)) {}

    // The existing regular file a skin name (UTF-8, "\" or "/" between folders, a leading one
    // meaning the root) stands for. Folder by folder, the exact spelling is tried first, then
    // the names that differ only in case, in name order; every folder that matches is searched.
    // A file whose own name is the rest of the path with its backslashes (as archives made on
    // Windows unpack elsewhere) matches too. nullopt if there is no such file.
    std::optional<std::string> find(const std::string& skinPath);

    // Bounds of the work: entries read of one folder, entries read in all, and folders tried for
    // one name.
    static constexpr std::size_t kMaxEntriesPerFolder = 10000;
    static constexpr std::size_t kMaxEntriesPerLoad = 100000;
    static constexpr int kMaxTriesPerName = 64;

  private:
    // Case-folded name -> the names on disk, in name order.
    using Listing = std::multimap<std::string, std::string>;
    const Listing& listing(const std::filesystem::path& folder);
    std::vector<std::string> candidates(const std::filesystem::path& folder,
                                        const std::string& name);
    std::optional<std::filesystem::path> search(const std::filesystem::path& folder,
                                                const std::vector<std::string>& parts,
                                                std::size_t next, int& tries);

    std::string base_;
    std::map<std::string, Listing> listings_;
    std::size_t entriesListed_ = 0;
};

// One lookup on its own (no listing shared with others), relative to the working directory.
std::optional<std::string> findSkinFile(const std::string& skinPath);

// The whole content of a regular file; nullopt if it is anything else (a pipe, a device, a
// folder), cannot be read, or is larger than maxBytes. The size is checked before reading, and
// opening never waits for a writer, so a named pipe or /dev/zero cannot stall or flood the caller.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes);

// The first maxBytes of a regular file (all of it when it is smaller); nullopt as above.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes);
