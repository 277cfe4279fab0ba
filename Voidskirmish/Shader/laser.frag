#version 430 core
// Laser beam: an emissive rod, white-hot where it faces the eye and red-orange at its rim, with a faint lit
// surface from its material. "alpha" fades the whole beam out; its glow goes into output 1 for bloom.

in vec3 worldPosition;
in vec3 worldTangent;
in vec3 worldBitangent;
in vec3 worldNormal;
in vec2 texCoord;

uniform vec3 lightPosition;
uniform vec3 cameraPosition;
uniform vec3 diffuseColor;
uniform vec3 specularColor;
uniform int hasTexture;
uniform sampler2D color_texture;
uniform int hasNormalMap;
uniform sampler2D color_normalMap;
uniform int hasLighting;
uniform int celShading;
uniform int colorWireframeModeEnabled;
uniform vec3 colorWireframeMode;
uniform float alpha;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const vec3 rimColor = vec3(1.0, 0.2, 0.05);
const vec3 coreColor = vec3(1.0, 0.8, 0.5);
const float surfaceShare = 0.2;
const float toonBands = 3.0;

vec3 surfaceNormal() {
  vec3 n = normalize(worldNormal);
  if (hasNormalMap == 1) {
    vec3 tangentSpace = texture(color_normalMap, texCoord).rgb * 2.0 - 1.0;
    n = normalize(mat3(normalize(worldTangent), normalize(worldBitangent), n) * tangentSpace);
  }
  return n;
}

void main() {
  if (colorWireframeModeEnabled == 1) {
    fragColor = vec4(colorWireframeMode, alpha);
    brightColor = vec4(0.0);
    return;
  }
  vec3 n = surfaceNormal();
  vec3 toEye = normalize(cameraPosition - worldPosition);
  // 1 along the middle of the rod as seen from the eye, 0 at its silhouette.
  float facing = abs(dot(n, toEye));
  if (celShading == 1) {
    facing = floor(facing * toonBands + 0.5) / toonBands;
  }
  vec3 beam = mix(rimColor, coreColor, facing * facing);

  vec3 surface = hasTexture == 1 ? diffuseColor * texture(color_texture, texCoord).rgb : diffuseColor;
  if (hasLighting == 1) {
    vec3 toLight = normalize(lightPosition - worldPosition);
    float specular = pow(max(dot(n, normalize(toLight + toEye)), 0.0), 32.0);
    surface = surface * max(dot(n, toLight), 0.0) + specularColor * specular;
  }
  fragColor = vec4(beam + surfaceShare * surface, alpha);
  brightColor = vec4(beam, alpha);
}
