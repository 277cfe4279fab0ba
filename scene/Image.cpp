#include "scene/Image.h"

#include <FreeImage.h>

#include <iostream>
#include <utility>

namespace voidskirmish::scene {

Image::Image(Image&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}

Image& Image::operator=(Image&& other) noexcept {
  if (this != &other) {
    reset();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
  }
  return *this;
}

Image::~Image() { reset(); }

Image Image::decode(const std::string& path) {
  // The signature is trusted before the name, so a picture saved under the wrong extension still loads.
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) {
    format = FreeImage_GetFIFFromFilename(path.c_str());
  }
  if (format == FIF_UNKNOWN) {
    std::cout << "FIF_UNKNOWN" << std::endl;
    return {};
  }
  if (FreeImage_FIFSupportsReading(format)) {
    if (FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0)) {
      return Image(bitmap);
    }
  }
  std::cout << "Failed to load dib" << std::endl;
  return {};
}

void Image::convertTo(unsigned bitsPerPixel) {
  if (empty() || this->bitsPerPixel() == bitsPerPixel) {
    return;
  }
  FIBITMAP* converted = bitsPerPixel == 32 ? FreeImage_ConvertTo32Bits(bitmap_) : FreeImage_ConvertTo24Bits(bitmap_);
  reset();
  bitmap_ = converted;
}

const unsigned char* Image::bits() const { return empty() ? nullptr : FreeImage_GetBits(bitmap_); }
std::uint32_t Image::width() const { return empty() ? 0 : FreeImage_GetWidth(bitmap_); }
std::uint32_t Image::height() const { return empty() ? 0 : FreeImage_GetHeight(bitmap_); }
unsigned Image::bitsPerPixel() const { return empty() ? 0 : FreeImage_GetBPP(bitmap_); }

void Image::reset() {
  if (bitmap_ != nullptr) {
    FreeImage_Unload(std::exchange(bitmap_, nullptr));
  }
}

}  // namespace voidskirmish::scene
