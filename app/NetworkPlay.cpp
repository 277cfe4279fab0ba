#include "app/NetworkPlay.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "app/Hush.h"
#include "app/Shell.h"
#include "app/RunningGameState.h"
#include "input/Sharing.h"
#include "net/MatchHash.h"
#include "app/MatchCheck.h"

namespace voidskirmish::app {

using net::Rollback;

namespace {

// How long one wait for the network may keep the window unpolled.
constexpr std::chrono::milliseconds NETWORK_WAIT{10};
// The share of each frame's advantage that enters its running average, and the average beyond which this
// machine lets a step go to let the other catch up.
constexpr double ADVANTAGE_WEIGHT = 0.2;
constexpr double SLOW_ABOVE_STEPS = 1.0;

// A test makes the two games part by flying this machine's ship forward here alone, from that step on; the
// recording keeps the press, so its replay prints what this machine saw.
std::optional<std::uint32_t> forcedDesyncStep() {
  const char* step = std::getenv("VOIDSKIRMISH_DESYNC_FRAME");
  return step != nullptr ? std::optional<std::uint32_t>(std::strtoul(step, nullptr, 10)) : std::nullopt;
}

bool isScreenshotPress(const input::Event& event) {
  const auto* key = std::get_if<input::KeyEvent>(&event);
  return key != nullptr && key->pressed && key->key == GLFW_KEY_F12;
}

}  // namespace

// The match that counts is the shell's as set up, loaded before connecting: its seconds stay out of the other
// machine's patience.
NetworkPlay::NetworkPlay(Shell& shell, const Options& options, const game::PlayStart& start,
                         input::RecordingWriter* recorder, replay::LastSeconds* last)
    : shell(shell),
      options(options),
      recorder(recorder),
      last(last),
      player(playerOf(options)),
      gamepads(shell.padButtons()),
      counted(std::make_unique<game::Play>(game::Match::Programs{}, std::cout, start)),
      countedRules(std::make_unique<replay::FrameRules>(*counted, player, std::cout)),
      desyncStep(forcedDesyncStep()),
      figures(NetworkFigures::fromEnvironment()) {
  shell.game().play().save(present);
  counted->restore(present);
}

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
  clock.emplace(Rollback::STEP, glfwGetTime());
  shell.game().runRulesApart();
  return true;
}

std::optional<SourcedFrame> NetworkPlay::next() {
  drawn.clear();
  shotNumber.reset();
  if (!awaitStep()) {
    return std::nullopt;
  }
  const int due = clock->due(glfwGetTime());
  int steps = due;
  printNotices();
  steerWithCursor();
  // The computer sees what its player would: the present as last shown. Its chance is the counted match's.
  if (bot::Computers* computers = shell.computers()) {
    computers->decide(shell.game().match(), static_cast<float>(steps) * Rollback::STEP, shared);
    counted->match.computerRandom = shell.game().match().computerRandom;
  }
  advantage += ADVANTAGE_WEIGHT * (match->advantage() - advantage);
  if (advantage > SLOW_ABOVE_STEPS && steps > 0) {
    --steps;
    advantage = 0.0;
  }
  const bool letGo = steps < due;
  bool waiting = false;
  int ran = 0;
  for (; ran < steps; ++ran) {
    if (!match->canAdvance()) {
      waiting = true;
      break;
    }
    match->advance(shared);
    shared.clear();
  }
  match->send();
  if (const std::optional<input::ScaleLine> moved = shell.adjustRenderScale()) {  // this machine's own
    scale = moved;
    counted->settings.renderScale = moved->scale;
  }
  runConfirmed();
  const auto rerunStart = NetworkFigures::Clock::now();
  const std::size_t rerun = showPresent(waiting);
  if (figures) {
    figures->frame(ran, letGo, waiting, rerun, NetworkFigures::Clock::now() - rerunStart);
  }
  keepAlive.emplace(*session);
  return SourcedFrame{&drawn, Rollback::STEP, false, true, shotNumber};
}

bool NetworkPlay::shown() {
  keepAlive.reset();
  if (figures) {
    figures->shown();
  }
  if (pictured) {
    endStep(*pictured);
    pictured.reset();
  }
  return true;
}

