#include "app/RunningGameState.h"

#include <GLFW/glfw3.h>

#include <array>
#include <iostream>
#include <string>

#include "game/Play.h"
#include "game/SplitLayout.h"
#include "render/Overlays.h"
#include "render/ParticleRenderer.h"
#include "render/PostProcessing.h"
#include "render/ScenePass.h"
#include "scene/ShaderProgram.h"
#include "scene/Skybox.h"

namespace voidskirmish::game {
namespace {

// The programs, in the order they are built; each is read from "Voidskirmish/Shader/<role>.vert/.frag". The
// fast bloom's comes last, after the ten every game uses.
enum Program {
  Draw, NormalMapping, SkyboxProgram, EnemyDirectionArrow, DrawColor, ContoursEdgeDetection, FrameBuffersCombined,
  Blur, ParticleProgram, Laser, BloomChain, ProgramCount
};

constexpr std::array<const char*, ProgramCount> programRoles{
    "draw", "normalMapping", "skybox", "enemyDirectionArrow", "drawColor", "contoursEdgeDetection",
    "frameBuffersCombined", "blur", "particle", "laser", "bloomChain"};

std::unique_ptr<scene::ShaderProgram> loadProgram(const std::string& role) {
  const std::string stem = "Voidskirmish/Shader/" + role;
  return std::make_unique<scene::ShaderProgram>(stem + ".vert", stem + ".frag");
}

}  // namespace

// Everything one match owns, in the order it is built (and released in reverse while the context still lives).
struct RunningGameState::MatchParts {
  std::array<std::unique_ptr<scene::ShaderProgram>, ProgramCount> programs;
  std::unique_ptr<scene::Skybox> skybox;
  std::unique_ptr<Play> play;
  render::Overlays overlays;
  render::ParticleRenderer particles;
  std::unique_ptr<render::PostProcessing> postProcessing;
  std::unique_ptr<render::ScenePass> scenePass;

