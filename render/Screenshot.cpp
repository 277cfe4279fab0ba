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
  return bitmap != nullptr && FreeImage_Save(FIF_PNG, bitmap.get(), path.c_str(), PNG_DEFAULT) != FALSE;
}

}  // namespace voidskirmish::render
