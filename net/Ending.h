#pragma once

#include <cstdint>
#include <string>

namespace voidskirmish::net {

constexpr std::uint16_t DEFAULT_PORT = 47610;

// Why a network match could not start or is over, with the console line and the process's exit code.
struct Ending {
  enum class Kind {
    NetworkUnavailable, PortTaken, Unreachable, DifferentVersion, MatchFull, OtherLeft, ConnectionLost, BadMessage,
    Disagreed
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

}  // namespace voidskirmish::net
