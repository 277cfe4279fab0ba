#pragma once

#include <string>
#include <vector>

#include <glm/vec4.hpp>

namespace voidskirmish::tools {

// A picture of colours in [0, 1], saved through FreeImage. Row y is FreeImage's scan line y,
// which the game uploads unchanged: row 0 is texture coordinate t = 0 (the bottom of the picture).
class Image {
public:
  Image(unsigned width, unsigned height);

  glm::dvec4& at(unsigned x, unsigned y) { return pixels[static_cast<std::size_t>(y) * columns + x]; }
  const glm::dvec4& at(unsigned x, unsigned y) const { return pixels[static_cast<std::size_t>(y) * columns + x]; }

  // 24-bit JPEG (alpha dropped); PNG with alpha. FreeImage stores a PNG whose alpha is opaque everywhere
  // as 24-bit RGB, so a picture that must load as 32 bits needs some alpha below 1.
  void saveJpeg(const std::string& path, int quality) const;
  void savePng(const std::string& path) const;

private:
  void save(const std::string& path, unsigned bitsPerPixel, int format, int flags) const;

  unsigned columns;
  unsigned rows;
  std::vector<glm::dvec4> pixels;
};

}  // namespace voidskirmish::tools
