#include "render/SegmentFont.h"

#include <glm/ext/matrix_transform.hpp>

namespace voidskirmish::render {

std::uint8_t glyphSegments(char c) {
  //                                          0     1     2     3     4     5     6     7     8     9
  constexpr std::array<std::uint8_t, 10> digits{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  if (c >= '0' && c <= '9') {
    return digits[static_cast<std::size_t>(c - '0')];
  }
  switch (c) {
    case '-': return 0x40;
    case 'C': return 0x39;
    case 'P': return 0x73;
    case 'A': return 0x77;
    case 'U': return 0x3E;
    case 'S': return 0x6D;
    case 'E': return 0x79;
    case 'D': return 0x5E;  // the lower-case d: a capital would read as 0
    // A replay's clock and speed, "01:23 / 04:10  x0.5": a colon of two bars, a decimal point low.
    case ':': return 0x09;
    case '/': return 0x52;
    case 'x': return 0x76;
    case '.': return 0x08;
    case 'B': return 0x7C;  // lower-case b, r, n and t: their capitals have no seven-segment shape
    case 'R': return 0x50;
    case 'N': return 0x54;
    case 'T': return 0x78;
    case 'O': return 0x3F;
    case 'Y': return 0x6E;
    case 'F': return 0x71;
    case 'H': return 0x76;
    case 'L': return 0x38;
    default: return 0;
  }
}

namespace {

// A half is as wide as the window and half as high: this keeps the cell's pixels as wide as they are high.
float glyphScaleX(float glyphHeight, int width, int height) {
  return glyphHeight * static_cast<float>(height / 2) / static_cast<float>(width);
}

float cellsWidth(int count) { return static_cast<float>(count - 1) * GLYPH_ADVANCE + GLYPH_WIDTH; }

}  // namespace

float lineWidth(int count, float glyphHeight, int width, int height) {
  return cellsWidth(count) * glyphScaleX(glyphHeight, width, height);
}

glm::mat4 glyphModel(int index, int count, glm::vec2 centre, float glyphHeight, int width, int height) {
  const float scaleX = glyphScaleX(glyphHeight, width, height);
  const float lineWidth = cellsWidth(count);
  const glm::vec3 origin(centre.x + scaleX * (static_cast<float>(index) * GLYPH_ADVANCE - lineWidth / 2.0f),
                         centre.y - glyphHeight / 2.0f, 0.0f);
  return glm::scale(glm::translate(glm::mat4(1.0f), origin), glm::vec3(scaleX, glyphHeight, 1.0f));
}

}  // namespace voidskirmish::render
