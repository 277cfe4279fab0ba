#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/Event.h"
#include "input/EventText.h"
#include "input/ShipKeys.h"
#include "input/StartSwitches.h"

namespace voidskirmish::input {

// The first lines of a recording: which format, which game wrote it, and the window it was played in. A network
// match's recording adds a line "network ship1" or "network ship2": the ship the recording machine flew. A match
// that started with switches other than the defaults (a settings file's) adds their "start" line, and one played
// with other keys a "bindings" line with the keys' names, ship1's seven then ship2's, in PlayerKeys' order: the
// events hold the game's own keys, the line only lets the replay's help name the keys the players pressed.
struct RecordingHeader {
  // Version 2 adds the scale lines of --render-scale auto and the start line; a match played without either is
  // written as version 1.
  static constexpr int FORMAT_VERSION = 2;
  static constexpr int FIXED_SCALE_VERSION = 1;
  static constexpr const char* MAGIC = "voidskirmish-recording";

  int formatVersion = FORMAT_VERSION;
  std::string gameVersion;
  bool fullscreen = false;
  int width = 0;
  int height = 0;
  std::optional<int> networkPlayer = std::nullopt;
  StartSwitches start = {};
  std::optional<std::array<PlayerKeys, 2>> bindings = std::nullopt;
};

// One frame as the game state got it: its events in order, then the update with this delta; when the render
// scale moved or settled in it, the scale it was drawn at from then on.
struct RecordedFrame {
  std::vector<Event> events;
  float delta = 0.0f;
  std::optional<ScaleLine> scale;
};

// A recording that begins in the middle of a match (--record-last) starts from the state it had then: a section
// "snapshot VERSION BYTES" after the header lines, then the state's bytes in hex, LINE_BYTES a "state" line (the
// last may hold fewer). What the bytes mean is the replay's business; here they are only read whole.
struct SnapshotSection {
  static constexpr std::size_t LINE_BYTES = 64;

  int version = 0;
  std::vector<std::uint8_t> bytes;
  std::int64_t line = 0;                // the "snapshot" line
  std::vector<std::int64_t> dataLines;  // the line of each LINE_BYTES of `bytes`

  // The line that holds byte `offset` (the last one past the end).
  std::int64_t lineOf(std::size_t offset) const {
    return dataLines.empty() ? line : dataLines[std::min(offset / LINE_BYTES, dataLines.size() - 1)];
  }
};

struct Recording {
  RecordingHeader header;
  std::optional<SnapshotSection> snapshot;
  std::vector<RecordedFrame> frames;
  // Lines after the last whole frame, as a killed game leaves them; they are not replayed.
  bool endsInsideFrame = false;
};

}  // namespace voidskirmish::input
