#include "app/SpectatorFrames.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>

#include "app/MatchCheck.h"
#include "app/RunningGameState.h"
#include "app/Shell.h"
#include "game/Delivery.h"
#include "input/Keys.h"

namespace voidskirmish::app {
namespace {

constexpr std::chrono::milliseconds NETWORK_WAIT{10};
// Steps run unseen before a picture is drawn again, so that a late joiner's window still hears its keys.
constexpr int CATCH_UP_STEPS = 600;

}  // namespace

// The rules of a network match as the host's machine runs them, which print the host's culling line.
SpectatorFrames::SpectatorFrames(Shell& shell, const Options& options)
    : shell(shell), options(options), rules(shell.game().play(), 0, std::cout) {}

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
    if (!started && (waitingSeconds >= LEAD_SECONDS || ended)) {
      started = true;
      due = glfwGetTime();
    }
    if (started && !waiting.empty()) {
      break;
    }
    if (ended) {
      exitCode = end();
      return std::nullopt;
    }
    if (started) {
      session->service(NETWORK_WAIT);  // the host is behind: the picture stands until its next step
      due = std::max(due, glfwGetTime());
    }
  }
  // The host hears from this side while steps run unseen, however many: a late joiner's may take seconds.
  keepAlive.emplace(*session);
  if (waitingSeconds > CATCH_UP_SECONDS) {
    for (int run = 0; run < CATCH_UP_STEPS && waitingSeconds > LEAD_SECONDS && waiting.size() > 1; ++run) {
      runUnseen(false);
    }
    due = glfwGetTime();
  }
  while (waiting.size() > 1 && due + waiting.front().delta <= glfwGetTime()) {
    due += waiting.front().delta;
    runUnseen(true);
  }
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
  // As the players' machines step the rules.
  return SourcedFrame{&shownEvents, std::min(frame.delta, static_cast<float>(Shell::LONGEST_RULES_DELTA)), false,
                      false, std::nullopt};
}

bool SpectatorFrames::shown() {
  due += shownDelta;
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

void SpectatorFrames::runUnseen(bool heard) {
  net::PlayedFrame frame = std::move(waiting.front());
  waiting.pop_front();
  waitingSeconds -= frame.delta;
  rules.advance(input::RecordedFrame{std::move(frame.events), frame.delta, std::nullopt});
  if (heard) {
    shell.hear(shell.game().play());
  }
  shell.printCheck(shell.game().match());
}

int SpectatorFrames::end() {
  const net::Ending ending = *session->ending();
  (ending.aboutThisMachine() ? std::cerr : std::cout) << ending.line << std::endl;
  session->leave();
  return ending.exitCode();
}

}  // namespace voidskirmish::app
