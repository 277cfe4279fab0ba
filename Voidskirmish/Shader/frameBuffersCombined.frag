#version 430 core
// The window's picture: the scene, plus the spread glow and the enemy's outline when those are on, with a
// soft knee so bright sums roll off toward white instead of clipping hard.

in vec2 texCoord;

uniform sampler2D scene;
uniform sampler2D contours;
uniform sampler2D bloom;
uniform int contoursEnabled;
uniform int bloomEnabled;

layout(location = 0) out vec4 fragColor;

const float knee = 0.9;

void main() {
  vec3 color = texture(scene, texCoord).rgb;
  if (bloomEnabled == 1) {
    color += texture(bloom, texCoord).rgb;
  }
  if (contoursEnabled == 1) {
    color += texture(contours, texCoord).rgb;
  }
  vec3 excess = max(color - knee, 0.0);
  color = min(color, knee) + excess / (1.0 + excess / (1.0 - knee));
  fragColor = vec4(color, 1.0);
}
