#include "net/Ending.h"

namespace voidskirmish::net {
namespace {

std::string endpoint(const std::string& address, std::uint16_t port) { return address + ":" + std::to_string(port); }

}  // namespace

int Ending::exitCode() const {
  switch (kind) {
    case Kind::OtherLeft:
    case Kind::MatchOver: return 0;
    case Kind::PortTaken: return 2;
    default: return 1;
  }
}

namespace lines {
std::string waiting(std::uint16_t port) { return "Waiting for a player on port " + std::to_string(port); }
std::string playerJoined(const std::string& address) { return "Player joined from " + address; }
std::string joined(const std::string& address, std::uint16_t port) {
  return "Joined the match at " + endpoint(address, port);
}
std::string refusedThirdPlayer(const std::string& address) { return "Refused a third player from " + address; }
std::string droppedSilentPlayer(const std::string& address) {
  return "Dropped a player from " + address + " who said nothing";
}
std::string watching(const std::string& address, std::uint16_t port) {
  return "Watching the match at " + endpoint(address, port);
}
std::string spectatorJoined(const std::string& address) { return "A spectator joined from " + address; }
std::string spectatorLeft(const std::string& address) { return "A spectator from " + address + " left"; }
std::string droppedSpectator(const std::string& address) {
  return "Dropped a spectator from " + address + " who fell behind";
}
std::string refusedSpectator(const std::string& address, std::size_t most) {
  return "Refused a spectator from " + address + ": " + std::to_string(most) + " already watch";
}
}  // namespace lines

Ending networkUnavailable() {
  return {Ending::Kind::NetworkUnavailable, "Could not start the network: ENet failed to initialise"};
}

Ending portTaken(std::uint16_t port) {
  return {Ending::Kind::PortTaken, "UDP port " + std::to_string(port) + " is already in use"};
}

Ending unreachable(const std::string& address, std::uint16_t port) {
  return {Ending::Kind::Unreachable, "Could not reach " + endpoint(address, port)};
}

Ending differentVersion() {
  return {Ending::Kind::DifferentVersion, "The other player runs a different version of the game."};
}

Ending matchFull(const std::string& address, std::uint16_t port) {
  return {Ending::Kind::MatchFull, "The match at " + endpoint(address, port) + " already has two players."};
}

Ending otherLeft() { return {Ending::Kind::OtherLeft, "The other player left the match."}; }

Ending connectionLost() { return {Ending::Kind::ConnectionLost, "Lost the connection to the other player."}; }

Ending badMessage(const std::string& what) {
  return {Ending::Kind::BadMessage, "The other player's game sent a message this game cannot use: " + what};
}

Ending disagreed(std::uint32_t frame) {
  return {Ending::Kind::Disagreed, "The two games no longer agree at frame " + std::to_string(frame) + "."};
}

Ending matchOver() { return {Ending::Kind::MatchOver, "The match is over."}; }

Ending watchLost() { return {Ending::Kind::ConnectionLost, "Lost the connection to the match."}; }

Ending spectatorsFull(const std::string& address, std::uint16_t port, std::size_t most) {
  return {Ending::Kind::MatchFull,
          "The match at " + endpoint(address, port) + " already has " + std::to_string(most) + " spectators."};
}

Ending watchedDifferentVersion() {
  return {Ending::Kind::DifferentVersion, "The match runs a different version of the game."};
}

}  // namespace voidskirmish::net
