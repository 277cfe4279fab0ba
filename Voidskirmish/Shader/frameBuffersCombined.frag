#version 430 core
// The window's picture: the scene, plus the spread glow and the enemy's outline when those are on, with a
// soft knee so bright sums roll off toward white instead of clipping hard. All three images have the window's
// size, so each is read texel for texel, without filtering; an image that is off is read but not used, since
// it may hold anything.

in vec2 texCoord;

uniform sampler2D scene;
uniform sampler2D contours;
uniform sampler2D bloom;
uniform int contoursEnabled;
uniform int bloomEnabled;

layout(location = 0) out vec4 fragColor;

const float knee = 0.9;

void main() {
  ivec2 texel = ivec2(texCoord * vec2(textureSize(scene, 0)));
  vec3 glow = texelFetch(bloom, texel, 0).rgb;
  vec3 outline = texelFetch(contours, texel, 0).rgb;
  vec3 color = texelFetch(scene, texel, 0).rgb + (bloomEnabled == 1 ? glow : vec3(0.0)) +
               (contoursEnabled == 1 ? outline : vec3(0.0));
  vec3 excess = max(color - knee, 0.0);
  color = min(color, knee) + excess / (1.0 + excess * (1.0 / (1.0 - knee)));
  fragColor = vec4(color, 1.0);
}
