#pragma once

#include <chrono>
#include <vector>

#include "net/Lockstep.h"
#include "net/Session.h"

namespace voidskirmish::net {

// The frame loop's view of a match played over the network: the lockstep fed from a session that is playing.
// Each loop iteration: until frameReady() (keeping the window polled between calls), then takeFrame(), then
// submit() the match events captured since the last submit, then run the frame.
class NetworkMatch {
 public:
  explicit NetworkMatch(Session& session) : session(session), lockstep(session.side()) {}

  // Services the connection for at most `wait` when the next frame is not ready yet, and takes in the other
  // side's inputs. Always false once the session has ended; session.ending() says why.
  bool frameReady(std::chrono::milliseconds wait);
  ReadyFrame takeFrame() { return lockstep.takeFrame(); }
  void submit(const std::vector<input::Event>& events, float delta);

  const Lockstep& schedule() const { return lockstep; }

 private:
  Session& session;
  Lockstep lockstep;
};

}  // namespace voidskirmish::net
