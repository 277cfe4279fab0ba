#pragma once

#include <string>

namespace voidskirmish::render {

// Saves what the window shows (the back buffer just drawn, before it is swapped) as a PNG file, making its
// folder when missing. False when the picture could not be written.
bool saveScreenshot(const std::string& path, int width, int height);

// "screenshots/voidskirmish-NNNNNN.png" for a frame number.
std::string screenshotPath(long frameNumber);

}  // namespace voidskirmish::render
