#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace voidskirmish::scene {

// Run-time files are read only when they are regular files: in their place a directory crashes a reader, a
// device such as /dev/zero reads without end and a FIFO blocks the game for good.

// Why the path cannot be read as a file ("no such file", "not a regular file"), or nothing when it can.
std::optional<std::string> whyNotRegularFile(const std::string& path);

// The whole file, or nothing when it is not a regular file, cannot be opened or holds more than maxBytes.
std::optional<std::string> readRegularFile(const std::string& path, std::uintmax_t maxBytes);

}  // namespace voidskirmish::scene
