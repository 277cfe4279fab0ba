#version 430 core
// Life bar and crosshair: flat shapes placed straight in clip space by "model".

in vec3 position;

uniform mat4 model;

void main() {
  gl_Position = model * vec4(position, 1.0);
}
