#include "net/Rollback.h"

#include <algorithm>
#include <string>

#include "input/Sharing.h"

namespace voidskirmish::net {

FrameInputs Rollback::advance(const std::vector<input::Event>& events) {
  pending.insert(pending.end(), events.begin(), events.end());
  const auto taken = pending.begin() + static_cast<std::ptrdiff_t>(std::min(pending.size(), MAX_EVENTS_PER_FRAME));
  FrameInputs inputs{static_cast<std::uint32_t>(present), {pending.begin(), taken}};
  pending.erase(pending.begin(), taken);
  own.push_back(inputs.events);
  ++present;
  return inputs;
}

Rollback::Receipt Rollback::receive(FrameInputs inputs) {
  const std::int64_t step = inputs.frame;
  if (step < otherNext) {
    return Receipt::Dropped;
  }
  if (step >= present + FUTURE_WINDOW) {
    throw ProtocolError("frame " + std::to_string(step) + " is too far ahead of frame " + std::to_string(present));
  }
  if (step > otherNext) {
    throw ProtocolError("frame " + std::to_string(step) + " came before frame " + std::to_string(otherNext));
  }
  // Whatever the other game sends can only ever fly the other player's ship.
  const int otherShip = shipOf(side == Side::Host ? Side::Joiner : Side::Host);
  for (const input::Event& event : inputs.events) {
    if (!input::isOwnShipEvent(event, otherShip)) {
      throw ProtocolError("'" + input::formatEvent(event) + "' is not for ship" + std::to_string(otherShip + 1));
    }
  }
  // Nothing new was predicted; steps already run with that prediction are now wrong.
  if (!inputs.events.empty() && step < present) {
    ++corrections_.count;
    corrections_.steps += static_cast<std::uint64_t>(present - step);
    corrections_.deepest = std::max(corrections_.deepest, present - step);
  }
  other.push_back(std::move(inputs.events));
  ++otherNext;
  return Receipt::Accepted;
}

std::optional<Step> Rollback::takeConfirmed() {
  if (confirmed >= std::min(present, otherNext)) {
    return std::nullopt;
  }
  std::vector<input::Event>& host = side == Side::Host ? own.front() : other.front();
  const std::vector<input::Event>& joiner = side == Side::Host ? other.front() : own.front();
  Step step{static_cast<std::uint32_t>(confirmed), std::move(host)};
  step.events.insert(step.events.end(), joiner.begin(), joiner.end());
  own.pop_front();
  other.pop_front();
  ++confirmed;
  return step;
}

std::vector<Step> Rollback::predicted() const {
  static const std::vector<input::Event> nothing;
  std::vector<Step> steps;
  for (std::int64_t number = confirmed; number < present; ++number) {
    const auto at = static_cast<std::size_t>(number - confirmed);
    const std::vector<input::Event>& theirs = number < otherNext ? other[at] : nothing;
    const std::vector<input::Event>& host = side == Side::Host ? own[at] : theirs;
    const std::vector<input::Event>& joiner = side == Side::Host ? theirs : own[at];
    Step step{static_cast<std::uint32_t>(number), host};
    step.events.insert(step.events.end(), joiner.begin(), joiner.end());
    steps.push_back(std::move(step));
  }
  return steps;
}

}  // namespace voidskirmish::net
