#pragma once

#include <cstdint>

namespace voidskirmish {

// Counts calls of the global operator new, in every form and on every thread, while it lives. The benchmark
// binary replaces operator new for this; the game itself keeps the library's. One count at a time.
class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  std::uint64_t count() const;
};

}  // namespace voidskirmish
