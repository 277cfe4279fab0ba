#version 430 core
// One step of the fast bloom's mip chain, down to half the size or back up: a full-target quad whose corners
// arrive in clip space. The four places the fragment stage reads lie diagonally around the target texel, "reach"
// source texels out on each axis; they are worked out here, once per corner, and interpolated.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 textureCoordinate;

uniform sampler2D image;
uniform float reach;

out vec2 taps[4];

void main() {
  vec2 offset = reach / vec2(textureSize(image, 0));
  taps[0] = textureCoordinate + offset;
  taps[1] = textureCoordinate - offset;
  taps[2] = textureCoordinate + vec2(offset.x, -offset.y);
  taps[3] = textureCoordinate + vec2(-offset.x, offset.y);
  gl_Position = vec4(position, 1.0);
}
