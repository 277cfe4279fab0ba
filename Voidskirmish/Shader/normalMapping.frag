#version 430 core
// Asteroids: Blinn-Phong in tangent space; the normal comes from the normal map, or is the vertex normal
// (0, 0, 1) when normal mapping is off. Texture, toon bands and the glow split as for the ships.
// A software rasteriser runs every line here for every fragment, both sides of every switch included, and
// far asteroids are mostly triangles of a pixel or two: so the mipmap level is worked out once for both
// maps, the highlight's power is four squarings (or one comparison in toon bands), and no switch returns
// early.

in vec3 tangentToLight;  // normalised per vertex
in vec3 tangentToEye;
in vec2 texCoord;

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
const float toonBands = 3.0;
const vec3 luma = vec3(0.2126, 0.7152, 0.0722);
// In toon bands the highlight is on where its 16th power reaches one half.
const float toonHighlight = 0.9576032807;

void main() {
  // Both maps share their size and coordinates, hence their level.
  float level = textureQueryLod(color_texture, texCoord).y;
  vec3 albedo = diffuseColor;
  if (hasTexture == 1) {
    albedo *= textureLod(color_texture, texCoord, level).rgb;
  }
  vec3 color = albedo;
  if (hasLighting == 1) {
    vec3 n = vec3(0.0, 0.0, 1.0);
    if (hasNormalMap == 1) {
      n = normalize(textureLod(color_normalMap, texCoord, level).rgb * 2.0 - 1.0);
    }
    vec3 toEye = normalize(tangentToEye);
    float diffuse = max(dot(n, tangentToLight), 0.0);
    float fill = eyeFill * max(dot(n, toEye), 0.0);
    float facing = dot(n, normalize(tangentToLight + toEye));
    bool lit = diffuse > 0.0;
    float specular;
    if (celShading == 1) {
      diffuse = floor(diffuse * toonBands + 0.5) * (1.0 / toonBands);
      fill = floor(fill * toonBands + 0.5) * (1.0 / toonBands);
      specular = facing >= toonHighlight ? 1.0 : 0.0;
    } else {
      specular = max(facing, 0.0);
      specular *= specular;
      specular *= specular;
      specular *= specular;
      specular *= specular;
    }
    specular = lit ? specular : 0.0;
    color = albedo * (ambient + fill + (1.0 - ambient) * diffuse) + specularColor * specular;
  }
  // Only what is brighter than the glow threshold blooms: smoothstep(0.8, 1.0, luma), written out.
  float glow = clamp((dot(color, luma) - 0.8) * 5.0, 0.0, 1.0);
  vec4 bright = vec4(color * (glow * glow * (3.0 - 2.0 * glow)), 1.0);
  if (colorWireframeModeEnabled == 1) {
    color = colorWireframeMode;
    bright = vec4(0.0);
  }
  fragColor = vec4(color, 1.0);
  brightColor = bright;
}
