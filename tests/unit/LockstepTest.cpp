#include <gtest/gtest.h>

#include <array>
#include <deque>

#include "net/Lockstep.h"

namespace voidskirmish::net {

// Found by argument-dependent lookup from std::vector's comparison.
bool operator==(const ReadyFrame& a, const ReadyFrame& b) {
  return a.frame == b.frame && a.delta == b.delta && a.events == b.events;
}

namespace {

struct Machine {
  explicit Machine(Side side) : lockstep(side) {}
  Lockstep lockstep;
  std::deque<std::pair<int, FrameInputs>> arriving;  // with the tick they arrive at
  std::vector<ReadyFrame> frames;
  int captured = 0;
};

// Both machines play `count` frames, messages taking `latency` ticks. Every frame each side captures a key event
// named by a running number (the host's pressed, the joiner's released), once a burst of more than a message
// holds, and the host measures a delta.
std::array<Machine, 2> play(int count, int latency, double roundTrip) {
  std::array<Machine, 2> machines{Machine(Side::Host), Machine(Side::Joiner)};
  for (int tick = 0; tick < 20 * count && machines[1].frames.size() < std::size_t(count); ++tick) {
    for (int side = 0; side < 2; ++side) {
      Machine& own = machines[side];
      while (!own.arriving.empty() && own.arriving.front().first <= tick) {
        own.lockstep.receive(own.arriving.front().second);
        own.arriving.pop_front();
      }
      own.lockstep.observeRoundTrip(roundTrip);
      if (!own.lockstep.frameReady() || own.frames.size() == std::size_t(count)) {
        continue;
      }
      own.frames.push_back(own.lockstep.takeFrame());
      std::vector<input::Event> events(own.frames.size() == 10 ? 100 : 1);
      for (input::Event& event : events) {
        event = input::KeyEvent{++own.captured, side == 0};
      }
      for (FrameInputs& inputs : own.lockstep.submit(events, 0.01f * static_cast<float>(own.frames.size() % 3 + 1))) {
        machines[1 - side].arriving.emplace_back(tick + latency, std::move(inputs));
      }
    }
  }
  return machines;
}

TEST(LockstepTest, BothMachinesRunTheSameFramesWithEveryInputOnceWhateverTheDelay) {
  const struct { int latency; double roundTrip; int finalDelay; } cases[] = {{0, 0.0, MIN_INPUT_DELAY}, {3, 0.1, 4}, {6, 0.5, MAX_INPUT_DELAY}};
  for (const auto& c : cases) {
    const auto machines = play(600, c.latency, c.roundTrip);
    const std::vector<ReadyFrame>& host = machines[0].frames;
    ASSERT_EQ(host.size(), 600u) << c.latency;
    EXPECT_TRUE(host == machines[1].frames) << c.latency;
    EXPECT_EQ(machines[0].lockstep.delay(), c.finalDelay);
    EXPECT_EQ(machines[1].lockstep.delay(), c.finalDelay);
    std::array<int, 2> seen{0, 0};
    for (const ReadyFrame& frame : host) {
      EXPECT_EQ(frame.frame, static_cast<std::uint32_t>(&frame - host.data()));
      std::array<int, 2> inFrame{0, 0};
      for (const input::Event& event : frame.events) {
        const auto& key = std::get<input::KeyEvent>(event);
        EXPECT_FALSE(key.pressed && inFrame[1] > 0) << "the host's events come first";
        EXPECT_EQ(key.key, ++seen[key.pressed ? 0 : 1]);
        EXPECT_LE(++inFrame[key.pressed ? 0 : 1], int(MAX_EVENTS_PER_FRAME));
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
