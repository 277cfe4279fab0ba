#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/Message.h"
#include "net/Spectators.h"

typedef struct _ENetPeer ENetPeer;

namespace voidskirmish::net {

// The host's connections besides its player's: spectators, and those that connected but have not yet said
// whether they play or watch. A Hello of a player is refused (the match has one), of a spectator let in while
// there is room; whatever a visitor does wrong ends only its own connection, never the match. The console lines
// about them go to `notices`.
class Visitors {
 public:
  Visitors(const Hello& own, std::chrono::milliseconds helloTimeout, std::vector<std::string>& notices)
      : own(own), helloTimeout(helloTimeout), notices(notices) {}
  Visitors(const Visitors&) = delete;
  Visitors& operator=(const Visitors&) = delete;
  // Without farewell(), tells each at once that the connection is gone.
  ~Visitors();

  // Connected: it says Hello within the hello timeout or is dropped.
  void connected(ENetPeer* visitor);
  // The one connection the host took for its player said this spectator's Hello instead.
  void watcherFirst(ENetPeer* visitor, const std::string& address, const Hello& hello);
  bool has(ENetPeer* visitor) const { return visitors.count(visitor) > 0; }
  void receive(ENetPeer* visitor, const std::uint8_t* bytes, std::size_t size);
  // ENet's disconnect, or its timeout.
  void disconnected(ENetPeer* visitor);
  // Drops the silent and the laggards and queues each spectator's frames due.
  void serve();
  // The match is over: each spectator gets the frames it lacks and Over, and is let go once it has them; the
  // others are let go at once.
  void farewell();
  bool empty() const { return visitors.empty(); }
  Spectators& spectators() { return spectators_; }

 private:
  void hello(ENetPeer* visitor, const Hello& hello);
  void refuse(ENetPeer* visitor, Refused::Reason reason);
  void drop(ENetPeer* visitor, const std::string& notice);

  struct Visitor {
    std::string address;
    std::optional<std::chrono::steady_clock::time_point> helloDeadline;  // none once answered
  };
  const Hello& own;
  const std::chrono::milliseconds helloTimeout;
  std::vector<std::string>& notices;
  std::map<ENetPeer*, Visitor> visitors;
  Spectators spectators_;
};

}  // namespace voidskirmish::net
