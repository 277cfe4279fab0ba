#include "net/NetworkMatch.h"

namespace voidskirmish::net {

bool NetworkMatch::frameReady(std::chrono::milliseconds wait) {
  // Serviced even when the frame is ready: acknowledgements and pings keep the connection alive.
  session.service(lockstep.frameReady() ? std::chrono::milliseconds(0) : wait);
  for (FrameInputs& inputs : session.takeInputs()) {
    try {
      lockstep.receive(std::move(inputs));
    } catch (const ProtocolError& error) {
      session.end(badMessage(error.what()));
    }
  }
  lockstep.observeRoundTrip(session.roundTripSeconds());
  return session.state() == Session::State::Playing && lockstep.frameReady();
}

void NetworkMatch::submit(const std::vector<input::Event>& events, float delta) {
  for (const FrameInputs& inputs : lockstep.submit(events, delta)) {
    session.send(inputs);
  }
}

}  // namespace voidskirmish::net
