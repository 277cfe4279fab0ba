#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <array>
#include <deque>

#include "net/Lockstep.h"

namespace voidskirmish::net {
namespace {

struct Machine {
  explicit Machine(Side side) : lockstep(side) {}
  Lockstep lockstep;
  std::deque<std::pair<int, FrameInputs>> arriving;  // with the tick they arrive at
  std::vector<ReadyFrame> frames;
  int captured = 0;
};

// Both machines play 600 frames, messages taking `latency` ticks. Every frame each side captures a steer of its
// own ship by a running number of pixels, after the tenth a burst of more than a message holds, and the host
// measures a delta.
std::array<Machine, 2> play(int latency, double roundTrip) {
  std::array<Machine, 2> machines{Machine(Side::Host), Machine(Side::Joiner)};
  for (int tick = 0; tick < 12000 && machines[1].frames.size() < 600u; ++tick) {
    for (int side = 0; side < 2; ++side) {
      Machine& own = machines[side];
      for (; !own.arriving.empty() && own.arriving.front().first <= tick; own.arriving.pop_front()) {
        own.lockstep.receive(own.arriving.front().second);
      }
      own.lockstep.observeRoundTrip(roundTrip);
      if (!own.lockstep.frameReady() || own.frames.size() == 600u) {
        continue;
      }
      own.frames.push_back(own.lockstep.takeFrame());
      std::vector<input::Event> events(own.frames.size() == 10 ? 100 : 1);
      for (input::Event& event : events) {
        event = input::SteerEvent{side, static_cast<double>(++own.captured), 0.0};
      }
      const float delta = 0.01f * static_cast<float>(own.frames.size() % 3 + 1);
      for (FrameInputs& inputs : own.lockstep.submit(events, delta)) {
        machines[1 - side].arriving.emplace_back(tick + latency, std::move(inputs));
      }
    }
  }
  return machines;
}

// Two games on 127.0.0.1 run the same frames in tests/e2e/test_network.py; here slow links, the delay the host
// picks for them and bursts of input.
TEST(LockstepTest, BothMachinesRunTheSameFramesWithEveryInputOnceWhateverTheDelay) {
  const struct { int latency; double roundTrip; int finalDelay; } cases[] = {
      {0, 0.0, MIN_INPUT_DELAY}, {3, 0.1, 4}, {6, 0.5, MAX_INPUT_DELAY}};
  for (const auto& c : cases) {
    const auto machines = play(c.latency, c.roundTrip);
    const std::vector<ReadyFrame>& host = machines[0].frames;
    const std::vector<ReadyFrame>& joiner = machines[1].frames;
    ASSERT_EQ(host.size(), 600u) << c.latency;
    EXPECT_TRUE(machines[0].lockstep.delay() == c.finalDelay && machines[1].lockstep.delay() == c.finalDelay);
    std::array<int, 2> seen{0, 0};
    for (std::uint32_t i = 0; i < host.size(); ++i) {
      EXPECT_TRUE(host[i].frame == i && joiner[i].frame == i && host[i].delta == joiner[i].delta) << i;
      EXPECT_EQ(host[i].events, joiner[i].events) << i;
      EXPECT_LE(host[i].events.size(), 2 * MAX_EVENTS_PER_FRAME) << "both bursts of 100 in one frame";
      for (const input::Event& event : host[i].events) {
        const auto& steer = std::get<input::SteerEvent>(event);
        EXPECT_EQ(steer.dx, ++seen[steer.ship]);
      }
    }
    EXPECT_GE(std::min(seen[0], seen[1]), 600 - MAX_INPUT_DELAY + 99);
    // The host's ninth capture, made after running frame 8, runs at frame 8 plus the initial delay.
    EXPECT_EQ(std::get<input::SteerEvent>(host[8 + Lockstep::INITIAL_DELAY].events.front()).dx, 9);
  }
}

TEST(LockstepTest, FramesFromThePastAreDroppedAndAPeerThatSkipsOrRunsAheadEndsTheMatch) {
  Lockstep joiner(Side::Joiner);
  const auto receive = [&](std::uint32_t frame) { return joiner.receive(FrameInputs{frame, 0.1f, 3, {}}); };
  EXPECT_EQ(receive(2), Lockstep::Receipt::Dropped);
  EXPECT_EQ(receive(3), Lockstep::Receipt::Accepted);
  EXPECT_EQ(receive(3), Lockstep::Receipt::Dropped);
  EXPECT_THROW(receive(5), ProtocolError);
  EXPECT_THROW(receive(4000000000u), ProtocolError);
  // A flood is taken only as far as an honest peer could ever be ahead.
  std::uint32_t frame = 4;
  EXPECT_THROW(
      while (frame < 100) { receive(frame++); }, ProtocolError);
  EXPECT_EQ(frame, Lockstep::FUTURE_WINDOW + 1);
}

// A game changed to fly the other side's ship too: each side takes only what its player's own ship does.
TEST(LockstepTest, EventsForTheReceivingSidesShipEndTheMatch) {
  const struct { Side from; input::Event event; const char* refusal; } cases[] = {
      {Side::Joiner, input::KeyEvent{GLFW_KEY_W, true}, "'key press 87' is not for ship2"},
      {Side::Joiner, input::SteerEvent{0, 300.0, 0.0}, "'steer ship1 300 0' is not for ship2"},
      {Side::Joiner, input::PadLinkEvent{0, true, input::PadName("Evil Pad")},
       "'pad ship1 connect Evil Pad' is not for ship2"},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_F1, true}, "'key press 290' is not for ship2"},
      {Side::Host, input::PadControlEvent{1, input::PadControl::Fire, 1.0f}, "'pad ship2 fire 1' is not for ship1"},
      {Side::Host, input::KeyEvent{GLFW_KEY_KP_0, true}, "'key press 320' is not for ship1"},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_UP, true}, ""},
      {Side::Joiner, input::KeyEvent{GLFW_KEY_ENTER, true}, ""},
      {Side::Host, input::SteerEvent{0, 300.0, 0.0}, ""},
  };
  for (const auto& c : cases) {
    Lockstep receiver(c.from == Side::Host ? Side::Joiner : Side::Host);
    std::string refusal;
    try {
      receiver.receive(FrameInputs{Lockstep::INITIAL_DELAY, 0.1f, 3, {c.event}});
    } catch (const ProtocolError& error) {
      refusal = error.what();
    }
    EXPECT_EQ(refusal, c.refusal);
  }
}

}  // namespace
}  // namespace voidskirmish::net
