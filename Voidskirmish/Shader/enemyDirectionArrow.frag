#version 430 core
// Arrow toward an off-screen enemy: one flat colour, no glow.

uniform vec3 triangleColor;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

void main() {
  fragColor = vec4(triangleColor, 1.0);
  brightColor = vec4(0.0);
}
