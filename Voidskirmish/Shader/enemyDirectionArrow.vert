#version 430 core
// Arrow toward an off-screen enemy: a flat triangle placed straight in clip space by "model".

in vec2 position;

uniform mat4 model;

void main() {
  gl_Position = model * vec4(position, 0.0, 1.0);
}
