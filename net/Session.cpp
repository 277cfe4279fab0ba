#include "net/Session.h"

#include <enet/enet.h>
#include <enet/time.h>

#include <algorithm>
#include <iterator>
#include <thread>
#include <utility>

#include "net/Packets.h"

namespace voidskirmish::net {
namespace {

using Clock = std::chrono::steady_clock;

// The match's two players and its spectators, and room to answer a few more with a refusal instead of silence.
constexpr std::size_t PEER_SLOTS = 2 + Spectators::MOST + 2;
// A flood of packets must not keep service() from returning to the caller's window.
constexpr int EVENTS_PER_SERVICE = 256;
// Each side's Inputs repeat what the last ones carried, so when a long frame lets more pile up, the oldest go.
constexpr std::size_t INBOX_LIMIT = 4 * PREDICTION_WINDOW;
constexpr enet_uint32 LONGEST_PING_INTERVAL_MS = 500;
// Longer than any match: the silence below, not ENet, decides that the other player is gone.
constexpr enet_uint32 NEVER_MS = 24 * 3600 * 1000;
constexpr std::chrono::seconds LINGER{1};
// After an outage ENet waits long to resend a lost reliable packet, longer than the linger: the Bye also goes
// unreliably, a few times a little apart, so that one lost datagram does not leave the other side to time out.
constexpr int BYE_COPIES = 8;
constexpr std::chrono::milliseconds BYE_SPACING{15};
// Neither side runs more than the prediction window ahead of the other, under one hash interval.
constexpr std::size_t HASHES_AHEAD = 4;

// ENet wants one initialisation per process before its first host, and one clean-up after its last.
bool enetStarted() {
  static const struct Library {
    bool started = enet_initialize() == 0;
    ~Library() {
      if (started) {
        enet_deinitialize();
      }
    }
  } library;
  return library.started;
}

enet_uint32 milliseconds(std::chrono::milliseconds duration) {
  return static_cast<enet_uint32>(std::max<std::chrono::milliseconds::rep>(duration.count(), 0));
}

struct PacketDeleter {
  void operator()(ENetPacket* packet) const { enet_packet_destroy(packet); }
};

}  // namespace

void Session::HostDeleter::operator()(ENetHost* host) const { enet_host_destroy(host); }

Session::Session(Side side, const SessionSettings& settings)
    : side_(side), settings(settings), visitors(this->settings.hello, settings.helloTimeout, notices) {
  if (!enetStarted()) {
    end(networkUnavailable());
  }
}

std::unique_ptr<Session> Session::host(const SessionSettings& settings) {
  std::unique_ptr<Session> session(new Session(Side::Host, settings));
  if (session->ending_) {
    return session;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = settings.port;
  session->enet.reset(enet_host_create(&address, PEER_SLOTS, 1, 0, 0));
  if (!session->enet) {
    session->end(portTaken(settings.port));
    return session;
  }
  session->enet->maximumPacketSize = MAX_MESSAGE_SIZE;
  session->settings.port = session->enet->address.port;  // the port the system gave, when 0 was asked
  return session;
}

std::unique_ptr<Session> Session::join(const std::string& address, const SessionSettings& settings) {
  std::unique_ptr<Session> session(new Session(Side::Joiner, settings));
  if (session->ending_) {
    return session;
  }
  session->peerAddress_ = address;
  session->handshakeDeadline = Clock::now() + settings.connectTimeout;
  ENetAddress target{};
  target.port = settings.port;
  session->enet.reset(enet_host_create(nullptr, 1, 1, 0, 0));
  if (session->enet && enet_address_set_host(&target, address.c_str()) == 0) {
    session->enet->maximumPacketSize = MAX_MESSAGE_SIZE;
    session->peer = enet_host_connect(session->enet.get(), &target, 1, 0);
  }
  if (session->peer == nullptr) {
    session->end(unreachable(address, settings.port));
  }
  return session;
}

Session::~Session() {
  if (peer != nullptr) {
    enet_peer_disconnect_now(peer, 0);
  }
}

void Session::service(std::chrono::milliseconds wait) {
  if (!enet) {
    return;
  }
  visitors.serve();
  if (watching() && state() == State::Playing && framesTaken != framesAcknowledged) {
    sendTo(peer, Watched{framesTaken}, ENET_PACKET_FLAG_RELIABLE);
    framesAcknowledged = framesTaken;
  }
  ENetEvent event;
  for (int handled = 0; handled < EVENTS_PER_SERVICE; ++handled) {
    const int result = enet_host_service(enet.get(), &event, handled == 0 ? milliseconds(wait) : 0);
    // ENet fails a receive for a datagram larger than its buffer, from anyone on the port: it is gone, and the
    // connection is as it was. Only ENet's disconnect event and the silence below lose the other player.
    if (result < 0) {
      continue;
    }
    if (result == 0) {
      break;
    }
    if (event.peer == peer && peer != nullptr) {
      lastArrival = Clock::now();
    }
    if (event.type == ENET_EVENT_TYPE_CONNECT) {
      handleConnect(event.peer);
    } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
      const std::unique_ptr<ENetPacket, PacketDeleter> packet(event.packet);
      handleReceive(event.peer, packet->data, packet->dataLength);
    } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
      handleDisconnect(event.peer);
    }
  }
  if (state() == State::Waiting && peer != nullptr && Clock::now() >= handshakeDeadline) {
    if (side_ == Side::Joiner) {
      end(unreachable(peerAddress_, settings.port));
    } else {
      dropSilentJoiner();
    }
  }
  // ENet refreshes lastReceiveTime only for acknowledgements, which is how the other side's answers to pings show
  // while no message comes (its frame takes long). Messages come many times a second while it plays.
  if (peer != nullptr && peer->lastReceiveTime != lastAcknowledgement) {
    lastAcknowledgement = peer->lastReceiveTime;
    lastArrival = Clock::now();
  }
  if (state() == State::Playing && Clock::now() - lastArrival >= settings.peerTimeout) {
    end(watching() ? watchLost() : connectionLost());
  }
}

