#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchWindow.h"
#include "bench/FloorShaders.h"
#include "scene/RenderSettings.h"
#include "render/PostProcessing.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::render {
namespace {

using scene::ShaderProgram;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
const std::string SHADERS = "Voidskirmish/Shader/";

std::unique_ptr<ShaderProgram> loadProgram(const std::string& stem) {
  return std::make_unique<ShaderProgram>(SHADERS + stem + ".vert", SHADERS + stem + ".frag");
}

// A hidden window of the game's windowed size with the frame buffers and the post-processing programs.
struct FrameContext {
  FrameContext() {
    if (surface.problem != nullptr) {
      return;
    }
    edgeDetection = loadProgram("contoursEdgeDetection");
    blur = loadProgram("blur");
    combine = loadProgram("frameBuffersCombined");
    edgeFloor = oneFetchProgram("contoursEdgeDetection", "color_texture");
    blurFloor = oneFetchProgram("blur", "image");
    combineFloor = oneFetchProgram("frameBuffersCombined", "scene");
    frame = std::make_unique<PostProcessing>(PostProcessing::Programs{edgeDetection.get(), blur.get(), combine.get()});
    floorFrame = std::make_unique<PostProcessing>(
        PostProcessing::Programs{edgeFloor.get(), blurFloor.get(), combineFloor.get()});
    // One whole frame each, so every texture a pass reads has been written.
    for (PostProcessing* each : {frame.get(), floorFrame.get()}) {
      each->createFramebuffers(false, WIDTH, HEIGHT);
      each->render(everyEffect, [](bool, bool, bool, bool, bool) {});
    }
  }

  bool ready(benchmark::State& state) const { return surface.makeCurrent(state); }

  BenchWindow surface{WIDTH, HEIGHT, "post-processing bench"};
  scene::RenderSettings everyEffect;  // bloom and contours are on by default
  std::unique_ptr<ShaderProgram> edgeDetection, blur, combine;
  std::unique_ptr<ShaderProgram> edgeFloor, blurFloor, combineFloor;  // the same passes with one fetch
  std::unique_ptr<PostProcessing> frame, floorFrame;
};

FrameContext& context() {
  static FrameContext shared;
  return shared;
}

// The floor of any frame here: clear and swap.
void BM_EmptyFrame(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  for (auto _ : state) {
    context().surface.presentEmptyFrame();
  }
}
BENCHMARK(BM_EmptyFrame)->Apply(timeGlWork);

// One full-window pass of the frame (or the ten of bloom), waited for; each is timed with the game's programs
// and against its floor, the same pass with programs that make one fetch.
using Pass = void (*)(PostProcessing&);

void timePass(benchmark::State& state, Pass pass, bool floor) {
  if (!context().ready(state)) {
    return;
  }
  PostProcessing& frame = floor ? *context().floorFrame : *context().frame;
  for (auto _ : state) {
    pass(frame);
    glFinish();
  }
}

void edge(PostProcessing& frame) { frame.edgePass(); }
void bloom(PostProcessing& frame) { frame.bloomPasses(); }
void combine(PostProcessing& frame) { frame.combinePass(context().everyEffect); }

void BM_EdgePass(benchmark::State& state) { timePass(state, edge, false); }
void BM_EdgePassFloor(benchmark::State& state) { timePass(state, edge, true); }
void BM_TenBlurPasses(benchmark::State& state) { timePass(state, bloom, false); }
void BM_TenOneFetchPasses(benchmark::State& state) { timePass(state, bloom, true); }
void BM_CombinePass(benchmark::State& state) { timePass(state, combine, false); }
void BM_CombinePassFloor(benchmark::State& state) { timePass(state, combine, true); }
BENCHMARK(BM_EdgePass)->Apply(timeGlWork);
BENCHMARK(BM_EdgePassFloor)->Apply(timeGlWork);
BENCHMARK(BM_TenBlurPasses)->Apply(timeGlWork);
BENCHMARK(BM_TenOneFetchPasses)->Apply(timeGlWork);
BENCHMARK(BM_CombinePass)->Apply(timeGlWork);
BENCHMARK(BM_CombinePassFloor)->Apply(timeGlWork);

// The whole frame around an empty scene: scene pass, contour and edge passes, bloom and combining, as the
// flags say (arguments: bloom, contours).
void BM_PostProcessingFrame(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  scene::RenderSettings settings;
  settings.bloom = state.range(0) != 0;
  settings.contours = state.range(1) != 0;
  const SceneDrawer emptyScene = [](bool, bool, bool, bool, bool) {};
  for (auto _ : state) {
    context().frame->render(settings, emptyScene);
    context().surface.present();
  }
}
BENCHMARK(BM_PostProcessingFrame)
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Apply(timeGlWork);

}  // namespace
}  // namespace voidskirmish::render
