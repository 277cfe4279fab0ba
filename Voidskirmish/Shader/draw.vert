#version 430 core
// Places a model vertex in the world and hands the fragment stage its world position, tangent frame and uv.

in vec3 position;
in vec3 normal;
in vec3 aTangent;
in vec3 aBitangent;
in vec2 uv;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 worldPosition;
out vec3 worldTangent;
out vec3 worldBitangent;
out vec3 worldNormal;
out vec2 texCoord;

void main() {
  vec4 world = model * vec4(position, 1.0);
  // Model matrices scale uniformly, so their upper 3x3 turns directions correctly; lengths are fixed later.
  mat3 turn = mat3(model);
  worldPosition = world.xyz;
  worldTangent = turn * aTangent;
  worldBitangent = turn * aBitangent;
  worldNormal = turn * normal;
  texCoord = uv;
  gl_Position = projection * (view * world);  // two matrix-vector products, not a matrix product per vertex
}
