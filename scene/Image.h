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

  // Decodes a regular file by its signature, else by its extension, if neither side exceeds largestSide (read
  // from the header first, so a huge picture is refused before it is decoded; a format whose header cannot be
  // read alone is refused). When it
  // cannot, prints "FIF_UNKNOWN" or "Failed to load dib" on standard output and a line naming the file and the
  // reason on standard error, and returns an empty image.
  static Image decode(const std::string& path, std::uint32_t largestSide);
  // width × height pixels at 24 or 32 bits, all black.
  static Image black(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel);

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
