#version 430 core
// Contours of the enemy ship: every texel that differs from the flat background grey counts as covered, and
// where coverage changes between the left and right or the upper and lower neighbour the texel is on the
// border, drawn in the outline colour on black. The border is two texels wide, one on each side.

in vec2 texCoord;

uniform sampler2D color_texture;

layout(location = 0) out vec4 fragColor;

const vec3 background = vec3(0.1);
const float tolerance = 0.02;
const vec3 outlineColor = vec3(1.0, 0.35, 0.1);

float covered(ivec2 texel, ivec2 last) {
  vec3 difference = abs(texelFetch(color_texture, clamp(texel, ivec2(0), last), 0).rgb - background);
  return step(tolerance, max(difference.r, max(difference.g, difference.b)));
}

void main() {
  ivec2 size = textureSize(color_texture, 0);
  ivec2 centre = ivec2(texCoord * vec2(size));
  ivec2 last = size - 1;
  float across = covered(centre + ivec2(1, 0), last) - covered(centre - ivec2(1, 0), last);
  float upDown = covered(centre + ivec2(0, 1), last) - covered(centre - ivec2(0, 1), last);
  float edge = min(abs(across) + abs(upDown), 1.0);
  fragColor = vec4(outlineColor * edge, 1.0);
}
