#include "net/Packets.h"

#include <enet/enet.h>

#include <vector>

namespace voidskirmish::net {

void sendMessage(ENetPeer* receiver, const Message& message, std::uint32_t flags) {
  const std::vector<std::uint8_t> bytes = encode(message);
  ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), flags);
  if (packet != nullptr && enet_peer_send(receiver, 0, packet) < 0) {
    enet_packet_destroy(packet);
  }
}

std::string ipText(const ENetAddress& address) {
  char text[64] = {};
  return enet_address_get_host_ip(&address, text, sizeof text) == 0 ? text : "an unknown address";
}

}  // namespace voidskirmish::net
