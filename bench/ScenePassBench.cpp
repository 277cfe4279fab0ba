#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchWindow.h"
#include "bench/FloorShaders.h"
#include "scene/RenderSettings.h"
#include "app/RunningGameState.h"
#include "game/SplitLayout.h"
#include "game/Match.h"
#include "render/PostProcessing.h"

// The scene pass (both halves) and the contour pass of the real game, each against its floor: the same draws
// made by a second match whose programs write a constant colour.
namespace voidskirmish::game {
namespace {

namespace fs = std::filesystem;

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
// The enemy-in-sight view: ship1 turned right, by mouse steering, until ship2 is ahead of it.
constexpr double TURN_PIXELS = 1300.0;

std::unique_ptr<scene::ShaderProgram> loadProgram(const std::string& stem) {
  const std::string path = "Voidskirmish/Shader/" + stem;
  return std::make_unique<scene::ShaderProgram>(path + ".vert", path + ".frag");
}

// A match set up as the shell does, reading its files from `folder`; every match gets the same asteroid field.
std::unique_ptr<RunningGameState> matchIn(GLFWwindow* window, const fs::path& folder) {
  const fs::path home = fs::current_path();
  fs::current_path(folder);
  auto game = std::make_unique<RunningGameState>(window);
  fs::current_path(home);
  game->resize(WIDTH, HEIGHT);
  return game;
}

// Turns ship1 of a match by mouse steering, `pixels` to the right (negative: to the left).
void turnShip1(RunningGameState& game, double pixels) {
  const SplitLayout layout = SplitLayout::forWindow(WIDTH, HEIGHT);
  game.keyPressed(GLFW_KEY_P);
  game.cursorMoved(layout.centreX + pixels, layout.centreY);
  game.keyPressed(GLFW_KEY_P);
}

struct PassContext {
  PassContext() {
    if (surface.problem != nullptr) {
      return;
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    game = matchIn(surface.window, fs::current_path());
    floorGame = matchIn(surface.window, floorFolder.root());
    edgeDetection = loadProgram("contoursEdgeDetection");
    blur = loadProgram("blur");
    combine = loadProgram("frameBuffersCombined");
    frame = std::make_unique<render::PostProcessing>(
        render::PostProcessing::Programs{edgeDetection.get(), blur.get(), combine.get()});
    frame->createFramebuffers(false, WIDTH, HEIGHT);
    // Uploads the models and lets the driver build its code for every draw before anything is timed.
    for (RunningGameState* each : {game.get(), floorGame.get()}) {
      frame->render(each->settings(), [each](bool asteroids, bool skybox, bool warning, bool effects, bool enemyOnly) {
        each->renderScene(asteroids, skybox, warning, effects, enemyOnly);
      });
    }
    glFinish();
  }

  // The context must be current while the matches release their GL names.
  ~PassContext() {
    if (game != nullptr) {
      glfwMakeContextCurrent(surface.window);
    }
  }

  bool ready(benchmark::State& state) const { return surface.makeCurrent(state); }

  BenchWindow surface{WIDTH, HEIGHT, "scene pass bench"};
  ConstantColourGameFolder floorFolder;
  std::unique_ptr<RunningGameState> game, floorGame;
  std::unique_ptr<scene::ShaderProgram> edgeDetection, blur, combine;
  std::unique_ptr<render::PostProcessing> frame;
};

PassContext& context() {
  static PassContext shared;
  return shared;
}

// Puts both matches in the view of the benchmark's argument for its lifetime: 0 the start view, 1 with the
// enemy ahead of ship1, so that the contour pass has a ship to draw in the upper half.
class View {
 public:
  explicit View(bool enemyInSight) : pixels_(enemyInSight ? TURN_PIXELS : 0.0) { turn(pixels_); }
  ~View() { turn(-pixels_); }
  View(const View&) = delete;
  View& operator=(const View&) = delete;

 private:
  static void turn(double pixels) {
    if (pixels != 0.0) {
      turnShip1(*context().game, pixels);
      turnShip1(*context().floorGame, pixels);
    }
  }
  double pixels_;
};

using Pass = void (render::PostProcessing::*)(scene::RenderSettings&, const render::SceneDrawer&);

// One pass into the frame's own targets, waited for; no particles are alive.
void timePass(benchmark::State& state, Pass pass, bool floor) {
  if (!context().ready(state)) {
    return;
  }
  const View view(state.range(0) != 0);
  RunningGameState& game = floor ? *context().floorGame : *context().game;
  game.match().particles->clearParticles();
  const render::SceneDrawer drawer = [&game](bool asteroids, bool skybox, bool warning, bool effects,
                                             bool enemyOnly) {
    game.renderScene(asteroids, skybox, warning, effects, enemyOnly);
  };
  for (auto _ : state) {
    (context().frame.get()->*pass)(game.settings(), drawer);
    glFinish();
  }
}

void BM_GameScenePass(benchmark::State& state) { timePass(state, &render::PostProcessing::scenePass, false); }
void BM_GameScenePassFloor(benchmark::State& state) { timePass(state, &render::PostProcessing::scenePass, true); }
void BM_GameContourPass(benchmark::State& state) { timePass(state, &render::PostProcessing::contourPass, false); }
void BM_GameContourPassFloor(benchmark::State& state) {
  timePass(state, &render::PostProcessing::contourPass, true);
}

void withViews(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("enemy_in_sight")->Arg(0)->Arg(1)->Apply(timeGlWork);
}
BENCHMARK(BM_GameScenePass)->Apply(withViews);
BENCHMARK(BM_GameScenePassFloor)->Apply(withViews);
BENCHMARK(BM_GameContourPass)->Apply(withViews);
BENCHMARK(BM_GameContourPassFloor)->Apply(withViews);

}  // namespace
}  // namespace voidskirmish::game
