// A datagram from the other machine: refused with ProtocolError, or decoded into a message whose encoding decodes
// and encodes to itself again (what the decoder accepts, the encoder writes one way).
#include <cstdint>
#include <cstdlib>

#include "net/Message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace voidskirmish::net;
  try {
    const Message message = decode(data, size);
    const auto bytes = encode(message);
    if (encode(decode(bytes.data(), bytes.size())) != bytes) std::abort();
  } catch (const ProtocolError&) {
  }
  return 0;
}
