#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <deque>

#include "net/Rollback.h"

namespace voidskirmish::net {
namespace {

struct Machine {
  explicit Machine(Side side) : rollback(side) {}
  Rollback rollback;
  std::deque<std::pair<int, FrameInputs>> arriving;  // with the tick they arrive at
  std::vector<Step> confirmed;
  int captured = 0;
  int waits = 0;
};

// Both machines run 600 steps, a step a tick, each step's inputs taking `latency` ticks to cross. Each side
// steers its own ship by a running number of pixels every third step, and once sends a burst of more than a
// message holds.
std::array<Machine, 2> play(int latency) {
  std::array<Machine, 2> machines{Machine(Side::Host), Machine(Side::Joiner)};
  for (int tick = 0; tick < 3000 && machines[1].confirmed.size() < 600u; ++tick) {
    for (int side = 0; side < 2; ++side) {
      Machine& own = machines[side];
      for (; !own.arriving.empty() && own.arriving.front().first <= tick; own.arriving.pop_front()) {
        own.rollback.receive(own.arriving.front().second);
      }
      while (std::optional<Step> step = own.rollback.takeConfirmed()) {
        own.confirmed.push_back(std::move(*step));
      }
      // The picture is always the confirmed steps and the predicted ones, up to the present.
      const std::vector<Step> predicted = own.rollback.predicted();
      EXPECT_EQ(own.confirmed.size() + predicted.size(), own.rollback.presentStep());
      if (!own.rollback.canAdvance()) {
        ++own.waits;
        continue;
      }
      std::vector<input::Event> events(own.rollback.presentStep() == 10 ? 100 : tick % 3 == 0 ? 1 : 0);
      for (input::Event& event : events) {
        event = input::SteerEvent{side, static_cast<double>(++own.captured), 0.0};
      }
      machines[1 - side].arriving.emplace_back(tick + latency, own.rollback.advance(events));
    }
  }
  return machines;
}

// Two games on 127.0.0.1 run the same steps through a lossy relay in tests/e2e/test_network.py; here slow links
// and bursts of input, step by step.
TEST(RollbackTest, BothMachinesConfirmTheSameStepsWithEveryInputOnceAndWaitOnlyBeyondTheWindow) {
  for (const int latency : {0, 4, static_cast<int>(PREDICTION_WINDOW) + 4}) {
    const auto machines = play(latency);
    const std::vector<Step>& host = machines[0].confirmed;
    const std::vector<Step>& joiner = machines[1].confirmed;
    ASSERT_GE(host.size(), 590u) << latency;
    std::array<int, 2> seen{0, 0};
    for (std::uint32_t i = 0; i < std::min(host.size(), joiner.size()); ++i) {
      EXPECT_TRUE(host[i].number == i && joiner[i].number == i) << i;
      ASSERT_EQ(host[i].events, joiner[i].events) << i;
      EXPECT_LE(host[i].events.size(), 2 * MAX_EVENTS_PER_FRAME);
      for (const input::Event& event : host[i].events) {
        const auto& steer = std::get<input::SteerEvent>(event);
        EXPECT_EQ(steer.dx, ++seen[steer.ship]) << "the host's first, each side's in order";
      }
    }
    // Own events run in the very step they were given to, a burst's rest in the next.
    const auto hostEvents = [&](std::size_t step) {
      return std::count_if(host[step].events.begin(), host[step].events.end(),
                           [](const input::Event& event) { return std::get<input::SteerEvent>(event).ship == 0; });
    };
    EXPECT_TRUE(hostEvents(10) == 64 && hostEvents(11) >= 36) << latency;
    const bool beyondWindow = latency >= PREDICTION_WINDOW;
    EXPECT_EQ(machines[0].waits > 0, beyondWindow) << latency;
    const Rollback::Corrections& corrections = machines[1].rollback.corrections();
    EXPECT_EQ(corrections.count > 0, latency > 0) << latency;
    EXPECT_LE(corrections.deepest, PREDICTION_WINDOW);
  }
}

TEST(RollbackTest, StepsFromThePastAreDroppedAndAPeerThatSkipsRunsAheadOrFliesTheWrongShipEndsTheMatch) {
  Rollback joiner(Side::Joiner);
  const auto receive = [&](std::uint32_t step, input::Event event = input::KeyEvent{GLFW_KEY_W, true}) {
    return joiner.receive(FrameInputs{step, {event}});
  };
  EXPECT_EQ(receive(0), Rollback::Receipt::Accepted);
  EXPECT_EQ(receive(0), Rollback::Receipt::Dropped);
  EXPECT_THROW(receive(2), ProtocolError);
  EXPECT_THROW(receive(4000000000u), ProtocolError);
  // A flood is taken only as far as an honest peer could ever be ahead.
  std::uint32_t step = 1;
  EXPECT_THROW(
      while (step < 100) { receive(step++); }, ProtocolError);
  EXPECT_EQ(step, Rollback::FUTURE_WINDOW + 1);
  const struct { Side from; input::Event event; const char* refusal; } cases[] = {
      {Side::Joiner, input::KeyEvent{GLFW_KEY_W, true}, "'key press 87' is not for ship2"},
      {Side::Joiner, input::SteerEvent{0, 300.0, 0.0}, "'steer ship1 300 0' is not for ship2"},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_F1, true}, "'key press 290' is not for ship2"},
      {Side::Host, input::PadControlEvent{1, input::PadControl::Fire, 1.0f}, "'pad ship2 fire 1' is not for ship1"},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_UP, true}, ""},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_ENTER, true}, ""},
  };
  for (const auto& c : cases) {
    Rollback receiver(c.from == Side::Host ? Side::Joiner : Side::Host);
    std::string refusal;
    try {
      receiver.receive(FrameInputs{0, {c.event}});
    } catch (const ProtocolError& error) {
      refusal = error.what();
    }
    EXPECT_EQ(refusal, c.refusal);
  }
}

}  // namespace
}  // namespace voidskirmish::net
