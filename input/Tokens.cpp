#include "input/Tokens.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace voidskirmish::input {
namespace {

[[noreturn]] void fail(const std::string& message) { throw std::runtime_error(message); }

template <typename Number>
Number parseNumber(std::string_view text, const char* what) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) {
    fail(std::string(what) + " is not a number: '" + std::string(text) + "'");
  }
  return value;
}

template <typename Number>
Number checkedReal(std::string_view text, Number lowest, Number highest, const char* what) {
  const Number value = parseNumber<Number>(text, what);
  if (!std::isfinite(value)) {
    fail(std::string(what) + " is not finite");
  }
  if (value < lowest || value > highest) {
    fail(std::string(what) + " " + std::string(text) + " is out of range");
  }
  return value;
}

template <typename Number>
std::string shortest(Number value) {
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

}  // namespace

Tokens::Tokens(std::string_view line) {
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t space = line.find(' ', start);
    const std::size_t stop = space == std::string_view::npos ? line.size() : space;
    if (count_ == MAX_WORDS) {
      fail("too many words");
    }
    words_[count_++] = line.substr(start, stop - start);
    if (space == std::string_view::npos) {
      break;
    }
    start = space + 1;
  }
}

std::string_view Tokens::word(std::size_t index) const { return index < count_ ? words_[index] : std::string_view{}; }

void Tokens::expectCount(std::size_t expected) const {
  if (count_ != expected) {
    fail("expected " + std::to_string(expected) + " words, found " + std::to_string(count_));
  }
}

int Tokens::integer(std::size_t index, int lowest, int highest, const char* what) const {
  const int value = parseNumber<int>(word(index), what);
  if (value < lowest || value > highest) {
    fail(std::string(what) + " " + std::to_string(value) + " is out of range");
  }
  return value;
}

double Tokens::real(std::size_t index, double lowest, double highest, const char* what) const {
  return checkedReal<double>(word(index), lowest, highest, what);
}

float Tokens::realFloat(std::size_t index, float lowest, float highest, const char* what) const {
  return checkedReal<float>(word(index), lowest, highest, what);
}

bool printable(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f) {
      return false;
    }
  }
  return true;
}

std::string shortestText(double value) { return shortest(value); }

std::string shortestText(float value) { return shortest(value); }

}  // namespace voidskirmish::input
