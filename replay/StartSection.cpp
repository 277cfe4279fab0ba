#include "replay/StartSection.h"

#include <string>

#include "game/SnapshotCoding.h"
#include "input/RecordingReader.h"

namespace voidskirmish::replay {

input::SnapshotSection startSection(const Seeker::Position& start) {
  input::SnapshotSection section;
  section.version = START_SECTION_VERSION;
  section.bytes.push_back(start.minimised ? 1 : 0);
  const std::vector<std::uint8_t> play = game::SnapshotCoding::write(start.play);
  section.bytes.insert(section.bytes.end(), play.begin(), play.end());
  return section;
}

std::optional<Seeker::Position> recordedStart(const input::Recording& recording) {
  if (!recording.snapshot) {
    return std::nullopt;
  }
  const input::SnapshotSection& section = *recording.snapshot;
  if (section.version > START_SECTION_VERSION) {
    throw input::BadRecording(section.line, "snapshot version " + std::to_string(section.version) +
                                                " is newer than this game reads (" +
                                                std::to_string(START_SECTION_VERSION) + ")");
  }
  if (section.bytes.front() > 1) {
    throw input::BadRecording(section.lineOf(0), "minimised is neither 0 nor 1");
  }
  try {
    const std::vector<std::uint8_t> play(section.bytes.begin() + 1, section.bytes.end());
    return Seeker::Position{game::SnapshotCoding::read(play), section.bytes.front() == 1};
  } catch (const game::SnapshotCoding::Damaged& damaged) {
    throw input::BadRecording(section.lineOf(damaged.offset + 1), std::string("snapshot: ") + damaged.what());
  }
}

}  // namespace voidskirmish::replay
