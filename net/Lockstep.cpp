#include "net/Lockstep.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "input/Sharing.h"

namespace voidskirmish::net {

Lockstep::Lockstep(Side side) : side(side) {
  for (std::uint32_t frame = 0; frame < INITIAL_DELAY; ++frame) {
    own.push_back(FrameInputs{frame, START_DELTA, INITIAL_DELAY, {}});
    other.push_back(FrameInputs{frame, START_DELTA, INITIAL_DELAY, {}});
  }
}

ReadyFrame Lockstep::takeFrame() {
  FrameInputs& host = side == Side::Host ? own.front() : other.front();
  const FrameInputs& joiner = side == Side::Host ? other.front() : own.front();
  ReadyFrame frame{static_cast<std::uint32_t>(next), host.delta, std::move(host.events)};
  frame.events.insert(frame.events.end(), joiner.events.begin(), joiner.events.end());
  agreedDelay = host.delay;
  own.pop_front();
  other.pop_front();
  ++next;
  if (side == Side::Host && next % DELAY_REVIEW_FRAMES == 0) {
    reviewDelay();
  }
  return frame;
}

std::vector<FrameInputs> Lockstep::submit(const std::vector<input::Event>& events, float delta) {
  pending.insert(pending.end(), events.begin(), events.end());
  pendingDelta += delta;
  typicalDelta = 0.9 * typicalDelta + 0.1 * delta;
  // The frame just taken is next - 1; its inputs go out for that frame plus the agreed delay. A raised delay
  // leaves frames between to fill, which share the time measured since the last inputs went out.
  const std::int64_t count = next - 1 + agreedDelay - nextToSend + 1;
  std::vector<FrameInputs> outgoing;
  for (std::int64_t i = 0; i < count; ++i) {
    FrameInputs inputs{static_cast<std::uint32_t>(nextToSend),
                       std::min(pendingDelta / static_cast<float>(count), input::MAX_FRAME_DELTA),
                       static_cast<std::uint8_t>(announcedDelay),
                       {}};
    const auto taken = pending.begin() + static_cast<std::ptrdiff_t>(std::min(pending.size(), MAX_EVENTS_PER_FRAME));
    inputs.events.assign(pending.begin(), taken);
    pending.erase(pending.begin(), taken);
    own.push_back(inputs);
    outgoing.push_back(std::move(inputs));
    ++nextToSend;
  }
  if (count > 0) {
    pendingDelta = 0.0f;
  }
  return outgoing;
}

Lockstep::Receipt Lockstep::receive(FrameInputs inputs) {
  const std::int64_t frame = inputs.frame;
  if (frame < otherNext) {
    return Receipt::Dropped;
  }
  if (frame >= next + FUTURE_WINDOW || otherNext >= next + FUTURE_WINDOW) {
    throw ProtocolError("frame " + std::to_string(frame) + " is too far ahead of frame " + std::to_string(next));
  }
  if (frame > otherNext) {
    throw ProtocolError("frame " + std::to_string(frame) + " came before frame " + std::to_string(otherNext));
  }
  // Whatever the other game sends can only ever fly the other player's ship.
  const int otherShip = shipOf(side == Side::Host ? Side::Joiner : Side::Host);
  for (const input::Event& event : inputs.events) {
    if (!input::isOwnShipEvent(event, otherShip)) {
      throw ProtocolError("'" + input::formatEvent(event) + "' is not for ship" + std::to_string(otherShip + 1));
    }
  }
  other.push_back(std::move(inputs));
  ++otherNext;
  return Receipt::Accepted;
}

// Inputs sent now are due `delay` frames later; they must cross to the other side in that time, with a frame to
// spare. One step at a time, so a single slow round trip does not swing the delay.
void Lockstep::reviewDelay() {
  const double frameTime = std::max(typicalDelta, 1.0e-3);
  const double framesAcross = std::ceil(roundTrip / 2.0 / frameTime);
  const int wanted = static_cast<int>(std::clamp(framesAcross + 1.0, double(MIN_INPUT_DELAY), double(MAX_INPUT_DELAY)));
  announcedDelay += (wanted > announcedDelay) - (wanted < announcedDelay);
}

}  // namespace voidskirmish::net
