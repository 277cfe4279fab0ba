#version 430 core
// The window's picture: the scene, plus the spread glow and the enemy's outline when those are on, with a
// soft knee so bright sums roll off toward white instead of clipping hard. An image of the window's size is read
// texel for texel, without filtering; a smaller one (a scene drawn below full resolution, the fast bloom's glow)
// is filtered up. An image that is off is read but not used, since it may hold anything.

in vec2 texCoord;

uniform sampler2D scene;
uniform sampler2D contours;
uniform sampler2D bloom;
uniform int contoursEnabled;
uniform int bloomEnabled;
uniform int sceneFiltered;  // scene and contours are smaller than the window
uniform int bloomFiltered;

layout(location = 0) out vec4 fragColor;

const float knee = 0.9;

vec3 read(sampler2D image, int filtered, ivec2 texel) {
  return filtered == 1 ? texture(image, texCoord).rgb : texelFetch(image, texel, 0).rgb;
}

void main() {
  ivec2 texel = ivec2(texCoord * vec2(textureSize(scene, 0)));
  vec3 glow = read(bloom, bloomFiltered, texel);
  vec3 outline = read(contours, sceneFiltered, texel);
  vec3 color = read(scene, sceneFiltered, texel) + (bloomEnabled == 1 ? glow : vec3(0.0)) +
               (contoursEnabled == 1 ? outline : vec3(0.0));
  vec3 excess = max(color - knee, 0.0);
  color = min(color, knee) + excess / (1.0 + excess * (1.0 / (1.0 - knee)));
  fragColor = vec4(color, 1.0);
}
