#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <initializer_list>
#include <string_view>

#include "scene/GlName.h"
#include "scene/ShaderProgram.h"

namespace voidskirmish::render {

// The flat head-up shapes of each half: life bar, crosshair, the arrow toward an off-screen enemy, the score
// the paused and waiting marks and the computer's mark. They are placed straight in the half's normalised device coordinates; only a "model"
// matrix applies.
class Overlays {
 public:
  // Arrow buffer and vertex array; crosshair buffer, index buffer and vertex array; life bar buffer, index
  // buffer and vertex array. The programs are kept for drawing.
  void createOverlayBuffers(const scene::ShaderProgram* arrowProgram, const scene::ShaderProgram* colorProgram);

  // colour: the life colour, or the pulsing warning colour while the ship is outside the arena.
  void drawLifeBar(float lifePoints, glm::vec3 color) const;
  void drawCrosshair(int width, int height) const;
  // Exactly one flag is expected; width and height are the window's.
  void drawDirectionArrow(bool left, bool above, bool right, bool below, int width, int height) const;
  // The rounds won, own first in the crosshair's green, then the enemy's in the arrow's red, at the top centre;
  // labelled, between "YOU" and "FOE" in the same colours.
  void drawScore(int ownWins, int enemyWins, bool labelled, int width, int height) const;
  // "YOU" left of the life bar, in the crosshair's green.
  void drawLifeLabel(int width, int height) const;
  // Between a round's end and ENTER: who won it, from this half's view ("ROUND TO YOU", "ROUND TO FOE" or
  // "ROUND TO NOBODY"), and "ENTER" below the crosshair.
  void drawRoundBanner(std::string_view winner, int width, int height) const;
  // "PAUSED" above the crosshair.
  void drawPausedMark(int width, int height) const;
  // "OTHER PLAYER ..." where "PAUSED" would be: a network match waits for the other machine (seven segments
  // have no W for "WAITING").
  void drawWaitingMark(int width, int height) const;
  // "CPU" in the upper left corner of a half the computer flies.
  void drawComputerMark(int width, int height) const;
  // Over the whole window of width × height pixels: a thin bar at the bottom, filled to `played` (0 to 1), and
  // `text` above it.
  void drawReplayBar(float played, std::string_view text, int width, int height) const;

 private:
  struct IndexedShape {
    scene::GlBuffer vertices;
    scene::GlBuffer indices;
    scene::GlVertexArray vao;
  };
  struct TextRun {
    std::string_view text;
    glm::vec3 color;
  };
  // One line of segment glyphs, centred on `centre`, the runs one after the other each in its colour.
  void drawLine(std::initializer_list<TextRun> runs, glm::vec2 centre, float glyphHeight, int width,
                int height) const;

  const scene::ShaderProgram* arrowProgram_ = nullptr;
  const scene::ShaderProgram* colorProgram_ = nullptr;
  GLint triangleColorLocation_ = -1;
  GLint arrowModelLocation_ = -1;
  GLint colorLocation_ = -1;  // of the colour program, shared by crosshair and life bar
  GLint colorModelLocation_ = -1;

  scene::GlBuffer arrowVertexBuffer_;
  scene::GlVertexArray arrowVao_;
  scene::GlBuffer crosshairVertexBuffer_;
  scene::GlBuffer crosshairIndexBuffer_;
  scene::GlVertexArray crosshairVao_;
  IndexedShape lifeBar_;
  IndexedShape glyphs_;
};

}  // namespace voidskirmish::render
