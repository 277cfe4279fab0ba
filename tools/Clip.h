#pragma once

#include <string>
#include <vector>

namespace voidskirmish::tools {

// A mono sound of samples in [-1, 1] at RATE samples a second, saved as 16-bit PCM WAV: the one format the
// game reads, so its reader stays a few lines.
class Clip {
public:
  static constexpr int RATE = 22050;

  explicit Clip(double seconds);

  std::size_t size() const { return samples.size(); }
  double time(std::size_t i) const { return static_cast<double>(i) / RATE; }
  double& operator[](std::size_t i) { return samples[i]; }

  // Scales the clip so its loudest sample is `peak`, which keeps every sound clear of clipping.
  void normalise(double peak);
  void saveWav(const std::string& path) const;

private:
  std::vector<double> samples;
};

}  // namespace voidskirmish::tools
