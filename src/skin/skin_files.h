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

// The whole content of a file; nullopt if it cannot be read or is larger than maxBytes.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes);
