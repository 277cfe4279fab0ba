#include "net/NetworkMatch.h"

#include <string>

namespace voidskirmish::net {

void NetworkMatch::service(std::chrono::milliseconds wait) {
  session.service(wait);
  for (Inputs& inputs : session.takeInputs()) {
    try {
      receive(std::move(inputs));
    } catch (const ProtocolError& error) {
      session.end(badMessage(error.what()));
    }
  }
  if (std::chrono::steady_clock::now() - lastSent >= RESEND_INTERVAL) {
    send();  // what was lost, and this side's acknowledgement, which the other side may be waiting for
  }
}

void NetworkMatch::advance(const std::vector<input::Event>& events) {
  unacknowledged.push_back(rollback.advance(events));
}

void NetworkMatch::receive(Inputs inputs) {
  if (inputs.received > rollback.presentStep()) {
    throw ProtocolError("frame " + std::to_string(inputs.received) + " acknowledged before it was sent");
  }
  while (!unacknowledged.empty() && unacknowledged.front().frame < inputs.received) {
    unacknowledged.pop_front();
  }
  for (FrameInputs& frame : inputs.frames) {
    rollback.receive(frame);
  }
  // Datagrams may come out of order: only a newer one tells where the other side is now.
  if (!inputs.frames.empty() && inputs.frames.back().frame + 1 > newestOther) {
    newestOther = inputs.frames.back().frame + 1;
    otherLead = static_cast<std::int64_t>(newestOther) - inputs.received;
  }
}

// From the oldest unacknowledged step, as many as a message holds.
void NetworkMatch::send() {
  Inputs inputs{rollback.received(), {}};
  std::size_t size = encode(inputs).size();
  for (const FrameInputs& frame : unacknowledged) {
    inputs.frames.push_back(frame);
    size += encode(Inputs{0, {frame}}).size() - encode(Inputs{}).size();
    if (inputs.frames.size() > MAX_STEPS_PER_INPUTS || size > MAX_MESSAGE_SIZE) {
      inputs.frames.pop_back();
      break;
    }
  }
  session.send(inputs);
  lastSent = std::chrono::steady_clock::now();
}

}  // namespace voidskirmish::net
