#include "app/NetworkPlay.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/Shell.h"
#include "app/MatchCheck.h"
#include "app/RunningGameState.h"
#include "game/Delivery.h"
#include "input/Sharing.h"
#include "net/MatchHash.h"

namespace voidskirmish::app {

namespace {

// How long one wait for the network may keep the window unpolled.
constexpr std::chrono::milliseconds NETWORK_WAIT{10};

// A test makes the two games part by flying this machine's ship forward here alone, from that frame on; the
// recording keeps the press, so its replay prints what this machine saw.
std::optional<std::uint32_t> forcedDesyncFrame() {
  const char* frame = std::getenv("VOIDSKIRMISH_DESYNC_FRAME");
  return frame != nullptr ? std::optional<std::uint32_t>(std::strtoul(frame, nullptr, 10)) : std::nullopt;
}

}  // namespace

// The match as set up is the first state kept: the toggles pressed while waiting go with the first frame.
NetworkPlay::NetworkPlay(Shell& shell, const Options& options, input::RecordingWriter* recorder,
                         replay::LastSeconds* last)
    : shell(shell),
      options(options),
      recorder(recorder),
      last(last),
      player(playerOf(options)),
      gamepads(shell.padButtons()),
      desyncFrame(forcedDesyncFrame()) {
  if (last != nullptr) {
    last->offer(shell.game().play());
  }
}

// The game is built before connecting: its seconds of loading stay out of the other machine's patience.
bool NetworkPlay::connect() {
  net::SessionSettings settings;
  settings.port = options.port;
  settings.hello = net::Hello{net::PROTOCOL_VERSION, gameVersion(), runTimeFilesHash()};
  session = options.host ? net::Session::host(settings) : net::Session::join(*options.joinAddress, settings);
  if (session->ending()) {
    exitCode = end();
    return false;
  }
  if (options.host) {
    std::cout << net::lines::waiting(session->port()) << std::endl;
  }
  while (session->state() == net::Session::State::Waiting) {
    if (!collect()) {
      exitCode = quit();
      return false;
    }
    shell.showEmptyFrame();
    session->service(NETWORK_WAIT);
    printNotices();
  }
  if (session->ending()) {
    exitCode = end();
    return false;
  }
  shared.clear();  // nothing flies before the match
  std::cout << (options.host ? net::lines::playerJoined(session->peerAddress())
                             : net::lines::joined(session->peerAddress(), session->port()))
            << std::endl;
  match = std::make_unique<net::NetworkMatch>(*session);
  previousTime = glfwGetTime();
  return true;
}

std::optional<SourcedFrame> NetworkPlay::next() {
  if (last != nullptr) {
    last->offer(shell.game().play());  // nothing of the next frame is delivered yet
  }
  if (!collect()) {
    exitCode = quit();
    return std::nullopt;
  }
  steerWithCursor();
  while (!match->frameReady(NETWORK_WAIT)) {
    if (session->ending()) {
      exitCode = end();
      return std::nullopt;
    }
    if (!collect()) {
      exitCode = quit();
      return std::nullopt;
    }
  }
  printNotices();
  const net::ReadyFrame frame = match->takeFrame();
  // What both machines run, for those who watch; sent as the session is serviced, so added only here, where no
  // BackgroundService runs.
  if (options.host) {
    session->spectators().add(frame.frame, frame.delta, frame.events);
  }
  const double now = glfwGetTime();
  const auto delta = static_cast<float>(std::min(now - previousTime, Shell::LONGEST_RULES_DELTA));
  if (bot::Computers* computers = shell.computers()) {
    computers->decide(shell.game().match(), delta, shared);
  }
  match->submit(shared, delta);
  previousTime = now;
  shared.clear();
  for (const input::Event& event : frame.events) {
    game::deliver(event, shell.game());
  }
  if (frame.frame == desyncFrame) {
    local.push_back(*input::ownShipEvent(input::KeyEvent{GLFW_KEY_W, true}, player));
    game::deliver(local.back(), shell.game());
  }
  const std::optional<input::ScaleLine> scale = shell.adjustRenderScale();  // this machine's own
  if (recorder != nullptr || last != nullptr) {
    std::vector<input::Event> recorded = local;
    recorded.insert(recorded.end(), frame.events.begin(), frame.events.end());
    if (recorder != nullptr) {
      recorder->writeFrame(recorded, frame.delta, scale);
    }
    if (last != nullptr) {
      last->add(recorded, frame.delta, scale);
    }
  }
  keepAlive.emplace(*session);
  // The rules get no longer step than in any other play, so the recording's replay runs these very steps. A
  // frame after the host lowered the delay carries two frames' time and may be longer.
  return SourcedFrame{&local, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)), false};
}

bool NetworkPlay::shown() {
  keepAlive.reset();
  local.clear();
  const long frame = shell.game().match().frameNumber;
  if (frame > 0 && frame % net::HASH_INTERVAL == 0) {
    session->check(static_cast<std::uint32_t>(frame), matchHash(shell.game().match()));
  }
  return true;
}

bool NetworkPlay::collect() {
  std::vector<input::Event>& events = shell.liveInput().poll();
  gamepads.poll(events);
  if (shell.windowClosed() || shell.escapeHeld() ||
      std::any_of(events.begin(), events.end(), input::isEscapePress)) {
    return false;
  }
  for (const input::Event& event : events) {
    if (std::optional<input::Event> own = input::ownShipEvent(event, player)) {
      if (shell.computers() == nullptr || !shell.computers()->isPersonal(*own)) {
        shared.push_back(*own);
      }
    } else {
      game::deliver(event, shell.game());
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
  const glm::dvec2 centre = *shell.game().steeringCentre();
  shared.push_back(input::SteerEvent{player, cursor->x - centre.x, cursor->y - centre.y});
  shell.putCursor(centre);
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
