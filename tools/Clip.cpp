#include "Clip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace voidskirmish::tools {
namespace {

void put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

}  // namespace

Clip::Clip(double seconds) : samples(static_cast<std::size_t>(std::lround(seconds * RATE)), 0.0) {}

void Clip::normalise(double peak) {
  double loudest = 0.0;
  for (double sample : samples) {
    loudest = std::max(loudest, std::abs(sample));
  }
  if (loudest > 0.0) {
    for (double& sample : samples) {
      sample *= peak / loudest;
    }
  }
}

void Clip::saveWav(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  put(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  put(out, 16, 4);
  put(out, 1, 2);  // PCM
  put(out, 1, 2);  // mono
  put(out, RATE, 4);
  put(out, RATE * 2, 4);
  put(out, 2, 2);
  put(out, 16, 2);
  out.write("data", 4);
  put(out, dataBytes, 4);
  for (double sample : samples) {
    const auto value = static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0, 1.0) * 32767.0));
    put(out, static_cast<std::uint16_t>(value), 2);
  }
  if (!out) {
    throw std::runtime_error("Could not write " + path);
  }
}

}  // namespace voidskirmish::tools
