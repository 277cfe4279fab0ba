#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

namespace voidskirmish {

// A hidden window of the given size with an OpenGL 4.3 core context, current once made, or the reason there is
// none (no display, no such context, not started in the repository root where the shaders are).
class BenchWindow {
 public:
  BenchWindow(int width, int height, const char* title);

  // Makes the context current again, since other benchmarks may have made theirs current; without one, skips
  // the benchmark with the reason.
  bool makeCurrent(benchmark::State& state) const;
  // Ends a frame: swaps, then waits until the driver has drawn everything, so the frame's time is all counted.
  void present() const;
  // The floor of every frame figure: clear and swap in this window.
  void presentEmptyFrame() const;

  GLFWwindow* window = nullptr;
  const char* problem = nullptr;
};

// How every GL benchmark is timed: in milliseconds of wall-clock time, which is what a player waits, with the
// CPU time of the whole process (llvmpipe draws on threads of its own) kept beside it, which other programs
// sharing the cores disturb far less.
void timeGlWork(benchmark::internal::Benchmark* benchmark);

}  // namespace voidskirmish
