#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/GlName.h"
#include "scene/Image.h"

namespace voidskirmish::scene {

struct RenderSettings;

// Set at start-up; every image name is appended to it as is.
extern const std::string TEXTURE_FOLDER;

// GL_MAX_TEXTURE_SIZE is at least this in every OpenGL 4.3 context (and exactly this under llvmpipe). Images are
// decoded before a context need exist, so a larger side is refused as too large for any.
constexpr std::uint32_t LARGEST_TEXTURE_SIDE = 16384;

// Up to six decoded images and the OpenGL texture made from them: slot 0 for a model's 2-D texture, slots 0 to 5
// for the skybox's cube-map faces. A 2-D texture is decoded when the model loads and uploaded the first time it
// is drawn, so models (and the game rules built on them) load without an OpenGL context. Decoded pixels are
// released once uploaded.
class Texture {
 public:
  Texture() = default;

  // Decodes TEXTURE_FOLDER + fileName into a slot; on failure prints why and leaves the slot empty.
  void load(const std::string& fileName, int slot);

  // A model material's texture: GL_BGR for the 24-bit diffuse image, GL_BGRA for the 32-bit normal map.
  static std::unique_ptr<Texture> create2D(const std::string& fileName, GLenum pixelFormat);

  // The six faces in the order +X, −X, +Y, −Y, +Z, −Z; decodes and uploads at once (needs the context). A face
  // that is missing or not the square the other faces share goes up black, so the rest of the sky still shows.
  void loadCubeMap(const std::vector<std::string>& faces);

  // The OpenGL name; uploads a pending 2-D image first.
  GLuint glName();

  std::uint32_t width(int slot) const { return widths[slot]; }
  std::uint32_t height(int slot) const { return heights[slot]; }
  bool uploaded() const { return static_cast<bool>(name); }

 private:
  void upload2D();
  std::uint32_t commonFaceSide(int faceCount) const;
  void uploadSlot(GLenum target, int slot, GLenum format);

  std::array<Image, 6> images;
  // Kept apart from the images, which are released once uploaded.
  std::array<std::uint32_t, 6> widths{};
  std::array<std::uint32_t, 6> heights{};
  GlTexture name;
  GLenum pixelFormat = GL_BGR;
};

// Sets min and mag filters of the texture bound to GL_TEXTURE_2D on the active unit from the sampling and
// mipmap modes; applied on every draw so a toggle shows on the next frame.
void applySamplingSettings(const scene::RenderSettings* settings);

}  // namespace voidskirmish::scene
