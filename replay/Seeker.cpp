#include "replay/Seeker.h"

#include <cmath>
#include <iterator>

namespace voidskirmish::replay {

Seeker::Seeker(const input::Recording& recording, const Timeline& timeline, const game::Play& start,
               double spacingSeconds, std::size_t memoryBound, bool startMinimised)
    : recording(recording),
      timeline(timeline),
      spacingSeconds(spacingSeconds),
      memoryBound(memoryBound) {
  keep(0, start, startMinimised);
}

// Due at the start and at the first frame that ends on or after each multiple of the spacing.
bool Seeker::due(std::size_t frames) const {
  if (frames == 0) {
    return true;
  }
  return std::floor(timeline.secondsAt(frames) / spacingSeconds) >
         std::floor(timeline.secondsAt(frames - 1) / spacingSeconds);
}

void Seeker::offer(std::size_t frames, const game::Play& from, bool minimised) {
  if (due(frames) && states.count(frames) == 0) {
    keep(frames, from, minimised);
  }
}

void Seeker::keep(std::size_t frames, const game::Play& from, bool minimised) {
  Position& position = states[frames];
  from.save(position.play);
  position.minimised = minimised;
  bytes += sizeOf(position);
  while (bytes > memoryBound && states.size() > 1) {
    spacingSeconds *= 2.0;
    for (auto state = std::next(states.begin()); state != states.end();) {
      if (due(state->first)) {
        ++state;
      } else {
        bytes -= sizeOf(state->second);
        state = states.erase(state);
      }
    }
  }
}

const Seeker::Position& Seeker::after(std::size_t frames) {
  const auto nearest = std::prev(states.upper_bound(frames));
  if (nearest->first == frames) {
    return nearest->second;
  }
  if (!play) {
    play = std::make_unique<game::Play>(game::Match::Programs{}, silent, game::PlayStart::of(recording.header));
    rules = std::make_unique<FrameRules>(*play, recording.header.networkPlayer, silent);
  }
  play->restore(nearest->second.play);
  rules->minimised = nearest->second.minimised;
  for (std::size_t frame = nearest->first; frame < frames; ++frame) {
    rules->advance(recording.frames[frame]);
    offer(frame + 1, *play, rules->minimised);
  }
  play->save(found.play);
  found.minimised = rules->minimised;
  return found;
}

}  // namespace voidskirmish::replay