bool NetworkPlay::awaitStep() {
  for (;;) {
    if (!collect()) {
      exitCode = quit();
      return false;
    }
    const double wait = clock->untilNext(glfwGetTime());
    const auto millis = std::chrono::milliseconds(static_cast<int>(std::ceil(std::max(wait, 0.0) * 1000.0)));
    match->service(std::min(millis, NETWORK_WAIT));
    if (session->ending()) {
      exitCode = end();
      return false;
    }
    if (wait <= 0.0) {
      return true;
    }
  }
}

// Runs what is confirmed, in order. A step that took a screenshot key is pictured as its replay pictures it:
// the frame shows that step, drawn after its update, and the step ends once the frame is shown.
void NetworkPlay::runConfirmed() {
  while (std::optional<net::Step> step = match->takeConfirmed()) {
    startStep(*step);
    if (std::any_of(local.begin(), local.end(), isScreenshotPress)) {
      shotNumber = counted->match.frameNumber;
      drawn.insert(drawn.end(), local.begin(), local.end());
      pictured = std::move(step);
      return;
    }
    endStep(*step);
  }
}

// The step's events go in after this machine's own since the last step, as the recording holds them.
void NetworkPlay::startStep(const net::Step& step) {
  // What both machines run, for those who watch; sent as the session is serviced, so added only here, where no
  // BackgroundService runs.
  if (options.host) {
    session->spectators().add(step.number, Rollback::STEP, step.events);
  }
  if (last != nullptr) {
    last->offer(*counted);  // nothing of the step is delivered yet
  }
  if (step.number == desyncStep) {
    local.push_back(*input::ownShipEvent(input::KeyEvent{GLFW_KEY_W, true}, player));
    countedRules->deliver(local.back());
  }
  for (const input::Event& event : step.events) {
    countedRules->deliver(event);
  }
  countedRules->update(Rollback::STEP, scale);
}

void NetworkPlay::endStep(const net::Step& step) {
  countedRules->finish();
  shell.hear(*counted);
  shell.printCheck(counted->match);
  const long number = counted->match.frameNumber;
  if (number > 0 && number % net::HASH_INTERVAL == 0) {
    session->check(static_cast<std::uint32_t>(number), matchHash(counted->match));
  }
  if (recorder != nullptr || last != nullptr) {
    std::vector<input::Event> recorded = local;
    recorded.insert(recorded.end(), step.events.begin(), step.events.end());
    if (recorder != nullptr) {
      recorder->writeFrame(recorded, Rollback::STEP, scale);
    }
    if (last != nullptr) {
      last->add(recorded, Rollback::STEP, scale);
    }
  }
  local.clear();
  scale.reset();
}

// The counted match copied into the shell's game and run on to the present unheard; drawn next. Returns the
// steps run again.
std::size_t NetworkPlay::showPresent(bool waiting) {
  game::Play& shownPlay = shell.game().play();
  counted->save(present);
  shownPlay.restore(present);
  // A pictured step is drawn as its replay draws it: nothing waits in it.
  shell.game().showWaiting(waiting && !pictured);
  if (pictured) {
    return 0;
  }
  replay::FrameRules rules(shownPlay, player, std::cout);
  const Hush hush;
  const std::vector<net::Step> steps = match->predicted();
  for (const net::Step& step : steps) {
    for (const input::Event& event : step.events) {
      rules.deliver(event);
    }
    rules.run(Rollback::STEP, std::nullopt);
  }
  return steps.size();
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
      continue;
    }
    countedRules->deliver(event);
    local.push_back(event);
    if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
      shell.game().resize(size->width, size->height);  // the window's frame buffers
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

void NetworkPlay::writeFigures() const {
  if (figures && match) {
    figures->write(static_cast<std::uint32_t>(counted->match.frameNumber), match->corrections());
  }
}

// The other machine hears of it and prints that this player left.
int NetworkPlay::quit() {
  writeFigures();
  session->leave();
  return 0;
}

int NetworkPlay::end() {
  writeFigures();
  printNotices();
  const net::Ending ending = *session->ending();
  (ending.aboutThisMachine() ? std::cerr : std::cout) << ending.line << std::endl;
  session->leave();
  return ending.exitCode();
}

}  // namespace voidskirmish::app
