#pragma once

#include <chrono>
#include <deque>
#include <vector>

#include "net/Lockstep.h"
#include "net/Session.h"

namespace voidskirmish::net {

// The frame loop's view of a match played over the network: the lockstep fed from a session that is playing.
// Each loop iteration: until frameReady() (keeping the window polled between calls), then takeFrame(), then
// submit() the match events captured since the last submit, then run the frame.
//
// Every frame this side submitted stays in each Inputs it sends until the other side acknowledges it, and while
// the match waits the Inputs go again every RESEND_INTERVAL: a lost datagram is made good by the next.
class NetworkMatch {
 public:
  static constexpr std::chrono::milliseconds RESEND_INTERVAL{15};

  explicit NetworkMatch(Session& session) : session(session), lockstep(session.side()) {}

  // Services the connection for at most `wait` when the next frame is not ready yet, and takes in the other
  // side's inputs. Always false once the session has ended; session.ending() says why.
  bool frameReady(std::chrono::milliseconds wait);
  ReadyFrame takeFrame() { return lockstep.takeFrame(); }
  void submit(const std::vector<input::Event>& events, float delta);

  const Lockstep& schedule() const { return lockstep; }

 private:
  void receive(Inputs inputs);
  void send();

  Session& session;
  Lockstep lockstep;
  std::deque<FrameInputs> unacknowledged;
  std::chrono::steady_clock::time_point lastSent;
};

}  // namespace voidskirmish::net
