#include "app/Shell.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>

#include "failure/Fatal.h"
#include "app/LiveFrames.h"
#include "app/LostWindowWatch.h"
#include "app/MatchCheck.h"
#include "app/NetworkPlay.h"
#include "app/ReplayFrames.h"
#include "app/RunningGameState.h"
#include "app/SpectatorFrames.h"
#include "game/Delivery.h"
#include "input/EventText.h"
#include "net/MatchHash.h"
#include "render/GlDebug.h"
#include "render/Screenshot.h"
#include "render/WindowFrame.h"

namespace voidskirmish::app {

using failure::fatalExit;

namespace {

// GLFW aborts on a negative side instead of refusing it, and a full-screen side near X's 16-bit limit crashes
// Mesa's software rasteriser inside glfwCreateWindow (32767 × 32767 already does). GL 4.3 promises frame buffers
// only up to the largest side a recording holds, so a larger window could not be drawn anyway.
constexpr int largestWindowSide = input::MAX_WINDOW_SIDE;

bool windowCanHaveSide(int side) { return side > 0 && side <= largestWindowSide; }

// GLFW says why it failed (no display, no GLX, no OpenGL 4.3) only through this callback; the game's own message
// follows on standard output.
void onGlfwError(int, const char* description) { std::cerr << "GLFW: " << description << std::endl; }

[[noreturn]] void failToOpenWindow() {
  glfwTerminate();
  fatalExit(std::cout, "Failed to open window", 1);
}

bool pressed(const std::vector<input::Event>& events, int key) {
  return std::any_of(events.begin(), events.end(), [key](const input::Event& event) {
    const auto* keyEvent = std::get_if<input::KeyEvent>(&event);
    return keyEvent != nullptr && keyEvent->pressed && keyEvent->key == key;
  });
}

}  // namespace

Shell::~Shell() = default;

int Shell::play(input::RecordingWriter* recorder, replay::LastSeconds* last) {
  openWindow();
  setUpGame(std::nullopt, liveStart(), input::KeyMap(players.keys));
  LiveFrames frames(*this, recorder, last);
  const int exitCode = run(frames);
  tearDown();
  return exitCode;
}

int Shell::replay(const input::Recording& recording, const std::optional<replay::Seeker::Position>& start,
                  std::size_t fromFrame, double speed) {
  openWindow();
  setUpGame(recording.header.networkPlayer, game::PlayStart::of(recording.header), input::KeyMap());
  ReplayFrames frames(*this, recording, start, fromFrame, speed);
  const int exitCode = run(frames);
  tearDown();
  return exitCode;
}

int Shell::playNetwork(const Options& options, input::RecordingWriter* recorder, replay::LastSeconds* last) {
  openWindow();
  setUpGame(NetworkPlay::playerOf(options), liveStart(), input::KeyMap(players.keys));
  NetworkPlay frames(*this, options, liveStart(), recorder, last);
  const int exitCode = frames.connect() ? run(frames) : frames.finish();
  tearDown();
  return exitCode;
}

int Shell::watch(const Options& options) {
  openWindow();
  setUpGame(std::nullopt, liveStart(), input::KeyMap(), true);
  SpectatorFrames frames(*this, options);
  const int exitCode = frames.connect() ? run(frames) : frames.finish();
  tearDown();
  return exitCode;
}

int Shell::run(FrameSource& source) {
  while (const std::optional<SourcedFrame> frame = source.next()) {
    runFrame(*frame);
    if (!source.shown() || frame->last) {
      break;
    }
  }
  return source.finish();
}

// The window is polled while a long recorded frame is waited out, so that ESC or a close ends the replay at once.
bool Shell::waitUntil(double due) {
  for (double now = glfwGetTime(); now < due; now = glfwGetTime()) {
    const std::vector<input::Event>& events = liveInputs->wait(due - now);
    if (windowClosed() || escapeHeld() || pressed(events, GLFW_KEY_ESCAPE)) {
      return false;
    }
  }
  return true;
}

void Shell::openWindow() {
  refreshRate = 60;
  glfwSetErrorCallback(onGlfwError);
  if (!glfwInit()) {
    fatalExit(std::cout, "Failed to init glfw", -1);
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
  GLFWmonitor* monitor = nullptr;
  if (choice.fullscreen) {
    monitor = glfwGetPrimaryMonitor();
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
  }
  if (!windowCanHaveSide(choice.width) || !windowCanHaveSide(choice.height)) {
    std::cerr << "A window side must be between 1 and " << largestWindowSide << " pixels" << std::endl;
    failToOpenWindow();
  }
  window = glfwCreateWindow(choice.width, choice.height, title, monitor, nullptr);
  if (window == nullptr) {
    failToOpenWindow();
  }
  // A window manager that keeps limits lets no drag past them; without one see LiveInput.
  glfwSetWindowSizeLimits(window, GLFW_DONT_CARE, GLFW_DONT_CARE, largestWindowSide, largestWindowSide);
  glfwMakeContextCurrent(window);
  if (!render::loadOpenGl()) {
    fatalExit(std::cout, "Failed to initialize glew", 1);
  }
  glDebugOutput = render::installGlDebugOutput();
  // GLFW makes the context current before a full-screen window gets the screen's size, and the driver keeps the
  // size it saw then up to the first swap: drawing before it would allocate the asked size, however large.
  render::clearWindow(false);
  glfwSwapBuffers(window);
  lostWindowWatch = std::make_unique<LostWindowWatch>(window);
}

void Shell::letComputerFly(const Options& options) {
  if (!options.computers.empty()) {
    computerPlayers = std::make_unique<bot::Computers>(options.computers);
    computerSeed = options.seed;
  }
}

void Shell::setUpGame(std::optional<int> networkPlayer, const game::PlayStart& start, const input::KeyMap& keyMap,
                      bool networkRules) {
  glfwSetWindowTitle(window, title);
  liveInputs = std::make_unique<LiveInput>(window, keyMap);
  render::enableDepthTest();
  state = std::make_unique<game::RunningGameState>(window, networkPlayer, start, networkRules);
  state->settings().renderScale = startScale;
  state->settings().fastBloom = startFastBloom;
  state->settings().hudShapes = players.hud == settings::HudStyle::Shapes;
  // The size the window really got: full screen gets the screen's mode whatever size was asked, and frame
  // buffers of the asked size would cost memory and seconds for a first frame no larger than the screen.
  int width = 0;
  int height = 0;
  glfwGetFramebufferSize(window, &width, &height);
  state->resize(width, height);
  if (computerSeed) {
    state->match().computerRandom.state = *computerSeed;
  }
  render::useBlackClearColour();
  state->settings().sound = !startMuted;
  sounds = std::make_unique<sound::FrameSounds>(sound::SoundOutput::open("Voidskirmish/Sound/", soundVolume, std::cerr),
                                                networkPlayer);
}

void Shell::runFrame(const SourcedFrame& frame) {
  // Cleared only now, after this frame's resize: the driver sizes the frame's buffers at the first drawing call
  // after a swap, and a buffer sized before the resize leaves the new part of the window undrawn.
  render::clearWindow(true);
  if (!frame.drawOnly) {
    state->update(frame.delta);
  }
  state->render();
  // Heard once the frame's rules are done (drawing ends them: a death outside the arena settles there), before a
  // screenshot is written: a slow save would otherwise push this frame's sounds against the next one's.
  if (!frame.drawOnly) {
    hear(state->play());
  }
  if (pressed(*frame.events, GLFW_KEY_F12)) {
    saveScreenshot(frame.shotNumber.value_or(state->match().frameNumber));
  }
  glfwSwapBuffers(window);
  if (!frame.drawOnly) {
    printCheck(state->match());
  }
}

void Shell::printCheck(const game::Match& match) const {
  if (netCheck && match.frameNumber % net::HASH_INTERVAL == 0) {
    std::cout << net::matchHashLine(static_cast<std::uint32_t>(match.frameNumber), matchHash(match)) << std::endl;
  }
}

void Shell::scaleAutomatically(double budgetSeconds) {
  autoRenderScale = std::make_unique<render::AutoRenderScale>(budgetSeconds);
}

std::optional<input::ScaleLine> Shell::adjustRenderScale() {
  if (!autoRenderScale) {
    return std::nullopt;
  }
  const std::optional<render::AutoRenderScale::Change> change = autoRenderScale->frame(glfwGetTime());
  if (!change) {
    return std::nullopt;
  }
  const input::ScaleLine scale{change->scale, change->settled};
  useRenderScale(scale);
  return scale;
}

void Shell::useRenderScale(const input::ScaleLine& scale) {
  state->settings().renderScale = scale.scale;
  if (scale.settled) {
    std::cout << "Render scale settled at " << scale.scale << std::endl;
  }
}

// A local game steers ship1 by where the cursor is; the game says whether it is to be put back.
void Shell::steerWithCursor(std::vector<input::Event>& events) {
  const std::optional<glm::dvec2> cursor = steeringCursor();
  if (!cursor || (computerPlayers && computerPlayers->flies(0))) {
    return;  // the computer's ship1 takes no mouse
  }
  const input::Event move = input::CursorEvent{cursor->x, cursor->y};
  events.push_back(move);
  game::deliver(move, *state);
  if (const std::optional<glm::dvec2> centre = state->steeringCentre()) {
    putCursor(*centre);
  }
}

// X does not report a cursor move that lands where the last reported one did, nor the move back to the centre,
// so while the cursor steers, its position is read once a frame: anywhere but the centre is a move.
std::optional<glm::dvec2> Shell::steeringCursor() {
  const std::optional<glm::dvec2> centre = state->steeringCentre();
  const bool starting = centre && !cursorSteers;
  cursorSteers = centre.has_value();
  if (!centre) {
    return std::nullopt;
  }
  if (starting) {
    glfwSetCursorPos(window, centre->x, centre->y);
    return std::nullopt;
  }
  glm::dvec2 cursor;
  glfwGetCursorPos(window, &cursor.x, &cursor.y);
  if (cursor == *centre) {
    return std::nullopt;
  }
  return cursor;
}

// A recorded size is given to the real window too, so pictures have the recorded size. X applies it
// asynchronously: wait a little for the frame buffer to follow.
void Shell::resizeWindow(int width, int height) {
  if (width == 0 || height == 0) {  // recorded minimised: a window of no size is no X window
    glfwIconifyWindow(window);
    return;
  }
  if (glfwGetWindowAttrib(window, GLFW_ICONIFIED)) {
    glfwRestoreWindow(window);
  }
  glfwSetWindowSize(window, width, height);
  for (int attempt = 0; attempt < 100; ++attempt) {
    int actualWidth = 0;
    int actualHeight = 0;
    glfwGetFramebufferSize(window, &actualWidth, &actualHeight);
    if (actualWidth == width && actualHeight == height) {
      return;
    }
    glfwWaitEventsTimeout(0.01);
  }
}

void Shell::saveScreenshot(long frameNumber) {
  int width = 0;
  int height = 0;
  glfwGetFramebufferSize(window, &width, &height);
  const std::string path = render::screenshotPath(frameNumber);
  if (render::saveScreenshot(path, width, height)) {
    std::cout << "Screenshot saved to " << path << std::endl;
  } else {
    std::cerr << "Could not save the screenshot to " << path << std::endl;
  }
}

void Shell::hear(const game::Play& play) { sounds->hear(play.match.events, play.settings.sound); }

void Shell::silence() { sounds->hear(state->match().events, false); }

void Shell::putCursor(glm::dvec2 position) { glfwSetCursorPos(window, position.x, position.y); }

void Shell::showEmptyFrame() {
  render::clearWindow(true);
  glfwSwapBuffers(window);
}

bool Shell::escapeHeld() const { return glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_RELEASE; }

bool Shell::windowClosed() const { return glfwWindowShouldClose(window) || LostWindowWatch::lost(); }

void Shell::tearDown() {
  sounds.reset();
  state.reset();
  liveInputs.reset();
  if (glDebugOutput) {
    std::cerr << "GL errors: " << render::glErrorCount() << std::endl;
  }
  glfwTerminate();
  // Destroying a lost window fails too, up to the end of glfwTerminate.
  lostWindowWatch.reset();
}

}  // namespace voidskirmish::app
