#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "settings/SettingsFile.h"

// Any bytes as a settings file: the reader reports what is wrong and never crashes, and what it accepted
// writes back to a file it reads again without a word.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > voidskirmish::settings::MAX_SETTINGS_BYTES) {
    return 0;
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::ostringstream errors;
  const voidskirmish::settings::Settings settings = voidskirmish::settings::parseSettings(text, "fuzz.toml", errors);
  std::ostringstream written;
  voidskirmish::settings::writeSettings(settings, written);
  std::ostringstream again;
  voidskirmish::settings::parseSettings(written.str(), "written.toml", again);
  if (!again.str().empty()) {
    __builtin_trap();
  }
  return 0;
}
