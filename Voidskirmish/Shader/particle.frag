#version 430 core
// Spark: a round dot with a soft rim cut from the square billboard; it glows, so it goes into output 1 too.

in vec2 squarePosition;
in vec4 sparkColor;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

void main() {
  float radius = length(squarePosition) * 2.0;  // 0 at the centre, 1 at the circle's edge
  if (radius > 1.0) {
    discard;
  }
  vec4 color = vec4(sparkColor.rgb, sparkColor.a * (1.0 - smoothstep(0.5, 1.0, radius)));
  fragColor = color;
  brightColor = color;
}
