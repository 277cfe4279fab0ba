#include <gtest/gtest.h>

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

// Both machines play 600 frames, messages taking `latency` ticks. Every frame each side captures a key event
// named by a running number (the host's pressed, the joiner's released), after the tenth a burst of more than
// a message holds, and the host measures a delta.
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
        event = input::KeyEvent{++own.captured, side == 0};
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
        const auto& key = std::get<input::KeyEvent>(event);
        EXPECT_EQ(key.key, ++seen[key.pressed ? 0 : 1]);
      }
    }
    EXPECT_GE(std::min(seen[0], seen[1]), 600 - MAX_INPUT_DELAY + 99);
    // The host's ninth capture, made after running frame 8, runs at frame 8 plus the initial delay.
    EXPECT_EQ(std::get<input::KeyEvent>(host[8 + Lockstep::INITIAL_DELAY].events.front()).key, 9);
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

}  // namespace
}  // namespace voidskirmish::net
