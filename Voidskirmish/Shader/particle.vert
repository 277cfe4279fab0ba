#version 430 core
// Spark billboard: one square per particle, spread along the camera's right and up axes so it always
// faces the viewer, sized and coloured per instance.

layout(location = 0) in vec3 corner;
layout(location = 1) in vec4 centreAndSize;
layout(location = 2) in vec4 color;

uniform vec3 CameraRight_worldspace;
uniform vec3 CameraUp_worldspace;
uniform mat4 view_projection;

out vec2 squarePosition;
out vec4 sparkColor;

void main() {
  float size = centreAndSize.w;
  vec3 world = centreAndSize.xyz + CameraRight_worldspace * corner.x * size + CameraUp_worldspace * corner.y * size;
  squarePosition = corner.xy;
  sparkColor = color;
  gl_Position = view_projection * vec4(world, 1.0);
}
