#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include "net/Rollback.h"
#include "net/Session.h"

namespace voidskirmish::net {

// The frame loop's view of a match played over the network: the rollback schedule fed from a session that is
// playing. Each drawn frame: service(), then for each step real time asks for, advance() while canAdvance(),
// then send(); then run what takeConfirmed() gives on the match that counts and predicted() on the picture's.
//
// Every step this side ran stays in each Inputs it sends until the other side acknowledges it, and the Inputs go
// again every RESEND_INTERVAL while the loop waits: a lost datagram is made good by the next.
class NetworkMatch {
 public:
  static constexpr std::chrono::milliseconds RESEND_INTERVAL{15};

  explicit NetworkMatch(Session& session) : session(session), rollback(session.side()) {}

  // Sends and takes in for at most `wait`, takes in the other side's inputs and resends when it is time. Inputs
  // that break the protocol end the session, which then says why.
  void service(std::chrono::milliseconds wait);

  bool canAdvance() const { return rollback.canAdvance(); }
  void advance(const std::vector<input::Event>& events);
  void send();
  std::optional<Step> takeConfirmed() { return rollback.takeConfirmed(); }
  std::vector<Step> predicted() const { return rollback.predicted(); }
  const Rollback::Corrections& corrections() const { return rollback.corrections(); }
  // Steps this side runs ahead of the other: half the difference of the two sides' leads over what they have of
  // each other, so that the time the inputs take to cross, the same both ways, drops out.
  double advantage() const { return static_cast<double>(rollback.lead() - otherLead) / 2.0; }

 private:
  void receive(Inputs inputs);

  Session& session;
  Rollback rollback;
  std::deque<FrameInputs> unacknowledged;
  std::chrono::steady_clock::time_point lastSent;
  std::int64_t otherLead = 0;   // as the other side's newest Inputs told it
  std::uint32_t newestOther = 0;  // the step after the last one those Inputs carried
};

}  // namespace voidskirmish::net
