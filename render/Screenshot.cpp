#include "render/Screenshot.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace voidskirmish::render {
namespace {

struct BitmapUnloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

struct MemoryCloser {
  void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};

// FreeImage_Save ignores whether its writes reach the disk (a full disk leaves an empty file and a claimed
// success), so the PNG is made in memory and written here, where every write and the close are checked.
bool writePng(FIBITMAP* bitmap, const std::string& path) {
  const std::unique_ptr<FIMEMORY, MemoryCloser> memory(FreeImage_OpenMemory());
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!memory || !FreeImage_SaveToMemory(FIF_PNG, bitmap, memory.get(), PNG_DEFAULT) ||
      !FreeImage_AcquireMemory(memory.get(), &data, &size)) {
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace

std::string screenshotPath(long frameNumber) {
  char name[64];
  std::snprintf(name, sizeof name, "screenshots/voidskirmish-%06ld.png", frameNumber);
  return name;
}

bool saveScreenshot(const std::string& path, int width, int height) {
  if (width <= 0 || height <= 0) {
    return false;
  }
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  // FreeImage keeps rows bottom-up in blue-green-red order, as GL reads them with GL_BGR.
  const int pitch = width * 3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
  const std::unique_ptr<FIBITMAP, BitmapUnloader> bitmap(FreeImage_ConvertFromRawBits(
      pixels.data(), width, height, pitch, 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE));
  return bitmap != nullptr && writePng(bitmap.get(), path);
}

}  // namespace voidskirmish::render
