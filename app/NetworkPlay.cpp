#include "app/NetworkPlay.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "failure/Fatal.h"
#include "app/Shell.h"
#include "game/RunningGameState.h"
#include "input/Delivery.h"
#include "input/Sharing.h"
#include "net/BackgroundService.h"
#include "net/MatchHash.h"
#include "net/NetworkMatch.h"

namespace voidskirmish::app {

using failure::fatalExit;
using failure::LineEnd;

namespace {

// How long one wait for the network may keep the window unpolled.
constexpr std::chrono::milliseconds NETWORK_WAIT{10};

std::uint64_t runTimeFilesHash() {
  try {
    return net::runTimeFilesHash("Voidskirmish");
  } catch (const std::runtime_error& failure) {
    fatalExit(std::cout, failure.what(), 1, LineEnd::Newline, true);
  }
}

}  // namespace

NetworkPlay::NetworkPlay(Shell& shell, const Options& options, input::RecordingWriter* recorder)
    : shell(shell), options(options), recorder(recorder), player(playerOf(options)) {}

int NetworkPlay::run() {
  if (const std::optional<int> exitCode = connect()) {
    return *exitCode;
  }
  return playFrames();
}

// The game is built before connecting: its seconds of loading stay out of the other machine's patience.
std::optional<int> NetworkPlay::connect() {
  net::SessionSettings settings;
  settings.port = options.port;
  settings.hello = net::Hello{net::PROTOCOL_VERSION, gameVersion(), runTimeFilesHash()};
  session = options.host ? net::Session::host(settings) : net::Session::join(*options.joinAddress, settings);
  if (session->ending()) {
    return end();
  }
  if (options.host) {
    std::cout << net::lines::waiting(session->port()) << std::endl;
  }
  while (session->state() == net::Session::State::Waiting) {
    if (!collect()) {
      return quit();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glfwSwapBuffers(shell.window);
    session->service(NETWORK_WAIT);
    printNotices();
  }
  if (session->ending()) {
    return end();
  }
  shared.clear();  // nothing flies before the match
  std::cout << (options.host ? net::lines::playerJoined(session->peerAddress())
                             : net::lines::joined(session->peerAddress(), session->port()))
            << std::endl;
  return std::nullopt;
}

// Frame n runs on both machines with the host's delta and both sides' events, the host's first. What this
// machine captures meanwhile goes out for a frame a few frames later.
int NetworkPlay::playFrames() {
  net::NetworkMatch match(*session);
  double previousTime = glfwGetTime();
  for (;;) {
    if (!collect()) {
      return quit();
    }
    steerWithCursor();
    while (!match.frameReady(NETWORK_WAIT)) {
      if (session->ending()) {
        return end();
      }
      if (!collect()) {
        return quit();
      }
    }
    printNotices();
    net::ReadyFrame frame = match.takeFrame();
    const double now = glfwGetTime();
    match.submit(shared, static_cast<float>(std::min(now - previousTime, Shell::LONGEST_RULES_DELTA)));
    previousTime = now;
    shared.clear();
    for (const input::Event& event : frame.events) {
      input::deliver(event, *shell.state);
    }
    const std::optional<input::ScaleLine> scale = shell.adjustRenderScale();  // this machine's own
    if (recorder != nullptr) {
      std::vector<input::Event> recorded = local;
      recorded.insert(recorded.end(), frame.events.begin(), frame.events.end());
      recorder->writeFrame(recorded, frame.delta, scale);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    {
      const net::BackgroundService keepAlive(*session);
      // The rules get no longer step than in any other play, so the recording's replay runs these very steps. A
      // frame after the host lowered the delay carries two frames' time and may be longer.
      shell.runFrame(local, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)));
    }
    local.clear();
  }
}

bool NetworkPlay::collect() {
  std::vector<input::Event>& events = shell.liveInput->poll();
  gamepads.poll(events);
  if (shell.windowClosed() || shell.escapeHeld() ||
      std::any_of(events.begin(), events.end(), input::isEscapePress)) {
    return false;
  }
  for (const input::Event& event : events) {
    if (std::optional<input::Event> own = input::ownShipEvent(event, player)) {
      shared.push_back(*own);
    } else {
      input::deliver(event, *shell.state);
      local.push_back(event);
    }
  }
  return true;
}

// The cursor steers the own ship by its distance from the centre, which means the same on both machines.
void NetworkPlay::steerWithCursor() {
  const std::optional<glm::dvec2> cursor = shell.steeringCursor();
  if (!cursor) {
    return;
  }
  const glm::dvec2 centre = *shell.state->steeringCentre();
  shared.push_back(input::SteerEvent{player, cursor->x - centre.x, cursor->y - centre.y});
  glfwSetCursorPos(shell.window, centre.x, centre.y);
}

// Only the host has any: players it turned away while the match waits or goes on.
void NetworkPlay::printNotices() {
  for (const std::string& line : session->takeNotices()) {
    std::cout << line << std::endl;
  }
}

// The other machine hears of it and prints that this player left.
int NetworkPlay::quit() {
  session->leave();
  return 0;
}

int NetworkPlay::end() {
  printNotices();
  const net::Ending ending = *session->ending();
  (ending.aboutThisMachine() ? std::cerr : std::cout) << ending.line << std::endl;
  session->leave();
  return ending.exitCode();
}

}  // namespace voidskirmish::app
