#pragma once

#include <chrono>
#include <map>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/Ending.h"
#include "net/Side.h"
#include "net/Message.h"
#include "net/Visitors.h"

typedef struct _ENetHost ENetHost;
typedef struct _ENetPeer ENetPeer;

namespace voidskirmish::net {

struct SessionSettings {
  std::uint16_t port = DEFAULT_PORT;
  Hello hello;  // this game's version and run-time files; the host compares the joiner's with its own
  // A peer from which nothing at all arrived for this long is gone: while it plays, its Inputs come many times a
  // second, and while its frame takes long its answers to ENet's pings (every half second or sooner).
  std::chrono::milliseconds peerTimeout{4000};
  std::chrono::milliseconds connectTimeout{10000};
  // A joiner that has connected but not said Hello by then is dropped: it must not hold the match shut.
  std::chrono::milliseconds helloTimeout{5000};
};

// One machine's end of a network match over ENet: the host waits on its port for one player, the joiner
// connects, and the two shake hands before any frame travels. A joiner whose Hello says it is a spectator
// (settings.hello.spectator) only watches: the host lets in up to Spectators::MOST of them, at any time (see
// Visitors), sends each the frames of its spectators() reliably, from the first, and Over when it leaves. Every
// call returns within the wait it is given, so the caller's loop keeps its window alive. What went wrong is a
// value (ending()), never an exception.
//
// One channel: the handshake and the Bye go reliably (the Bye a few times unreliably as well), Inputs unreliably
// and unsequenced, each repeating what the other side has not acknowledged, so that nothing waits behind a lost
// datagram.
class Session {
 public:
  enum class State { Waiting, Playing, Ended };

  // Both are ended at once with NetworkUnavailable when ENet cannot start.
  // Ended at once with PortTaken when the port cannot be opened.
  static std::unique_ptr<Session> host(const SessionSettings& settings);
  // Ended at once with Unreachable when the address does not resolve (ENet speaks IPv4 only). A spectator's
  // ends with MatchOver when the host says Over.
  static std::unique_ptr<Session> join(const std::string& address, const SessionSettings& settings);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // Without leave(), tells the other side at once that the connection is gone.
  ~Session();

  // Sends what is queued and takes in what arrived, waiting at most `wait` for the first event.
  void service(std::chrono::milliseconds wait);
  // The other side's Inputs that arrived since the last call, as they came (possibly out of order).
  std::vector<Inputs> takeInputs();
  // The host's console lines about players it refused or dropped since the last call; the match goes on.
  std::vector<std::string> takeNotices();
  void send(const Inputs& inputs);
  // The host's: every frame the match runs goes in here, and from here to the spectators at each service().
  Spectators& spectators() { return visitors.spectators(); }
  // A spectator's: the frames that arrived since the last call, in order (also after the ending). Only frames
  // taken are acknowledged, so the host sends no more than its window beyond what this side played.
  std::vector<PlayedFrame> takeFrames();
  // This game's match hash after `frame`: goes to the other side, and where the two differ, both sides' matches
  // end with the frame named.
  void check(std::uint32_t frame, std::uint64_t hash);
  // Says Bye when the match is on (reliably, and a few times unreliably over 120 ms), then lets what is queued
  // (a Bye, a refusal) reach the other side: returns once it is acknowledged, or after a second (at once without
  // a connection or when it is lost).
  void leave();
  // Ends the match for a reason found above the connection, such as inputs the lockstep cannot take.
  void end(Ending ending);

  State state() const;
  Side side() const { return side_; }
  const std::optional<Ending>& ending() const { return ending_; }
  // The joiner's IP address on the host, the address as given on the joiner.
  const std::string& peerAddress() const { return peerAddress_; }
  std::uint16_t port() const { return settings.port; }
  double roundTripSeconds() const;

 private:
  Session(Side side, const SessionSettings& settings);
  void handleConnect(ENetPeer* peer);
  void handleReceive(ENetPeer* peer, const std::uint8_t* bytes, std::size_t size);
  void handleMessage(Message message);
  void handleDisconnect(ENetPeer* peer);
  void dropSilentJoiner();
  bool watching() const { return settings.hello.spectator; }
  void watch(Message message);
  void configurePeer(ENetPeer* peer);
  void sendTo(ENetPeer* peer, const Message& message, std::uint32_t flags);
  void compare(std::uint32_t frame);

  struct HostDeleter {
    void operator()(ENetHost* host) const;
  };

  Side side_;
  SessionSettings settings;
  std::unique_ptr<ENetHost, HostDeleter> enet;
  ENetPeer* peer = nullptr;  // the other player (owned by the host object)
  bool playing = false;
  bool left = false;  // leave() was called: the ending is the other side's to report
  std::optional<Ending> ending_;
  std::string peerAddress_;
  std::chrono::steady_clock::time_point handshakeDeadline;  // the joiner's for the Welcome, the host's for the Hello
  std::chrono::steady_clock::time_point lastArrival;  // of anything from the other player
  std::uint32_t lastAcknowledgement = 0;            // ENet's lastReceiveTime when last looked at
  std::vector<Inputs> inbox;
  std::map<std::uint32_t, std::uint64_t> ownHashes;    // not yet compared
  std::map<std::uint32_t, std::uint64_t> otherHashes;  // not yet compared
  std::vector<std::string> notices;
  Visitors visitors;                    // the host's
  std::vector<PlayedFrame> frameInbox;  // a spectator's
  std::uint32_t framesReceived = 0;
  std::uint32_t framesTaken = 0;
  std::uint32_t framesAcknowledged = 0;
};

}  // namespace voidskirmish::net
