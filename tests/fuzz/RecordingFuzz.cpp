// A recording file's bytes: read whole or refused with BadRecording. What is read is what the game could have
// written (deltas in range, every event written back reads as itself); a refusal names a line of the text, or
// the one after its last when a header line is missing. A snapshot section that is read writes back to its very
// bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "input/EventText.h"
#include "input/RecordingReader.h"
#include "replay/StartSection.h"

using namespace voidskirmish::input;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  try {
    const Recording recording = readRecording(in);
    if (const auto start = voidskirmish::replay::recordedStart(recording)) {
      if (voidskirmish::replay::startSection(*start).bytes != recording.snapshot->bytes) std::abort();
    }
    for (const RecordedFrame& frame : recording.frames) {
      if (!(frame.delta >= 0.0f && frame.delta <= MAX_FRAME_DELTA)) std::abort();
      for (const Event& event : frame.events) {
        BodyLine parsed;
        std::string error;
        if (!parseBodyLine(formatEvent(event), parsed, error)) std::abort();
        const Event* again = std::get_if<Event>(&parsed);
        if (again == nullptr || !(*again == event)) std::abort();
      }
    }
  } catch (const BadRecording& refused) {
    const auto lines = std::count(text.begin(), text.end(), '\n') + (text.empty() || text.back() != '\n');
    if (refused.line < 0 || refused.line > lines + 1) std::abort();
  }
  return 0;
}
