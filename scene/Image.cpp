#include "scene/Image.h"

#include <FreeImage.h>

#include <iostream>
#include <optional>
#include <utility>

#include "scene/RegularFile.h"

namespace voidskirmish::scene {
namespace {

constexpr const char* CANNOT_DECODE = "Failed to load dib";

// The loader's own message, then a line that names the file and says why.
Image refuse(const char* message, const std::string& path, const std::string& reason) {
  std::cout << message << std::endl;
  std::cerr << "Could not load image file " << path << ": " << reason << std::endl;
  return {};
}

bool fits(const Image& image, std::uint32_t largestSide) {
  return image.width() <= largestSide && image.height() <= largestSide;
}

std::string tooLarge(const Image& image, std::uint32_t largestSide) {
  return std::to_string(image.width()) + " x " + std::to_string(image.height()) +
         " pixels, more than the largest texture side of " + std::to_string(largestSide);
}

}  // namespace

Image::Image(Image&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}

Image& Image::operator=(Image&& other) noexcept {
  if (this != &other) {
    reset();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
  }
  return *this;
}

Image::~Image() { reset(); }

Image Image::decode(const std::string& path, std::uint32_t largestSide) {
  // The signature is trusted before the name, so a picture saved under the wrong extension still loads; what is
  // no regular file has only its name, and is refused after the same message it always had.
  const std::optional<std::string> unreadable = whyNotRegularFile(path);
  FREE_IMAGE_FORMAT format = unreadable ? FIF_UNKNOWN : FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) {
    format = FreeImage_GetFIFFromFilename(path.c_str());
  }
  if (format == FIF_UNKNOWN) {
    return refuse("FIF_UNKNOWN", path, unreadable.value_or("unknown image format"));
  }
  if (unreadable) {
    return refuse(CANNOT_DECODE, path, *unreadable);
  }
  if (!FreeImage_FIFSupportsReading(format)) {
    return refuse(CANNOT_DECODE, path, "FreeImage cannot read this format");
  }
  // A few hundred bytes of header can claim gigabytes of pixels, so the size is checked before anything is
  // decoded; a format whose header FreeImage cannot read alone (SGI, DDS) is not decoded at all.
  if (!FreeImage_FIFSupportsNoPixels(format)) {
    return refuse(CANNOT_DECODE, path,
                  std::string("FreeImage cannot read the size of ") + FreeImage_GetFormatFromFIF(format) +
                      " images before decoding them");
  }
  const Image header(FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS));
  if (!fits(header, largestSide)) {
    return refuse(CANNOT_DECODE, path, tooLarge(header, largestSide));
  }
  Image image(FreeImage_Load(format, path.c_str(), 0));
  if (image.empty()) {
    return refuse(CANNOT_DECODE, path, "FreeImage cannot decode it");
  }
  if (!fits(image, largestSide)) {
    return refuse(CANNOT_DECODE, path, tooLarge(image, largestSide));
  }
  return image;
}

Image Image::black(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel) {
  return Image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), static_cast<int>(bitsPerPixel)));
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
