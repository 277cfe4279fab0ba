#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/Play.h"

namespace voidskirmish::game {

// A saved play as bytes and back, so a recording can start in the middle of a match. Little-endian, floats by
// their bits, every value in a fixed order. Reading checks every value against what a play can hold (bools 0 or
// 1, counts, slots and modes in range, floats finite), so damaged bytes are refused rather than restored.
class SnapshotCoding {
 public:
  // Refused bytes: what is wrong and the offset of the value it is about.
  class Damaged : public std::runtime_error {
   public:
    Damaged(std::size_t offset, const std::string& what) : std::runtime_error(what), offset(offset) {}
    std::size_t offset;
  };

  static std::vector<std::uint8_t> write(const Play::Snapshot& snapshot);
  // Throws Damaged; all of `bytes` must be used.
  static Play::Snapshot read(const std::vector<std::uint8_t>& bytes);

  // No match holds more beams at once: each lives half a second.
  static constexpr std::uint32_t MAX_BEAMS = 100000;

 private:
  class Writer;
  class Reader;
  static void code(Writer& out, const Play::Snapshot& snapshot);
  static void code(Reader& in, Play::Snapshot& snapshot);
};

}  // namespace voidskirmish::game
