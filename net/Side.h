#pragma once

namespace voidskirmish::net {

enum class Side { Host, Joiner };

// The host flies ship1 (player 0), the joiner ship2.
constexpr int shipOf(Side side) { return side == Side::Host ? 0 : 1; }

}  // namespace voidskirmish::net
