#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <glm/mat4x4.hpp>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "scene/RenderSettings.h"
#include "scene/Geometry.h"
#include "scene/ShaderProgram.h"

// What a model costs: reading it on the CPU (Assimp, FreeImage, flattening) at set-up, measured for each of the
// game's models; the first draw adds the upload, which every laser shot pays for its cylinder.
namespace {

using voidskirmish::scene::Geometry;
using voidskirmish::scene::ShaderProgram;

bool missing(benchmark::State& state, const std::string& path) {
  if (std::filesystem::exists(path)) {
    return false;
  }
  state.SkipWithError(("no model file " + path).c_str());
  return true;
}

Geometry load(const std::string& path, const ShaderProgram* shader = nullptr) {
  return Geometry(path, glm::mat4(1.0f), shader, glm::mat4(1.0f));
}

void modelLoad(benchmark::State& state, const std::string& path) {
  if (missing(state, path)) {
    return;
  }
  std::uint32_t vertices = 0;
  for (auto _ : state) {
    Geometry geometry = load(path);
    vertices = geometry.indexCount;
    benchmark::DoNotOptimize(geometry.positions.data());
  }
  state.counters["vertices"] = vertices;
}

// A hidden 4.3 core window with the game's model program, made once for the process; empty without a display.
struct DrawContext {
  DrawContext() {
    if (glfwInit() == GLFW_FALSE) {
      return;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(16, 16, "bench", nullptr, nullptr);
    if (window == nullptr) {
      return;
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    glewInit();
    glEnable(GL_DEPTH_TEST);
    program = std::make_unique<ShaderProgram>("Voidskirmish/Shader/draw.vert", "Voidskirmish/Shader/draw.frag");
    glUseProgram(program->program);
  }
  GLFWwindow* window = nullptr;
  std::unique_ptr<ShaderProgram> program;
};

void firstDraw(benchmark::State& state, const std::string& path) {
  static DrawContext context;
  if (missing(state, path)) {
    return;
  }
  if (context.program == nullptr) {
    state.SkipWithError("no OpenGL context: run under Xvfb");
    return;
  }
  const voidskirmish::scene::RenderSettings settings;
  std::uint32_t culled = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::optional<Geometry> geometry;
    geometry.emplace(path, glm::mat4(1.0f), context.program.get(), glm::mat4(1.0f));
    state.ResumeTiming();
    geometry->draw(context.program.get(), glm::mat4(1.0f), glm::mat4(1.0f), glm::vec3(0.0f),
                   &geometry->boundingSphere, &culled, &settings);
    glFinish();
    state.PauseTiming();
    geometry.reset();
    state.ResumeTiming();
  }
}

// The cylinder first: every laser shot uploads it.
const bool registered = [] {
  for (const char* file :
       {"cylinder.dae", "ship2.dae", "SpaceshipGun.dae", "asteroidLessComplex.dae", "BoundarySphere.dae"}) {
    const std::string path = std::string("Voidskirmish/Material/") + file;
    benchmark::RegisterBenchmark(("ModelLoad/" + path).c_str(), modelLoad, path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("FirstDraw/" + path).c_str(), firstDraw, path)->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
