#pragma once

namespace voidskirmish::render {

// The little the shell asks of OpenGL itself, so that GL stays in the drawing layers.

// Loads the OpenGL functions for the current context; false when GLEW cannot.
bool loadOpenGl();
// Clears the window's buffer: colour only before anything is drawn (a depth buffer would be made at once), colour
// and depth before each frame.
void clearWindow(bool depth);
// The state every frame draws with: depth test (nearer or equal wins).
void enableDepthTest();
// Black behind everything the scene leaves uncovered.
void useBlackClearColour();

}  // namespace voidskirmish::render