std::vector<Inputs> Session::takeInputs() { return std::exchange(inbox, {}); }

std::vector<std::string> Session::takeNotices() { return std::exchange(notices, {}); }

std::vector<PlayedFrame> Session::takeFrames() {
  framesTaken = framesReceived;
  return std::exchange(frameInbox, {});
}

void Session::send(const Inputs& inputs) {
  if (state() == State::Playing) {
    sendTo(peer, inputs, ENET_PACKET_FLAG_UNSEQUENCED | ENET_PACKET_FLAG_UNRELIABLE_FRAGMENT);
    enet_host_flush(enet.get());  // on its way now, not at the next service
  }
}

void Session::check(std::uint32_t frame, std::uint64_t hash) {
  if (state() == State::Playing) {
    if (ownHashes.size() >= HASHES_AHEAD) {
      ownHashes.erase(ownHashes.begin());  // the other side sends none
    }
    ownHashes[frame] = hash;
    sendTo(peer, Check{frame, hash}, ENET_PACKET_FLAG_RELIABLE);
    compare(frame);
  }
}

void Session::compare(std::uint32_t frame) {
  const auto own = ownHashes.find(frame);
  const auto other = otherHashes.find(frame);
  if (own == ownHashes.end() || other == otherHashes.end()) {
    return;
  }
  if (own->second != other->second) {
    end(disagreed(frame));
  }
  // Each side runs every frame, so a hash of one side is older than any the other side still lacks.
  ownHashes.erase(ownHashes.begin(), std::next(own));
  otherHashes.erase(otherHashes.begin(), std::next(other));
}

void Session::leave() {
  if (state() == State::Playing) {
    sendTo(peer, Bye{}, ENET_PACKET_FLAG_RELIABLE);
    for (int copy = 0; copy < BYE_COPIES && peer->state == ENET_PEER_STATE_CONNECTED; ++copy) {
      sendTo(peer, Bye{}, ENET_PACKET_FLAG_UNSEQUENCED);
      enet_host_flush(enet.get());
      std::this_thread::sleep_for(BYE_SPACING);
    }
  }
  left = true;
  visitors.farewell();
  // Without a connection, or with one that is lost, the other player is not left to hear anything.
  ENetPeer* hearing = peer;
  if (peer == nullptr || peer->state != ENET_PEER_STATE_CONNECTED ||
      (ending_ && ending_->kind == Ending::Kind::ConnectionLost)) {
    hearing = nullptr;
  } else {
    enet_peer_disconnect_later(peer, 0);
  }
  const auto deadline = Clock::now() + LINGER;
  ENetEvent event;
  while ((hearing != nullptr || !visitors.empty()) && Clock::now() < deadline) {
    if (enet_host_service(enet.get(), &event, 10) <= 0) {
      continue;
    }
    if (event.type == ENET_EVENT_TYPE_RECEIVE) {
      enet_packet_destroy(event.packet);
    } else if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == hearing) {
      hearing = peer = nullptr;
    } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
      visitors.disconnected(event.peer);
    }
  }
}

Session::State Session::state() const {
  if (ending_ || left) {
    return State::Ended;
  }
  return playing ? State::Playing : State::Waiting;
}

double Session::roundTripSeconds() const { return peer != nullptr ? peer->roundTripTime / 1000.0 : 0.0; }

void Session::handleConnect(ENetPeer* connected) {
  if (side_ == Side::Joiner) {
    configurePeer(peer);
    sendTo(peer, settings.hello, ENET_PACKET_FLAG_RELIABLE);
    return;
  }
  if (peer == nullptr && state() == State::Waiting) {
    peer = connected;
    peerAddress_ = ipText(connected->address);
    handshakeDeadline = Clock::now() + settings.helloTimeout;
    configurePeer(connected);
    return;
  }
  visitors.connected(connected);  // a spectator, or a third player: its Hello tells
}

