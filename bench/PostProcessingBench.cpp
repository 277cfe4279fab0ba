#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/BenchWindow.h"
#include "game/RenderSettings.h"
#include "render/PostProcessing.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::render {
namespace {

using scene::ShaderProgram;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
const std::string SHADERS = "Voidskirmish/Shader/";

// The cheapest pass that still reads the previous one: a single fetch. The blur's own cost is measured
// against it.
constexpr const char* ONE_FETCH_SOURCE = R"(#version 430 core
in vec2 texCoord;
uniform sampler2D image;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = texture(image, texCoord); }
)";

std::unique_ptr<ShaderProgram> loadProgram(const std::string& stem) {
  return std::make_unique<ShaderProgram>(SHADERS + stem + ".vert", SHADERS + stem + ".frag");
}

std::unique_ptr<ShaderProgram> loadOneFetchProgram() {
  const std::filesystem::path fragment = std::filesystem::temp_directory_path() / "voidskirmish-one-fetch.frag";
  std::ofstream(fragment) << ONE_FETCH_SOURCE;
  auto program = std::make_unique<ShaderProgram>(SHADERS + "blur.vert", fragment.string());
  std::filesystem::remove(fragment);
  return program;
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
    oneFetch = loadOneFetchProgram();
    frame = std::make_unique<PostProcessing>(PostProcessing::Programs{edgeDetection.get(), blur.get(), combine.get()});
    frame->createFramebuffers(false, WIDTH, HEIGHT);
    oneFetchFrame =
        std::make_unique<PostProcessing>(PostProcessing::Programs{edgeDetection.get(), oneFetch.get(), combine.get()});
    oneFetchFrame->createFramebuffers(false, WIDTH, HEIGHT);
  }

  bool ready(benchmark::State& state) const { return surface.makeCurrent(state); }

  BenchWindow surface{WIDTH, HEIGHT, "post-processing bench"};
  std::unique_ptr<ShaderProgram> edgeDetection, blur, combine, oneFetch;
  std::unique_ptr<PostProcessing> frame, oneFetchFrame;
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
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void tenPasses(benchmark::State& state, PostProcessing& frame) {
  for (auto _ : state) {
    frame.bloomPasses();
    glFinish();
  }
}

void BM_TenBlurPasses(benchmark::State& state) {
  if (context().ready(state)) {
    tenPasses(state, *context().frame);
  }
}
BENCHMARK(BM_TenBlurPasses)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TenOneFetchPasses(benchmark::State& state) {
  if (context().ready(state)) {
    tenPasses(state, *context().oneFetchFrame);
  }
}
BENCHMARK(BM_TenOneFetchPasses)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole frame around an empty scene: scene pass, contour and edge passes, bloom and combining, as the
// flags say (arguments: bloom, contours).
void BM_PostProcessingFrame(benchmark::State& state) {
  if (!context().ready(state)) {
    return;
  }
  game::RenderSettings settings;
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
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace voidskirmish::render