  const scene::ShaderProgram* program(Program role) const { return programs[role].get(); }
};

RunningGameState::RunningGameState(GLFWwindow* window, std::optional<int> networkPlayer, const PlayStart& start,
                                   bool networkRules)
    : GameState(window),
      networkPlayer(networkPlayer),
      networkRules(networkRules || networkPlayer.has_value()),
      start(start) {
  init();
}

RunningGameState::~RunningGameState() = default;

void RunningGameState::init() {
  parts = std::make_unique<MatchParts>();
  MatchParts& p = *parts;
  for (int role = 0; role < ProgramCount; ++role) {
    p.programs[role] = loadProgram(programRoles[role]);
  }
  glfwGetWindowSize(window, &width, &height);
  p.skybox = std::make_unique<scene::Skybox>(p.program(SkyboxProgram));
  p.play = std::make_unique<Play>(Match::Programs{p.program(Draw), p.program(NormalMapping), p.program(Laser)},
                                  std::cout, start);
  p.overlays.createOverlayBuffers(p.program(EnemyDirectionArrow), p.program(DrawColor));
  p.particles.createParticleBuffers();
  p.postProcessing = std::make_unique<render::PostProcessing>(render::PostProcessing::Programs{
      p.program(ContoursEdgeDetection), p.program(Blur), p.program(FrameBuffersCombined), p.program(BloomChain)});
  const scene::RenderSettings& settings = p.play->settings;
  p.postProcessing->createFramebuffers(false, width, height, settings.renderScale, settings.fastBloom);
  // The out-of-bounds rules go with drawing each half, as often as halves are drawn and in the console's order.
  render::ScenePass::HalfRules halfRules = [play = p.play.get()](int player) { play->applyBoundaryRules(player); };
  if (networkRules) {
    halfRules = [](int) {};
  }
  p.scenePass = std::make_unique<render::ScenePass>(p.play->match, *p.skybox, p.overlays, p.particles, p.program(Draw),
                                                    p.program(ParticleProgram), std::move(halfRules));
  p.play->controls.printHelp();
}

void RunningGameState::update(float deltaTime) { parts->play->update(deltaTime); }

void RunningGameState::render() {
  for (int player = 0; player < 2; ++player) {
    parts->scenePass->computerFlown[player] = parts->play->pads.computer(player).has_value();
  }
  if (!minimised) {
    // The render scale may have moved since the last frame.
    if (!parts->postProcessing->builtFor(settings().renderScale, settings().fastBloom)) {
      buildFrame();
    }
    parts->postProcessing->render(settings(), [this](bool asteroids, bool skybox, bool boundaryWarning,
                                                         bool effects, bool enemyOnly) {
      renderScene(asteroids, skybox, boundaryWarning, effects, enemyOnly);
    });
    parts->scenePass->drawOverlaysApart(settings());
    if (replayBar) {
      parts->overlays.drawReplayBar(replayBar->first, replayBar->second, width, height);
    }
  }
  if (rulesApart) {
    return;
  }
  // Once a frame for both ships, as a local game applies them once a frame per drawn half.
  if (networkRules) {
    for (int player = 0; player < 2; ++player) {
      parts->play->applyBoundaryRules(player);
    }
  }
  // Drawing is the frame's last step and may take a life (outside the arena): the frame's deaths settle here.
  parts->play->endFrame();
}

void RunningGameState::renderScene(bool asteroids, bool skybox, bool boundaryWarning, bool effects,
                                   bool enemyOnly) {
  parts->scenePass->renderScene(settings(), asteroids, skybox, boundaryWarning, effects, enemyOnly);
}

void RunningGameState::keyPressed(int key) { parts->play->keyPressed(key); }

void RunningGameState::keyReleased(int key) { parts->play->keyReleased(key); }

void RunningGameState::cursorMoved(double x, double y) { parts->play->cursorMoved(x, y); }

std::optional<glm::dvec2> RunningGameState::steeringCentre() const { return parts->play->steeringCentre(); }

void RunningGameState::mouseButton(int button, int action) { parts->play->mouseButton(button, action); }

void RunningGameState::padLinked(int ship, bool connected, std::string_view name) {
  parts->play->padLinked(ship, connected, name);
}

void RunningGameState::computerTakes(int ship, input::ComputerLevel level) {
  parts->play->computerTakes(ship, level);
}

void RunningGameState::padControl(int ship, PadControl control, float value) {
  parts->play->padControl(ship, control, value);
}

void RunningGameState::steer(int ship, double dx, double dy) { parts->play->steer(ship, dx, dy); }

void RunningGameState::runRulesApart() {
  rulesApart = true;
  parts->scenePass->printsCulling = false;
}

void RunningGameState::showWaiting(bool waiting) { parts->scenePass->waiting = waiting; }

Play& RunningGameState::play() { return *parts->play; }

Match& RunningGameState::match() { return parts->play->match; }

scene::RenderSettings& RunningGameState::settings() { return parts->play->settings; }

void RunningGameState::resize(int newWidth, int newHeight) {
  // A minimised window reports no area: there is no aspect ratio and no frame buffer of that size to build.
  minimised = newWidth <= 0 || newHeight <= 0;
  if (minimised) {
    return;
  }
  width = newWidth;
  height = newHeight;
  parts->play->resize(width, height);
  buildFrame();
}

void RunningGameState::buildFrame() {
  render::PostProcessing& frame = *parts->postProcessing;
  frame.createFramebuffers(true, width, height, settings().renderScale, settings().fastBloom);
  // The halves share what the frame buffers hold: the whole window unless it is beyond the driver's limit.
  const auto layout = [this](int layoutWidth, int layoutHeight) {
    return networkPlayer ? SplitLayout::forView(layoutWidth, layoutHeight, *networkPlayer)
                         : SplitLayout::forWindow(layoutWidth, layoutHeight);
  };
  // The head-up overlays are laid out for a half; a view in the whole window is the half of one twice as tall.
  parts->scenePass->setLayout(layout(frame.width(), frame.height()), layout(frame.sceneWidth(), frame.sceneHeight()),
                              frame.width(), networkPlayer ? 2 * frame.height() : frame.height());
}

}  // namespace voidskirmish::game
