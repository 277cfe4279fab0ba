#include "net/NetworkMatch.h"

#include <string>

namespace voidskirmish::net {

bool NetworkMatch::frameReady(std::chrono::milliseconds wait) {
  // Serviced even when the frame is ready: acknowledgements and pings keep the connection alive.
  session.service(lockstep.frameReady() ? std::chrono::milliseconds(0) : wait);
  for (Inputs& inputs : session.takeInputs()) {
    try {
      receive(std::move(inputs));
    } catch (const ProtocolError& error) {
      session.end(badMessage(error.what()));
    }
  }
  lockstep.observeRoundTrip(session.roundTripSeconds());
  if (std::chrono::steady_clock::now() - lastSent >= RESEND_INTERVAL) {
    send();  // what was lost, and this side's acknowledgement, which the other side may be waiting for
  }
  return session.state() == Session::State::Playing && lockstep.frameReady();
}

void NetworkMatch::submit(const std::vector<input::Event>& events, float delta) {
  for (FrameInputs& inputs : lockstep.submit(events, delta)) {
    unacknowledged.push_back(std::move(inputs));
  }
  send();
}

void NetworkMatch::receive(Inputs inputs) {
  if (inputs.received > lockstep.submitted()) {
    throw ProtocolError("frame " + std::to_string(inputs.received) + " acknowledged before it was sent");
  }
  while (!unacknowledged.empty() && unacknowledged.front().frame < inputs.received) {
    unacknowledged.pop_front();
  }
  for (FrameInputs& frame : inputs.frames) {
    lockstep.receive(std::move(frame));
  }
}

// From the oldest unacknowledged frame, as many as a message holds.
void NetworkMatch::send() {
  Inputs inputs{lockstep.received(), {}};
  std::size_t size = encode(inputs).size();
  for (const FrameInputs& frame : unacknowledged) {
    inputs.frames.push_back(frame);
    size += encode(Inputs{0, {frame}}).size() - encode(Inputs{}).size();
    if (inputs.frames.size() > MAX_FRAMES_PER_MESSAGE || size > MAX_MESSAGE_SIZE) {
      inputs.frames.pop_back();
      break;
    }
  }
  session.send(inputs);
  lastSent = std::chrono::steady_clock::now();
}

}  // namespace voidskirmish::net
