#pragma once

// Models and pictures the tests write themselves (Wavefront OBJ text, read through Assimp like the game's own
// COLLADA files, and images through FreeImage) into a temporary folder that goes away with the test.

#include <FreeImage.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "scene/Texture.h"

namespace voidskirmish::testing {

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "voidskirmish-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(path_); }

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The file's name relative to the texture folder, as a material stores it.
  std::string textureName(const std::string& name) const {
    return std::filesystem::relative(path_ / name, std::filesystem::absolute(scene::TEXTURE_FOLDER)).string();
  }
  // A model of OBJ `shapes` (faces, "usemtl" lines naming the materials) with its MTL `materials` beside it.
  std::string model(const std::string& shapes, const std::string& materials = "") {
    const std::string name = "model" + std::to_string(++models_);
    writeBytes(file(name + ".mtl"), materials);
    writeBytes(file(name + ".obj"), "mtllib " + name + ".mtl\n" + shapes);
    return file(name + ".obj");
  }

 private:
  std::filesystem::path path_;
  int models_ = 0;
};

// OBJ lines of a square of side 2 × half in the plane z, facing +Z, uv (0, 0) at its lower left corner.
inline std::string quad(float half, float z = 0.0f, bool withUvs = true) {
  std::ostringstream obj;
  for (const auto& [x, y] : {std::pair{-1, -1}, std::pair{1, -1}, std::pair{1, 1}, std::pair{-1, 1}}) {
    obj << "v " << x * half << ' ' << y * half << ' ' << z << "\nvt " << (x + 1) / 2 << ' ' << (y + 1) / 2 << '\n';
  }
  obj << (withUvs ? "f -4/-4 -3/-3 -2/-2\nf -4/-4 -2/-2 -1/-1\n" : "f -4 -3 -2\nf -4 -2 -1\n");
  return obj.str();
}

inline RGBQUAD rgba(BYTE red, BYTE green, BYTE blue, BYTE alpha = 255) {
  RGBQUAD colour{};
  colour.rgbRed = red, colour.rgbGreen = green, colour.rgbBlue = blue, colour.rgbReserved = alpha;
  return colour;
}

// An 8-bit-per-channel picture whose pixel (x, y), y counted from the bottom row, is colour(x, y).
inline void writeImage(const std::string& path, FREE_IMAGE_FORMAT format, int width, int height, int bitsPerPixel,
                       const std::function<RGBQUAD(int, int)>& colour) {
  std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> image(FreeImage_Allocate(width, height, bitsPerPixel),
                                                               &FreeImage_Unload);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      RGBQUAD c = colour(x, y);
      if (bitsPerPixel == 8) {
        FreeImage_SetPixelIndex(image.get(), x, y, &c.rgbRed);  // a new 8-bit picture has a grey palette
      } else {
        FreeImage_SetPixelColor(image.get(), x, y, &c);
      }
    }
  }
  if (!FreeImage_Save(format, image.get(), path.c_str(), 0)) {
    throw std::runtime_error("could not write " + path);
  }
}

}  // namespace voidskirmish::testing
