#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace voidskirmish::net {

// FNV-1a over the bytes of the values given, in the order given: two machines that feed it the same match state
// get the same figure, and a single changed bit changes it.
class MatchHash {
 public:
  void addBytes(const void* bytes, std::size_t size);
  void add(float value) { addBytes(&value, sizeof value); }
  // A matrix's 16 floats, e.g. glm::value_ptr(ship.modelMatrix), 16.
  void add(const float* values, std::size_t count) { addBytes(values, count * sizeof(float)); }
  void add(std::uint64_t value) { addBytes(&value, sizeof value); }

  std::uint64_t value() const { return hash; }

 private:
  std::uint64_t hash = 14695981039346656037ull;
};

// --net-check prints the match's hash after every this many frames.
constexpr std::uint32_t HASH_INTERVAL = 60;

// "Match hash at frame 60: 0123abcd4567ef89"
std::string matchHashLine(std::uint32_t frame, std::uint64_t hash);

// The hash of what both machines must load alike: every shader under <root>/Shader and every model under
// <root>/Material, by path relative to root (sorted) and bytes. Throws std::runtime_error naming a file that
// cannot be read.
std::uint64_t runTimeFilesHash(const std::filesystem::path& root);

}  // namespace voidskirmish::net
