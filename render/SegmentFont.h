#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include <array>
#include <cstdint>

namespace voidskirmish::render {

// Seven-segment glyphs for the HUD's numbers and words, drawn as flat quads, so no font is needed. A glyph cell
// is GLYPH_WIDTH wide and 1 high with its origin at the lower left.
constexpr float GLYPH_WIDTH = 0.6f;
constexpr float GLYPH_ADVANCE = 0.85f;  // the cell and the gap to the next one
constexpr float GLYPH_STROKE = 0.16f;
constexpr int SEGMENT_COUNT = 7;

// Segments a (top), b (upper right), c (lower right), d (bottom), e (lower left), f (upper left) and g (middle),
// four corners (x, y) each in the order BAR_INDICES expects: upper right, lower right, lower left, upper left.
constexpr std::array<float, SEGMENT_COUNT * 8> SEGMENT_VERTICES = [] {
  constexpr float w = GLYPH_WIDTH, t = GLYPH_STROKE, m = 0.5f;
  constexpr float boxes[SEGMENT_COUNT][4] = {  // left, bottom, right, top
      {0, 1 - t, w, 1}, {w - t, m, w, 1}, {w - t, 0, w, m}, {0, 0, w, t},
      {0, 0, t, m},     {0, m, t, 1},     {0, m - t / 2, w, m + t / 2}};
  std::array<float, SEGMENT_COUNT * 8> corners{};
  for (int s = 0; s < SEGMENT_COUNT; ++s) {
    const float left = boxes[s][0], bottom = boxes[s][1], right = boxes[s][2], top = boxes[s][3];
    const float quad[8] = {right, top, right, bottom, left, bottom, left, top};
    for (int k = 0; k < 8; ++k) {
      corners[s * 8 + k] = quad[k];
    }
  }
  return corners;
}();

// Bit s is set when segment s is lit. Digits, '-', ' ', ":/x." and the letters of "PAUSED", "ENTER",
// "ROUND TO", "YOU", "FOE", "NOBODY", "CPU"
// and "OTHER PLAYER"; anything else is blank.
std::uint8_t glyphSegments(char c);

// Character `index` of a line of `count` characters, centred on `centre` in the half's normalised coordinates
// and `glyphHeight` high there, kept upright in a window of width × height pixels.
glm::mat4 glyphModel(int index, int count, glm::vec2 centre, float glyphHeight, int width, int height);
// How wide such a line is in the half's normalised coordinates.
float lineWidth(int count, float glyphHeight, int width, int height);

}  // namespace voidskirmish::render
