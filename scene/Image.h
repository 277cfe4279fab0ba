#pragma once

#include <cstdint>
#include <string>

struct FIBITMAP;

namespace voidskirmish::scene {

// One decoded image in FreeImage's native layout (BGR or BGRA bytes, rows bottom-up); move-only, unloads itself.
class Image {
 public:
  Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  Image(Image&& other) noexcept;
  Image& operator=(Image&& other) noexcept;
  ~Image();

  // Decodes a file by its signature, else by its extension. Prints "FIF_UNKNOWN" or "Failed to load dib" on
  // standard output and returns an empty image when it cannot.
  static Image decode(const std::string& path);

  // Re-packs the pixels at 24 or 32 bits; the upload formats read exactly that many bytes per pixel.
  void convertTo(unsigned bitsPerPixel);

  bool empty() const { return bitmap_ == nullptr; }
  const unsigned char* bits() const;
  std::uint32_t width() const;
  std::uint32_t height() const;
  unsigned bitsPerPixel() const;
  void reset();

 private:
  explicit Image(FIBITMAP* bitmap) : bitmap_(bitmap) {}
  FIBITMAP* bitmap_ = nullptr;
};

}  // namespace voidskirmish::scene
