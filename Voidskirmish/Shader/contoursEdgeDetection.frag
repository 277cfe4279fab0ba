#version 430 core
// Contours of the enemy ship: every texel that differs from the flat background grey counts as covered,
// and a Sobel filter over that coverage finds its border, drawn in the outline colour on black.

in vec2 texCoord;

uniform sampler2D color_texture;

layout(location = 0) out vec4 fragColor;

const vec3 background = vec3(0.1);
const float tolerance = 0.02;
const vec3 outlineColor = vec3(1.0, 0.35, 0.1);

float covered(ivec2 texel) {
  ivec2 inside = clamp(texel, ivec2(0), textureSize(color_texture, 0) - 1);
  vec3 difference = abs(texelFetch(color_texture, inside, 0).rgb - background);
  return step(tolerance, max(difference.r, max(difference.g, difference.b)));
}

void main() {
  ivec2 centre = ivec2(texCoord * vec2(textureSize(color_texture, 0)));
  float topLeft = covered(centre + ivec2(-1, 1));
  float top = covered(centre + ivec2(0, 1));
  float topRight = covered(centre + ivec2(1, 1));
  float left = covered(centre + ivec2(-1, 0));
  float right = covered(centre + ivec2(1, 0));
  float bottomLeft = covered(centre + ivec2(-1, -1));
  float bottom = covered(centre + ivec2(0, -1));
  float bottomRight = covered(centre + ivec2(1, -1));
  float gx = (topRight + 2.0 * right + bottomRight) - (topLeft + 2.0 * left + bottomLeft);
  float gy = (topLeft + 2.0 * top + topRight) - (bottomLeft + 2.0 * bottom + bottomRight);
  float edge = clamp(length(vec2(gx, gy)) * 0.5, 0.0, 1.0);
  fragColor = vec4(outlineColor * edge, 1.0);
}
