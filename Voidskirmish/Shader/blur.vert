#version 430 core
// Blur pass: a full-window quad whose corners arrive in clip space. The two places the fragment stage reads
// are worked out here, once per corner, and interpolated: a texel pair along the pass's direction, 1.4 texels
// out on either side, and half a texel across it (see blur.frag).

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 textureCoordinate;

uniform sampler2D image;
uniform int horizontal;
// The taps' distance in texels: 1 at full resolution, the render scale below it, so the glow keeps its size in
// the window.
uniform float spread;

out vec2 nearTap;
out vec2 farTap;

// Across the pass the taps lean one way in horizontal passes and the other way in vertical ones, so the leans
// cancel over the ten passes and the glow stays round.
const vec2 alongAndAcross = vec2(1.4, 0.5);

void main() {
  vec2 texel = 1.0 / vec2(textureSize(image, 0));
  vec2 offset = (horizontal == 1 ? alongAndAcross : vec2(-alongAndAcross.y, alongAndAcross.x)) * spread;
  nearTap = textureCoordinate + offset * texel;
  farTap = textureCoordinate - offset * texel;
  gl_Position = vec4(position, 1.0);
}
