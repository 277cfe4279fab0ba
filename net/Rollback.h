#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "net/Message.h"
#include "net/Side.h"

namespace voidskirmish::net {

// One step of a network match: its number and both sides' events, the host's first.
struct Step {
  std::uint32_t number = 0;
  std::vector<input::Event> events;
};

// The schedule of a network match in fixed steps, without sockets. This side's events go into the step it runs
// next, at once; the other side's are predicted to bring nothing new (held keys stay held, a pad's axes stay
// where they were) until they arrive. A step whose inputs both sides have is confirmed: it runs once, on the
// match that counts and prints. The steps beyond, up to the present, are run again on a copy for the picture.
class Rollback {
 public:
  static constexpr float STEP = 1.0f / 60.0f;
  // An honest side is at most the prediction window ahead of what it has of this side; further means a broken
  // or flooding peer.
  static constexpr std::int64_t FUTURE_WINDOW = 2 * PREDICTION_WINDOW;

  explicit Rollback(Side side) : side(side) {}

  // False while this side is the window's length ahead of the other's inputs: the match waits for them.
  bool canAdvance() const { return present - otherNext < PREDICTION_WINDOW; }
  // This side's events for the step it runs next: returns them as they go to the other side. More than a
  // message holds for one step keeps the rest for the next.
  FrameInputs advance(const std::vector<input::Event>& events);

  enum class Receipt { Accepted, Dropped };
  // The other side's inputs: the next expected step is kept, one already had is dropped; a step that skips ahead
  // or runs too far ahead, or an event that is not of the other side's ship, throws ProtocolError.
  Receipt receive(FrameInputs inputs);

  // The next confirmed step not yet taken, in order; nothing until both sides' inputs for it are in.
  std::optional<Step> takeConfirmed();
  // The steps after the confirmed ones up to the present, the other side's part predicted.
  std::vector<Step> predicted() const;

  std::uint32_t presentStep() const { return static_cast<std::uint32_t>(present); }
  // How many steps this side has run beyond the other side's that it has.
  std::int64_t lead() const { return present - otherNext; }
  // The other side's first step not yet received: this side's acknowledgement.
  std::uint32_t received() const { return static_cast<std::uint32_t>(otherNext); }

  // Steps already shown with a prediction that the other side's real inputs then changed.
  struct Corrections {
    std::uint64_t count = 0;
    std::uint64_t steps = 0;  // summed depth: how many shown steps each made wrong
    std::int64_t deepest = 0;
  };
  const Corrections& corrections() const { return corrections_; }

 private:
  Side side;
  std::int64_t confirmed = 0;  // the next step to confirm; own and other hold steps from it on
  std::int64_t present = 0;    // the next step this side runs
  std::int64_t otherNext = 0;
  std::deque<std::vector<input::Event>> own;
  std::deque<std::vector<input::Event>> other;
  std::vector<input::Event> pending;
  Corrections corrections_;
};

}  // namespace voidskirmish::net
