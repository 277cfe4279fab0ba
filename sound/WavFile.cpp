#include "sound/WavFile.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace voidskirmish::sound {
namespace {

std::uint32_t little(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

}  // namespace

WavFile readWavFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    throw std::runtime_error(path + " cannot be read");
  }
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    throw std::runtime_error(path + " is not a WAV file");
  }
  WavFile wav;
  bool format = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const std::size_t size = little(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > bytes.size() - body) {
      break;
    }
    if (id == "fmt " && size >= 16) {
      if (little(bytes, body, 2) != 1 || little(bytes, body + 2, 2) != 1 || little(bytes, body + 14, 2) != 16) {
        throw std::runtime_error(path + " is not 16-bit mono PCM");
      }
      wav.rate = static_cast<int>(little(bytes, body + 4, 4));
      format = true;
    } else if (id == "data" && format) {
      wav.samples.resize(size / 2);
      std::memcpy(wav.samples.data(), bytes.data() + body, wav.samples.size() * 2);  // little-endian like x86
    }
    at = body + size + (size & 1);
  }
  if (!format || wav.rate <= 0 || wav.samples.empty()) {
    throw std::runtime_error(path + " holds no sound");
  }
  return wav;
}

}  // namespace voidskirmish::sound
