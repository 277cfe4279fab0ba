#include "replay/LastSeconds.h"

#include <algorithm>

#include "replay/StartSection.h"

namespace voidskirmish::replay {

LastSeconds::LastSeconds(double seconds)
    : seconds(seconds), spacing_(std::max(SPACING_SECONDS, seconds / MOST_STATES)) {}

void LastSeconds::offer(const game::Play& play) {
  if (states.empty() || now - states.back().at >= spacing_) {
    Kept& kept = states.emplace_back();
    kept.at = now;
    kept.frame = dropped + frames.size();
    play.save(kept.position.play);
    kept.position.minimised = minimised;
  }
  // The newest state at least `seconds` old is where the written recording starts.
  while (states.size() > 1 && now - states[1].at >= seconds) {
    states.pop_front();
  }
  for (; dropped < states.front().frame; ++dropped) {
    frames.pop_front();
  }
}

void LastSeconds::add(const std::vector<input::Event>& events, float delta,
                      const std::optional<input::ScaleLine>& scale) {
  frames.push_back(input::RecordedFrame{events, delta, scale});
  now += delta;
  for (const input::Event& event : events) {
    if (const auto* size = std::get_if<input::SizeEvent>(&event)) {
      minimised = size->width <= 0 || size->height <= 0;
    }
  }
}

void LastSeconds::write(input::RecordingWriter& writer, input::RecordingHeader header) const {
  if (frames.empty()) {
    return;
  }
  header.formatVersion = std::max(header.formatVersion, input::RecordingHeader::FORMAT_VERSION);
  writer.writeHeader(header);
  writer.writeSnapshot(startSection(states.front().position));
  for (const input::RecordedFrame& frame : frames) {
    writer.writeFrame(frame.events, frame.delta, frame.scale);
  }
}

}  // namespace voidskirmish::replay
