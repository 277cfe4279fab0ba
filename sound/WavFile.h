#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voidskirmish::sound {

// A mono 16-bit PCM WAV file, the one format the asset generator writes: a few lines of reading instead of a
// decoding library for a format that never varies.
struct WavFile {
  int rate = 0;
  std::vector<std::int16_t> samples;
};

// Throws std::runtime_error saying why the file cannot be played ("cannot be read", "is not ...").
WavFile readWavFile(const std::string& path);

}  // namespace voidskirmish::sound
