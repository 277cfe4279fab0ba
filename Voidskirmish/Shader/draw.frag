#version 430 core
// Ships and the arena: Blinn-Phong in world space with optional texture, normal map and toon bands.
// Output 1 keeps only what is brighter than the glow threshold, so highlights bloom.

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

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const float ambient = 0.2;
// A soft light from the eye, so the side facing away from the distant sun still shows its shape.
const float eyeFill = 0.4;
const float shininess = 32.0;
const float toonBands = 3.0;
const vec3 luma = vec3(0.2126, 0.7152, 0.0722);

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
    fragColor = vec4(colorWireframeMode, 1.0);
    brightColor = vec4(0.0);
    return;
  }
  vec3 albedo = hasTexture == 1 ? diffuseColor * texture(color_texture, texCoord).rgb : diffuseColor;
  vec3 color = albedo;
  if (hasLighting == 1) {
    vec3 n = surfaceNormal();
    vec3 toLight = normalize(lightPosition - worldPosition);
    vec3 halfway = normalize(toLight + normalize(cameraPosition - worldPosition));
    float diffuse = max(dot(n, toLight), 0.0);
    float fill = eyeFill * max(dot(n, normalize(cameraPosition - worldPosition)), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), shininess) : 0.0;
    if (celShading == 1) {
      diffuse = floor(diffuse * toonBands + 0.5) / toonBands;
      fill = floor(fill * toonBands + 0.5) / toonBands;
      specular = step(0.5, specular);
    }
    color = albedo * (ambient + fill + (1.0 - ambient) * diffuse) + specularColor * specular;
  }
  fragColor = vec4(color, 1.0);
  brightColor = vec4(color * smoothstep(0.8, 1.0, dot(color, luma)), 1.0);
}
