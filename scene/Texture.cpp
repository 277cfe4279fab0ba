#include "scene/Texture.h"

#include <algorithm>
#include <iostream>
#include <map>

#include "scene/RenderSettings.h"

namespace voidskirmish::scene {

const std::string TEXTURE_FOLDER = "./Voidskirmish/Material/Textures/";

void Texture::load(const std::string& fileName, int slot) {
  Image image = Image::decode(TEXTURE_FOLDER + fileName, LARGEST_TEXTURE_SIDE);
  if (image.empty()) {
    return;
  }
  widths[slot] = image.width();
  heights[slot] = image.height();
  images[slot] = std::move(image);
}

std::unique_ptr<Texture> Texture::create2D(const std::string& fileName, GLenum pixelFormat) {
  auto texture = std::make_unique<Texture>();
  texture->pixelFormat = pixelFormat;
  texture->load(fileName, 0);
  return texture;
}

void Texture::loadCubeMap(const std::vector<std::string>& faces) {
  name = makeTexture();
  glBindTexture(GL_TEXTURE_CUBE_MAP, name.get());
  const int faceCount = static_cast<int>(std::min(faces.size(), images.size()));
  for (int i = 0; i < faceCount; ++i) {
    load(faces[i], i);
  }
  // GL leaves a cube map with faces of different sizes incomplete, which blanks the whole sky.
  const std::uint32_t side = commonFaceSide(faceCount);
  for (int i = 0; i < faceCount; ++i) {
    if (!images[i].empty() && (widths[i] != side || heights[i] != side)) {
      std::cerr << "Skybox face " << TEXTURE_FOLDER + faces[i] << " is " << widths[i] << " x " << heights[i]
                << " pixels, not " << side << " x " << side << " like the other faces: it is left black"
                << std::endl;
      images[i].reset();
    }
    if (images[i].empty() && side > 0) {
      images[i] = Image::black(side, side, 24);
      widths[i] = heights[i] = side;
    }
    uploadSlot(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, i, GL_BGR);
  }
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

// The side most of the loaded square faces share (the smaller on a tie), 0 when there is none.
std::uint32_t Texture::commonFaceSide(int faceCount) const {
  std::map<std::uint32_t, int> votes;
  for (int i = 0; i < faceCount; ++i) {
    if (!images[i].empty() && widths[i] == heights[i]) {
      ++votes[widths[i]];
    }
  }
  const auto most = std::max_element(votes.begin(), votes.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == votes.end() ? 0 : most->first;
}

GLuint Texture::glName() {
  if (!name) {
    upload2D();
  }
  return name.get();
}

void Texture::upload2D() {
  name = makeTexture();
  glBindTexture(GL_TEXTURE_2D, name.get());
  uploadSlot(GL_TEXTURE_2D, 0, pixelFormat);
  glGenerateMipmap(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// An empty slot goes up as a 0 × 0 image: the texture samples black and play goes on.
void Texture::uploadSlot(GLenum target, int slot, GLenum format) {
  Image& image = images[slot];
  // GL reads three or four bytes a pixel as the format says; a grey or palette picture would be read past its end.
  image.convertTo(format == GL_BGRA ? 32 : 24);
  // FreeImage pads every row to 4 bytes, which is exactly GL's default unpack alignment; other code may change it.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(target, 0, GL_RGB, static_cast<GLsizei>(image.width()), static_cast<GLsizei>(image.height()), 0,
               format, GL_UNSIGNED_BYTE, image.bits());
  image.reset();  // the pixels live on in the GL texture
}

void applySamplingSettings(const scene::RenderSettings* settings) {
  const GLint magFilter = settings->samplingMode == 0 ? GL_NEAREST : GL_LINEAR;
  GLint minFilter = magFilter;
  if (settings->mipmapMode == 1) {
    minFilter = GL_NEAREST_MIPMAP_NEAREST;
  } else if (settings->mipmapMode == 2) {
    minFilter = GL_LINEAR_MIPMAP_LINEAR;
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

}  // namespace voidskirmish::scene
