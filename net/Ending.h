#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace voidskirmish::net {

constexpr std::uint16_t DEFAULT_PORT = 47610;

// Why a network match could not start or is over, with the console line and the process's exit code.
struct Ending {
  enum class Kind {
    NetworkUnavailable, PortTaken, Unreachable, DifferentVersion, MatchFull, OtherLeft, ConnectionLost, BadMessage,
    Disagreed, MatchOver
  };

  Kind kind;
  std::string line;

  int exitCode() const;
  // Whether the line goes to standard error: the machine cannot play at all, whoever the other player is.
  bool aboutThisMachine() const { return kind == Kind::NetworkUnavailable || kind == Kind::PortTaken; }
};

// Every console line of a network match, byte for byte. `address` is as the player typed it for the joiner's
// lines and the joiner's IP address for the host's.
namespace lines {
std::string waiting(std::uint16_t port);
std::string playerJoined(const std::string& address);
std::string joined(const std::string& address, std::uint16_t port);
std::string refusedThirdPlayer(const std::string& address);
std::string droppedSilentPlayer(const std::string& address);
// A spectator's, once the host let it in; then the host's about spectators.
std::string watching(const std::string& address, std::uint16_t port);
std::string spectatorJoined(const std::string& address);
std::string spectatorLeft(const std::string& address);
std::string droppedSpectator(const std::string& address);
std::string refusedSpectator(const std::string& address, std::size_t most);
}  // namespace lines

Ending networkUnavailable();
Ending portTaken(std::uint16_t port);
Ending unreachable(const std::string& address, std::uint16_t port);
Ending differentVersion();
Ending matchFull(const std::string& address, std::uint16_t port);
Ending otherLeft();
Ending connectionLost();
Ending badMessage(const std::string& what);
Ending disagreed(std::uint32_t frame);
// A spectator's endings where a player's would not fit.
Ending matchOver();
Ending watchLost();
Ending spectatorsFull(const std::string& address, std::uint16_t port, std::size_t most);
Ending watchedDifferentVersion();

}  // namespace voidskirmish::net
