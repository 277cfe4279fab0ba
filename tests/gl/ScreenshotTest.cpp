#include <gtest/gtest.h>

#include "render/Screenshot.h"
#include "tests/gl/GlTest.h"

namespace voidskirmish::testing {
namespace {

using ScreenshotTest = GlTest;

// A disk that takes no more bytes opens and buffers as usual and fails only when the bytes are flushed: that
// is a picture not saved, never an empty file claimed saved. Good saves are the F12 pictures of tests/e2e.
TEST_F(ScreenshotTest, AWriteTheDiskRefusesIsNoSave) { EXPECT_FALSE(render::saveScreenshot("/dev/full", 8, 8)); }

}  // namespace
}  // namespace voidskirmish::testing
