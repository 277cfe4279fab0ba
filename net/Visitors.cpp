#include "net/Visitors.h"

#include <enet/enet.h>

#include <algorithm>

#include "net/Ending.h"
#include "net/Packets.h"

namespace voidskirmish::net {

Visitors::~Visitors() {
  for (const auto& [visitor, about] : visitors) {
    enet_peer_disconnect_now(visitor, 0);
  }
}

void Visitors::connected(ENetPeer* visitor) {
  visitors[visitor] = Visitor{ipText(visitor->address), std::chrono::steady_clock::now() + helloTimeout};
}

void Visitors::watcherFirst(ENetPeer* visitor, const std::string& address, const Hello& hello) {
  visitors[visitor] = Visitor{address, std::nullopt};
  this->hello(visitor, hello);
}

void Visitors::receive(ENetPeer* visitor, const std::uint8_t* bytes, std::size_t size) {
  const bool watching = spectators_.watches(visitor->incomingPeerID);
  Visitor& about = visitors.at(visitor);
  try {
    const Message message = decode(bytes, size);
    if (watching) {
      // Its Bye, like anything else a spectator cannot say, makes it leave.
      const auto* watched = std::get_if<Watched>(&message);
      if (watched == nullptr) {
        throw ProtocolError("a spectator's message other than Watched");
      }
      spectators_.acknowledge(visitor->incomingPeerID, watched->received);
    } else if (about.helloDeadline) {  // not yet answered
      const auto* said = std::get_if<Hello>(&message);
      if (said == nullptr) {
        throw ProtocolError("the first message is not a Hello");
      }
      hello(visitor, *said);
    }
  } catch (const ProtocolError&) {
    drop(visitor, watching ? lines::spectatorLeft(about.address) : lines::refusedThirdPlayer(about.address));
  }
}

// ENet gives up on a spectator by its own timeouts: the match never waits for one.
void Visitors::hello(ENetPeer* visitor, const Hello& hello) {
  Visitor& about = visitors.at(visitor);
  about.helloDeadline.reset();
  if (!hello.spectator) {
    notices.push_back(lines::refusedThirdPlayer(about.address));
    refuse(visitor, Refused::Reason::MatchFull);
  } else if (!sameGame(hello, own)) {
    refuse(visitor, Refused::Reason::DifferentVersion);
  } else if (!spectators_.join(visitor->incomingPeerID)) {
    notices.push_back(lines::refusedSpectator(about.address, Spectators::MOST));
    refuse(visitor, Refused::Reason::SpectatorsFull);
  } else {
    enet_peer_timeout(visitor, 0, 0, 0);
    notices.push_back(lines::spectatorJoined(about.address));
    sendMessage(visitor, Welcome{}, ENET_PACKET_FLAG_RELIABLE);
  }
}

// Its disconnect, once the refusal is through, ends it.
void Visitors::refuse(ENetPeer* visitor, Refused::Reason reason) {
  sendMessage(visitor, Refused{reason}, ENET_PACKET_FLAG_RELIABLE);
  enet_peer_disconnect_later(visitor, 0);
}

void Visitors::disconnected(ENetPeer* visitor) {
  const auto gone = visitors.find(visitor);
  if (gone == visitors.end()) {
    return;
  }
  if (spectators_.watches(visitor->incomingPeerID)) {
    spectators_.leave(visitor->incomingPeerID);
    notices.push_back(lines::spectatorLeft(gone->second.address));
  }
  visitors.erase(gone);
}

void Visitors::drop(ENetPeer* visitor, const std::string& notice) {
  spectators_.leave(visitor->incomingPeerID);
  notices.push_back(notice);
  enet_peer_disconnect_now(visitor, 0);
  visitors.erase(visitor);
}

void Visitors::serve() {
  const std::vector<Spectators::Id> laggards = spectators_.dropLaggards();
  const auto now = std::chrono::steady_clock::now();
  for (auto at = visitors.begin(); at != visitors.end();) {
    ENetPeer* visitor = at->first;
    const Visitor& about = (at++)->second;
    const Spectators::Id id = visitor->incomingPeerID;
    if (std::find(laggards.begin(), laggards.end(), id) != laggards.end()) {
      drop(visitor, lines::droppedSpectator(about.address));
    } else if (about.helloDeadline && now >= *about.helloDeadline) {
      drop(visitor, lines::droppedSilentPlayer(about.address));
    } else if (spectators_.watches(id)) {
      for (const Frames& frames : spectators_.due(id)) {
        sendMessage(visitor, frames, ENET_PACKET_FLAG_RELIABLE);
      }
    }
  }
}

void Visitors::farewell() {
  for (auto at = visitors.begin(); at != visitors.end();) {
    ENetPeer* visitor = (at++)->first;
    if (!spectators_.watches(visitor->incomingPeerID)) {
      enet_peer_disconnect_now(visitor, 0);
      visitors.erase(visitor);
      continue;
    }
    for (const Frames& frames : spectators_.due(visitor->incomingPeerID, true)) {
      sendMessage(visitor, frames, ENET_PACKET_FLAG_RELIABLE);
    }
    sendMessage(visitor, Over{}, ENET_PACKET_FLAG_RELIABLE);
    enet_peer_disconnect_later(visitor, 0);
  }
}

}  // namespace voidskirmish::net
