#pragma once
// How the skin's names meet the file system. Skins are written for a system whose path
// delimiter is "\" and which ignores letter case, so "\" is taken as "/", and a name that does not
// match exactly is matched again, component by component, without regard to case.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// "\" to "/"; nothing else changes.
std::string nativePath(const std::string& skinPath);

// The existing regular file a skin name stands for: the exact name if it exists, otherwise the
// first (in name order) case-insensitive match of every component. Relative names are resolved
// against the current working directory. nullopt if there is no such file.
std::optional<std::string> findSkinFile(const std::string& skinPath);

// The whole content of a regular file; nullopt if it is anything else (a pipe, a device, a
// folder), cannot be read, or is larger than maxBytes. The size is checked before reading, and
// opening never waits for a writer, so a named pipe or /dev/zero cannot stall or flood the caller.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes);

// The first maxBytes of a regular file (all of it when it is smaller); nullopt as above.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes);
