#version 430 core
// Starfield: the cube map in the looked-at direction, posterised when toon shading is on; only the
// brightest stars go into output 1 so they sparkle under bloom.

in vec3 direction;

uniform samplerCube skybox;
uniform int celShading;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const float posterLevels = 10.0;
const vec3 luma = vec3(0.2126, 0.7152, 0.0722);

void main() {
  vec3 color = texture(skybox, direction).rgb;
  if (celShading == 1) {
    color = floor(color * posterLevels + 0.5) / posterLevels;
  }
  fragColor = vec4(color, 1.0);
  brightColor = vec4(color * smoothstep(0.7, 0.95, dot(color, luma)), 1.0);
}
