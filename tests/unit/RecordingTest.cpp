#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>

#include "app/CommandLine.h"
#include "input/EventText.h"
#include "input/RecordingReader.h"
#include "input/RecordingWriter.h"

namespace voidskirmish::input {
namespace {

const std::string header = "voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024 768\n";

Recording read(const std::string& text) {
  std::istringstream in(text);
  return readRecording(in);
}

// The line and reason a bad recording is refused with.
template <typename Call>
std::pair<std::int64_t, std::string> refusal(Call&& call) {
  try {
    call();
  } catch (const BadRecording& bad) {
    return {bad.line, bad.what()};
  }
  return {-1, "accepted"};
}

// Whole recordings of every event kind are written and replayed by the real game in tests/e2e (test_live.py,
// test_network.py, the recordings in tests/replays); here the paths that are no recording.
TEST(RecordingTest, OnlyRegularFilesAreReadAndAnUnwritablePathIsSaid) {
  const std::string fifo = ::testing::TempDir() + "recording.fifo";
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& unreadable : {fifo, ::testing::TempDir(), ::testing::TempDir() + "no-such.rec"}) {
    EXPECT_EQ(refusal([&] { readRecordingFile(unreadable); }).first, 0) << unreadable;
  }
  std::string error;
  EXPECT_FALSE(RecordingWriter::open(::testing::TempDir() + "missing/x.rec", error));
  EXPECT_FALSE(error.empty());
}

TEST(RecordingTest, AKilledGameLeavesItsWholeFramesReplayable) {
  const std::string twoFrames = header + "key press 87\nframe 0.1\nframe 0.2\n";
  for (const std::string& tail : {std::string(), std::string("key release 87\n"), std::string("frame 0.3")}) {
    const Recording recording = read(twoFrames + tail);
    EXPECT_EQ(recording.frames.size(), 2u) << tail;
    EXPECT_EQ(recording.endsInsideFrame, !tail.empty()) << tail;
  }
}

// Format 2 keeps the scale of --render-scale auto with the frame it moved or settled in; written as it is read.
TEST(RecordingTest, ScaleAndSizeLinesGoWithTheirFrame) {
  // A minimised window's size goes with its frame too.
  const Recording recording = read("voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nscale 1\nframe 0.1\n"
                                   "size 0 0\nframe 0.1\nkey press 87\nscale 0.95 settled\nframe 0.1\n");
  ASSERT_EQ(recording.frames.size(), 3u);
  EXPECT_EQ(recording.frames[1].events, (std::vector<Event>{SizeEvent{0, 0}}));
  EXPECT_EQ(formatScaleLine(*recording.frames[0].scale), "scale 1");
  EXPECT_FALSE(recording.frames[1].scale);
  EXPECT_EQ(formatScaleLine(*recording.frames[2].scale), "scale 0.95 settled");
}

TEST(RecordingTest, BlankLinesAndCommentsAreSkippedInTheHeaderToo) {
  const Recording recording =
      read("voidskirmish-recording 1\n# by hand\n\ngame 1.1.0\nwindow fullscreen 800 600\n#\nnetwork ship2\nframe 0.1\n");
  EXPECT_EQ(std::tuple(recording.header.width, recording.header.networkPlayer, recording.frames.size()),
            std::tuple(800, std::optional<int>(1), std::size_t{1}));
}

TEST(RecordingTest, BadFilesAreRefusedWithTheLineAndTheReason) {
  std::string tooLarge = header;
  while (tooLarge.size() <= MAX_RECORDING_BYTES) {
    tooLarge += "# a comment of forty characters or so\n";
  }
  const struct { std::string text; int line; const char* reason; } cases[] = {
      {"", 1, "empty"},
      {"garbage\n", 1, "not a Voidskirmish recording"},
      {"voidskirmish-recording 1\n", 2, "missing game line"},
      {"# the format line comes first\nvoidskirmish-recording 1\n", 1, "not a Voidskirmish recording"},
      {"voidskirmish-recording 1\n\n# by hand\ngame 1.1.0\n#\nwindow windowed 9 9\n\nnetwork ship3\n", 8, "network"},
      {tooLarge, 0, "larger than 32 MiB"},  // as a file that grows while it is read
      {"voidskirmish-recording 3\n", 1, "newer"},
      {header + "scale 0.5\n", 4, "needs format version 2"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nscale 0.2\n", 4, "out of range"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nscale 0.5 held\n", 4, "'scale S settled'"},
      {"voidskirmish-recording 0\n", 1, "out of range"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024", 3, "unfinished"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow tiny 1024 768\n", 3, "expected 'window"},
      {"voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 0 768\n", 3, "out of range"},
      {header + "network ship3\n", 4, "expected 'network ship1|ship2'"},
      {header + "start bloom=off\n", 4, "needs format version 2"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nstart bloom=dim\n", 4, "no value 'dim'"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nbindings W S A D F T SPACE\n", 4, "14 key"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\n"
       "bindings W S A D F T SPACE UP DOWN LEFT RIGHT KP_4 KP_8 KP_0 Q\n", 4, "14 key"},
      {"voidskirmish-recording 2\ngame 1.1.0\nwindow windowed 9 9\nstart blending=on\nnetwork ship1\nnetwork ship1\n",
       6, "comes once"},
      {header + "frame nan\n", 4, "not finite"},
      {header + "frame inf\n", 4, "not finite"},
      {header + "frame -0.1\n", 4, "out of range"},
      {header + "frame 10.5\n", 4, "out of range"},
      {header + "frame 0.1 0.2\n", 4, "expected 2 words"},
      {header + "frame 0x1p-3\n", 4, "not a number"},
      {header + "# comments and blank lines count\n\nframe 0.1\nkey press 349\n", 7, "key code 349"},
      {header + "key press 31\n", 4, "out of range"},
      {header + "key hold 87\n", 4, "press or release"},
      {header + "button press 8\n", 4, "out of range"},
      {header + "cursor 1e7 0\n", 4, "out of range"},
      {header + "size 16385 768\n", 4, "out of range"},
      {header + "size -1 768\n", 4, "out of range"},
      {header + "size 0 768\n", 4, "0 on one side only"},
      {header + "teleport 1 2\n", 4, "unknown record"},
      {header + "key press 87 1 2 3 4 5 6\n", 4, "too many words"},
      {header + std::string(300, 'a') + "\n", 4, "longer than"},
      {header + "key\x01\xff press\n", 4, "not text"},
      {header + "pad ship3 yaw 1\n", 4, "expected ship1 or ship2, found 'ship3'"},
      {header + "pad ship1 yaw 1.5\n", 4, "pad value 1.5 is out of range"},
      {header + "pad ship1 roll 1\n", 4, "unknown pad control 'roll'"},
      {header + "pad ship1 connect\n", 4, "missing pad name"},
  };
  for (const auto& c : cases) {
    const auto [line, reason] = refusal([&] { read(c.text); });
    EXPECT_EQ(line, c.line) << c.text;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.text << " → " << reason;
  }
}

// Every usage error, --help and --version are run by the real game in tests/e2e/test_robustness.py, which
// always names a port.
TEST(CommandLineTest, AHostWaitsOnTheGamesPortUnlessToldAnother) {
  const char* host[] = {"voidskirmish", "--host"};
  EXPECT_EQ(app::parseCommandLine(2, host).options->port, 47610);
}

}  // namespace
}  // namespace voidskirmish::input
