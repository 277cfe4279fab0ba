#include "app/SpectatorFrames.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>

#include "app/MatchCheck.h"
#include "app/RunningGameState.h"
#include "app/Shell.h"
#include "game/Delivery.h"
#include "input/Keys.h"
#include "net/MatchHash.h"
#include "replay/FrameRules.h"

namespace voidskirmish::app {
namespace {

constexpr std::chrono::milliseconds NETWORK_WAIT{10};

}  // namespace

bool SpectatorFrames::connect() {
  net::SessionSettings settings;
  settings.port = options.port;
  settings.hello = net::Hello{net::PROTOCOL_VERSION, gameVersion(), runTimeFilesHash(), true};
  session = net::Session::join(*options.spectateAddress, settings);
  while (!session->ending() && session->state() == net::Session::State::Waiting) {
    if (!hear(shell.liveInput().poll())) {
      session->leave();
      return false;
    }
    shell.showEmptyFrame();
    session->service(NETWORK_WAIT);
  }
  if (session->ending() && session->ending()->kind != net::Ending::Kind::MatchOver) {
    exitCode = end();
    return false;
  }
  std::cout << net::lines::watching(session->peerAddress(), session->port()) << std::endl;
  due = glfwGetTime();
  return true;
}

std::optional<SourcedFrame> SpectatorFrames::next() {
  for (;;) {
    if (!hear(shell.liveInput().poll())) {
      session->leave();
      return std::nullopt;
    }
    session->service(started ? std::chrono::milliseconds(0) : NETWORK_WAIT);
    receive();
    const bool ended = session->ending().has_value();
    started = started || waitingSeconds >= LEAD_SECONDS || ended;
    if (started && !waiting.empty()) {
      break;
    }
    if (ended) {
      exitCode = end();
      return std::nullopt;
    }
    if (started) {
      session->service(NETWORK_WAIT);  // the host is behind: the picture stands until its next frame
    }
  }
  catchUp();
  const net::PlayedFrame frame = std::move(waiting.front());
  waiting.pop_front();
  waitingSeconds -= frame.delta;
  for (const input::Event& event : frame.events) {
    game::deliver(event, shell.game());
  }
  shownEvents = frame.events;
  if (std::exchange(liveShot, false)) {
    shownEvents.push_back(input::KeyEvent{input::keys::F12, true});
  }
  shownDelta = frame.delta;
  shell.adjustRenderScale();  // this window's own, recorded nowhere
  keepAlive.emplace(*session);
  // As the players' machines step the rules.
  return SourcedFrame{&shownEvents, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)), false};
}

bool SpectatorFrames::shown() {
  due = std::max(due + shownDelta, glfwGetTime());
  bool watching = true;
  for (double now = glfwGetTime(); now < due && watching; now = glfwGetTime()) {
    watching = hear(shell.liveInput().wait(due - now));
  }
  keepAlive.reset();
  if (!watching) {
    session->leave();
  }
  return watching;
}

bool SpectatorFrames::hear(const std::vector<input::Event>& live) {
  if (shell.windowClosed() || shell.escapeHeld()) {
    return false;
  }
  for (const input::Event& event : live) {
    const auto* key = std::get_if<input::KeyEvent>(&event);
    if (std::holds_alternative<input::SizeEvent>(event)) {
      game::deliver(event, shell.game());
    } else if (key == nullptr || !key->pressed) {
      continue;
    } else if (key->key == input::keys::ESCAPE) {
      return false;
    } else if (input::keys::isWatcherToggle(key->key)) {
      shell.game().keyPressed(key->key);
    } else if (key->key == input::keys::F12) {
      liveShot = true;
    }
  }
  return true;
}

void SpectatorFrames::receive() {
  for (net::PlayedFrame& frame : session->takeFrames()) {
    waitingSeconds += frame.delta;
    waiting.push_back(std::move(frame));
  }
}

// The frames run unseen go by the rules the players' machines ran them with, as a seek in a network recording's
// replay does; the lines they print are the match's.
void SpectatorFrames::catchUp() {
  if (waitingSeconds <= CATCH_UP_SECONDS) {
    return;
  }
  replay::FrameRules rules(shell.game().play(), 0, std::cout);
  while (waitingSeconds > LEAD_SECONDS && waiting.size() > 1) {
    net::PlayedFrame& frame = waiting.front();
    waitingSeconds -= frame.delta;
    rules.advance(input::RecordedFrame{std::move(frame.events), frame.delta, std::nullopt});
    waiting.pop_front();
    const long played = shell.game().match().frameNumber;
    if (options.netCheck && played % net::HASH_INTERVAL == 0) {
      std::cout << net::matchHashLine(static_cast<std::uint32_t>(played), matchHash(shell.game().match()))
                << std::endl;
    }
  }
}

int SpectatorFrames::end() {
  const net::Ending ending = *session->ending();
  (ending.aboutThisMachine() ? std::cerr : std::cout) << ending.line << std::endl;
  session->leave();
  return ending.exitCode();
}

}  // namespace voidskirmish::app
