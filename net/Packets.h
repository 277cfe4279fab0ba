#pragma once

#include <cstdint>
#include <string>

#include "net/Message.h"

typedef struct _ENetPeer ENetPeer;
typedef struct _ENetAddress ENetAddress;

namespace voidskirmish::net {

// Queues `message` for `receiver` on the one channel; sent at the next service of its ENet host.
void sendMessage(ENetPeer* receiver, const Message& message, std::uint32_t flags);
// The IPv4 address of a peer as the console names it.
std::string ipText(const ENetAddress& address);

}  // namespace voidskirmish::net