void Session::handleReceive(ENetPeer* sender, const std::uint8_t* bytes, std::size_t size) {
  if (state() == State::Ended) {
    return;  // anything after the end
  }
  if (sender != peer) {
    if (visitors.has(sender)) {
      visitors.receive(sender, bytes, size);
    }
    return;
  }
  try {
    handleMessage(decode(bytes, size));
  } catch (const ProtocolError& error) {
    end(badMessage(error.what()));
  }
}

void Session::handleMessage(Message message) {
  if (playing && watching()) {
    watch(std::move(message));
  } else if (playing) {
    if (auto* inputs = std::get_if<Inputs>(&message)) {
      if (inbox.size() >= INBOX_LIMIT) {
        inbox.erase(inbox.begin());
      }
      inbox.push_back(std::move(*inputs));
    } else if (std::holds_alternative<Bye>(message)) {
      end(otherLeft());
    } else if (const auto* check = std::get_if<Check>(&message)) {
      if (otherHashes.size() >= HASHES_AHEAD) {
        throw ProtocolError("match hashes of frames far ahead");
      }
      otherHashes[check->frame] = check->hash;
      compare(check->frame);
    } else {
      throw ProtocolError("a handshake message during the match");
    }
  } else if (side_ == Side::Host) {
    const auto* hello = std::get_if<Hello>(&message);
    if (hello == nullptr) {
      throw ProtocolError("the first message is not a Hello");
    }
    if (hello->spectator) {  // came first: the host still waits for its player
      ENetPeer* spectator = std::exchange(peer, nullptr);
      visitors.watcherFirst(spectator, std::exchange(peerAddress_, {}), *hello);
      return;
    }
    playing = sameGame(*hello, settings.hello);
    sendTo(peer, playing ? Message(Welcome{}) : Message(Refused{Refused::Reason::DifferentVersion}),
           ENET_PACKET_FLAG_RELIABLE);
    if (!playing) {
      end(differentVersion());
    }
  } else if (const auto* refused = std::get_if<Refused>(&message)) {
    if (refused->reason == Refused::Reason::SpectatorsFull) {
      end(spectatorsFull(peerAddress_, settings.port, Spectators::MOST));
    } else if (refused->reason == Refused::Reason::MatchFull) {
      end(matchFull(peerAddress_, settings.port));
    } else {
      end(watching() ? watchedDifferentVersion() : differentVersion());
    }
  } else if (std::holds_alternative<Welcome>(message)) {
    playing = true;
  } else if (std::holds_alternative<Inputs>(message)) {
    // Unsequenced, the host's first Inputs may overtake its Welcome; the next Inputs carry the same frames.
  } else {
    throw ProtocolError("the host's first answer is neither a Welcome nor a refusal");
  }
}

void Session::handleDisconnect(ENetPeer* gone) {
  if (gone != peer) {
    visitors.disconnected(gone);
    return;
  }
  peer = nullptr;
  if (state() == State::Ended) {
    return;
  }
  if (playing) {
    end(watching() ? watchLost() : connectionLost());
  } else if (side_ == Side::Joiner) {
    end(unreachable(peerAddress_, settings.port));
  } else {
    peerAddress_.clear();  // left before saying Hello: wait for the next player
  }
}

void Session::dropSilentJoiner() {
  notices.push_back(lines::droppedSilentPlayer(peerAddress_));
  enet_peer_disconnect_now(peer, 0);
  peer = nullptr;
  peerAddress_.clear();
}

void Session::watch(Message message) {
  if (auto* frames = std::get_if<Frames>(&message)) {
    if (frames->first != framesReceived) {
      throw ProtocolError("frame " + std::to_string(frames->first) + " came before frame " +
                          std::to_string(framesReceived));
    }
    framesReceived += static_cast<std::uint32_t>(frames->frames.size());
    std::move(frames->frames.begin(), frames->frames.end(), std::back_inserter(frameInbox));
  } else if (std::holds_alternative<Over>(message)) {
    end(matchOver());
  } else {
    throw ProtocolError("a player's message to a spectator");
  }
}

// ENet would drop a peer after a few lost resends of one reliable packet (a ping), although the Inputs still
// come, and would throttle unreliable packets away when the round trip grows: neither may happen here. Set once
// connected: the host echoes the joiner's throttle settings while connecting, and ENet refuses any change.
void Session::configurePeer(ENetPeer* configured) {
  const enet_uint32 timeout = milliseconds(settings.peerTimeout);
  enet_peer_timeout(configured, 0, NEVER_MS, NEVER_MS);
  enet_peer_ping_interval(configured, std::min(LONGEST_PING_INTERVAL_MS, std::max<enet_uint32>(timeout / 4, 1)));
  configured->packetThrottleDeceleration = 0;
  lastArrival = Clock::now();
}

void Session::sendTo(ENetPeer* receiver, const Message& message, std::uint32_t flags) {
  sendMessage(receiver, message, flags);
}

void Session::end(Ending ending) {
  if (!ending_) {
    ending_ = std::move(ending);
  }
}

}  // namespace voidskirmish::net
