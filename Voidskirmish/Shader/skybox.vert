#version 430 core
// Starfield cube around the eye: the cube corner is the look-up direction, and z = w puts every vertex on
// the far plane so anything drawn passes in front of it.

in vec3 position;

uniform mat4 view_projection;

out vec3 direction;

void main() {
  direction = position;
  gl_Position = (view_projection * vec4(position, 1.0)).xyww;
}
