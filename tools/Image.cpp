#include "Image.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include <FreeImage.h>

namespace voidskirmish::tools {
namespace {

BYTE toByte(double value) {
  return static_cast<BYTE>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

Image::Image(unsigned width, unsigned height)
    : columns(width), rows(height), pixels(static_cast<std::size_t>(width) * height, glm::dvec4(0, 0, 0, 1)) {}

void Image::saveJpeg(const std::string& path, int quality) const {
  save(path, 24, FIF_JPEG, quality | JPEG_SUBSAMPLING_444 | JPEG_OPTIMIZE);
}

void Image::savePng(const std::string& path) const {
  save(path, 32, FIF_PNG, PNG_Z_BEST_COMPRESSION);
}

void Image::save(const std::string& path, unsigned bitsPerPixel, int format, int flags) const {
  const std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> bitmap(
      FreeImage_Allocate(static_cast<int>(columns), static_cast<int>(rows), static_cast<int>(bitsPerPixel)),
      &FreeImage_Unload);
  if (!bitmap) {
    throw std::runtime_error("Could not allocate " + path);
  }
  const unsigned bytesPerPixel = bitsPerPixel / 8;
  for (unsigned y = 0; y < rows; ++y) {
    BYTE* line = FreeImage_GetScanLine(bitmap.get(), static_cast<int>(y));
    for (unsigned x = 0; x < columns; ++x) {
      const glm::dvec4& colour = at(x, y);
      BYTE* pixel = line + x * bytesPerPixel;
      pixel[FI_RGBA_RED] = toByte(colour.r);
      pixel[FI_RGBA_GREEN] = toByte(colour.g);
      pixel[FI_RGBA_BLUE] = toByte(colour.b);
      if (bytesPerPixel == 4) {
        pixel[FI_RGBA_ALPHA] = toByte(colour.a);
      }
    }
  }
  if (!FreeImage_Save(static_cast<FREE_IMAGE_FORMAT>(format), bitmap.get(), path.c_str(), flags)) {
    throw std::runtime_error("Could not save " + path);
  }
}

}  // namespace voidskirmish::tools
