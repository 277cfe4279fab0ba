#version 430 core
// Asteroids: moves the light and eye directions into the surface's tangent space once per vertex, so the
// fragment stage can light the normal map's texels as they are stored.

in vec3 position;
in vec3 normal;
in vec3 aTangent;
in vec3 aBitangent;
in vec2 uv;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;
uniform vec3 lightPosition;
uniform vec3 cameraPosition;

out vec3 tangentToLight;
out vec3 tangentToEye;
out vec2 texCoord;

void main() {
  vec4 world = model * vec4(position, 1.0);
  // Gram-Schmidt: an orthonormal frame whose third axis is exactly the vertex normal, keeping the
  // bitangent's handedness, so tangent (0, 0, 1) means "unperturbed".
  mat3 turn = mat3(model);
  vec3 n = normalize(turn * normal);
  vec3 t = normalize(turn * aTangent - n * dot(n, turn * aTangent));
  vec3 b = cross(n, t) * sign(dot(cross(n, t), turn * aBitangent));
  mat3 worldToTangent = transpose(mat3(t, b, n));
  // The sun is so far away that its direction barely turns across a triangle: normalised here, it needs no
  // normalising per fragment.
  tangentToLight = normalize(worldToTangent * (lightPosition - world.xyz));
  tangentToEye = worldToTangent * (cameraPosition - world.xyz);
  texCoord = uv;
  gl_Position = projection * (view * world);  // two matrix-vector products, not a matrix product per vertex
}
