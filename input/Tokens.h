#pragma once

#include <array>
#include <string>
#include <string_view>

namespace voidskirmish::input {

// A line split at single spaces into at most a handful of words, with checked number conversions. Every
// failure throws a std::runtime_error whose text says what is wrong, for the reader to put beside the line.
class Tokens {
 public:
  explicit Tokens(std::string_view line);

  std::size_t count() const { return count_; }
  std::string_view word(std::size_t index) const;
  // The line must have exactly this many words.
  void expectCount(std::size_t expected) const;

  int integer(std::size_t index, int lowest, int highest, const char* what) const;
  double real(std::size_t index, double lowest, double highest, const char* what) const;
  float realFloat(std::size_t index, float lowest, float highest, const char* what) const;

 private:
  static constexpr std::size_t MAX_WORDS = 6;
  std::array<std::string_view, MAX_WORDS> words_{};
  std::size_t count_ = 0;
};

// Printable ASCII only: no control characters, nothing a terminal or another system would read differently.
bool printable(std::string_view text);

// Shortest text that reads back to the same value.
std::string shortestText(double value);
std::string shortestText(float value);

}  // namespace voidskirmish::input
