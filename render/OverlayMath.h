#pragma once

#include <glm/mat4x4.hpp>

#include <array>

namespace voidskirmish::render {

// Overlay shapes, in the half's normalised device coordinates (z = 0).
// A triangle pointing toward +y, as 2-D points.
constexpr std::array<float, 6> ARROW_VERTICES = {0.0f, 0.06f, 0.06f, -0.06f, -0.06f, -0.06f};
// A thin horizontal bar 0.1 long and 0.007 high; turned a quarter for the crosshair's other bar.
constexpr std::array<float, 12> CROSSHAIR_VERTICES = {
    0.05f, 0.0035f, 0.0f, 0.05f, -0.0035f, 0.0f, -0.05f, -0.0035f, 0.0f, -0.05f, 0.0035f, 0.0f};
// A bar 0.3 wide centred on x = 0 between y = −0.85 and −0.75.
constexpr std::array<float, 12> LIFE_BAR_VERTICES = {
    0.15f, -0.75f, 0.0f, 0.15f, -0.85f, 0.0f, -0.15f, -0.85f, 0.0f, -0.15f, -0.75f, 0.0f};
// Two triangles over the four corners of a bar.
constexpr std::array<unsigned int, 6> BAR_INDICES = {0, 1, 3, 1, 2, 3};

// The life bar's shape stretched over x from `left` to `right` and y from `bottom` to `top`.
glm::mat4 barOver(float left, float right, float bottom, float top);

// The life bar shrinks toward its centre with the life points (not clamped): full width at 10, none at 0.
glm::mat4 lifeBarModel(float lifePoints);

// Bar k (0 horizontal, 1 vertical) of the crosshair in a window of width × height pixels: scaled so the plus
// keeps its proportions in a half that is as wide as the window and half as high.
glm::mat4 crosshairModel(int k, int width, int height);

// The arrow toward an off-screen enemy, turned to point left, up, right or down, with its origin at
// y = −1/1.7 of the half whatever the window size.
glm::mat4 directionArrowModel(bool left, bool above, bool right, bool below, int width, int height);

}  // namespace voidskirmish::render
