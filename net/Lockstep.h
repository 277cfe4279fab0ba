#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "net/Message.h"

namespace voidskirmish::net {

enum class Side { Host, Joiner };

// The host flies ship1 (player 0), the joiner ship2.
constexpr int shipOf(Side side) { return side == Side::Host ? 0 : 1; }

// A frame both machines run alike: the host's delta and both sides' events, the host's first.
struct ReadyFrame {
  std::uint32_t frame = 0;
  float delta = 0.0f;
  std::vector<input::Event> events;
};

// The schedule of a match played in lockstep, without sockets: what each side sends, what it accepts, and when
// a frame may run. Each side runs frame n only when both sides' inputs for it are in. Events captured while
// frame n runs go out for frame n + delay, so they are usually there in time; the host picks the delay from the
// round trip and announces it in its inputs, and both sides adopt it at the frame that carries it.
//
// A loop iteration: wait until frameReady(), takeFrame(), submit() what was captured, then run the frame.
class Lockstep {
 public:
  static constexpr int INITIAL_DELAY = 3;
  // The first INITIAL_DELAY frames carry no inputs and this delta on both sides.
  static constexpr float START_DELTA = 1.0f / 60.0f;
  // An honest side is never more than two delays ahead; further means a broken or flooding peer.
  static constexpr std::int64_t FUTURE_WINDOW = 4 * MAX_INPUT_DELAY;
  static constexpr std::int64_t DELAY_REVIEW_FRAMES = 60;

  explicit Lockstep(Side side);

  bool frameReady() const { return !own.empty() && !other.empty(); }
  ReadyFrame takeFrame();
  // This side's match events captured in the frame just taken (and the host's measured delta): returns the
  // inputs to send. More than a message holds, or a delay just lowered, keeps events for the next call.
  std::vector<FrameInputs> submit(const std::vector<input::Event>& events, float delta);

  enum class Receipt { Accepted, Dropped };
  // The other side's inputs: the next expected frame is kept, one already had is dropped; a frame that skips
  // ahead or runs too far ahead, or an event that is not of the other side's ship, throws ProtocolError.
  Receipt receive(FrameInputs inputs);

  // The host weighs the delay it announces against the measured round trip; the joiner ignores it.
  void observeRoundTrip(double seconds) { roundTrip = seconds; }

  std::uint32_t nextFrame() const { return static_cast<std::uint32_t>(next); }
  // The other side's first frame not yet received, and this side's first frame not yet submitted.
  std::uint32_t received() const { return static_cast<std::uint32_t>(otherNext); }
  std::uint32_t submitted() const { return static_cast<std::uint32_t>(nextToSend); }
  int delay() const { return agreedDelay; }

 private:
  void reviewDelay();

  Side side;
  std::int64_t next = 0;  // the frame to run next; own and other hold frames from it on
  std::deque<FrameInputs> own;
  std::deque<FrameInputs> other;
  std::int64_t nextToSend = INITIAL_DELAY;
  std::int64_t otherNext = INITIAL_DELAY;
  int agreedDelay = INITIAL_DELAY;    // announced with the frame last taken
  int announcedDelay = INITIAL_DELAY;  // what the host's outgoing inputs carry
  std::vector<input::Event> pending;
  float pendingDelta = 0.0f;
  double roundTrip = 0.0;
  double typicalDelta = START_DELTA;
};

}  // namespace voidskirmish::net
