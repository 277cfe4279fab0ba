#version 430 core
// Blur pass: a full-window quad whose corners arrive in clip space, with the texture coordinate to read at.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 textureCoordinate;

out vec2 texCoord;

void main() {
  texCoord = textureCoordinate;
  gl_Position = vec4(position, 1.0);
}
