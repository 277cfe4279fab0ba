#version 430 core
// Life bar and crosshair: one flat colour, no glow.

uniform vec3 color;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

void main() {
  fragColor = vec4(color, 1.0);
  brightColor = vec4(0.0);
}
