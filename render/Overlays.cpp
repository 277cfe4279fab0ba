#include "render/Overlays.h"

#include <glm/gtc/type_ptr.hpp>

#include <charconv>
#include <utility>

#include "render/OverlayMath.h"
#include "render/SegmentFont.h"

namespace voidskirmish::render {
namespace {

// Buffer contents do not depend on the target, so every static buffer is filled through GL_ARRAY_BUFFER.
template <typename Data>
scene::GlBuffer makeStaticBuffer(const Data& data) {
  scene::GlBuffer buffer = scene::makeBuffer();
  glBindBuffer(GL_ARRAY_BUFFER, buffer.get());
  glBufferData(GL_ARRAY_BUFFER, sizeof(data), data.data(), GL_STATIC_DRAW);
  return buffer;
}

// Points the program's "position" at the bound array buffer; a program without it is left alone.
void pointPosition(const scene::ShaderProgram* program, GLint components) {
  const GLint location = glGetAttribLocation(program->program, "position");
  if (location < 0) {
    return;
  }
  glEnableVertexAttribArray(static_cast<GLuint>(location));
  glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
}

void setModel(GLint location, const glm::mat4& model) {
  glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(model));
}

// Every segment of the glyph cell as a bar of its own: the bar's indices moved on by four corners a segment.
constexpr std::array<unsigned int, SEGMENT_COUNT * BAR_INDICES.size()> GLYPH_INDICES = [] {
  std::array<unsigned int, SEGMENT_COUNT * BAR_INDICES.size()> indices{};
  for (std::size_t i = 0; i < indices.size(); ++i) {
    indices[i] = BAR_INDICES[i % BAR_INDICES.size()] + 4 * static_cast<unsigned int>(i / BAR_INDICES.size());
  }
  return indices;
}();

constexpr glm::vec2 SCORE_CENTRE(0.0f, 0.85f);
constexpr float SCORE_HEIGHT = 0.14f;
constexpr glm::vec2 PAUSED_CENTRE(0.0f, 0.4f);
constexpr float PAUSED_HEIGHT = 0.2f;
// Where PAUSED would be, smaller: a network match waits for the other player's inputs.
constexpr glm::vec2 WAITING_CENTRE(0.0f, 0.4f);
constexpr float WAITING_HEIGHT = 0.12f;
constexpr glm::vec2 COMPUTER_CENTRE(-0.88f, 0.85f);
constexpr float COMPUTER_HEIGHT = 0.08f;
constexpr glm::vec3 COMPUTER_COLOR(0.3f, 0.8f, 1.0f);
constexpr glm::vec2 REPLAY_TEXT_CENTRE(0.68f, -0.925f);  // right of the lower half's life bar
constexpr float REPLAY_TEXT_HEIGHT = 0.05f;
// The banner's lines keep clear of the score above, PAUSED and the crosshair, and the life bar below.
constexpr glm::vec2 BANNER_CENTRE(0.0f, 0.62f);
constexpr float BANNER_HEIGHT = 0.12f;
constexpr glm::vec2 ENTER_CENTRE(0.0f, -0.45f);
constexpr float ENTER_HEIGHT = 0.1f;
// "YOU" by the life bar, as high as the bar, a little apart from its left end (x = -0.15, y from -0.85 to -0.75).
constexpr glm::vec2 LIFE_LABEL_RIGHT(-0.18f, -0.8f);
constexpr float LIFE_LABEL_HEIGHT = 0.1f;
constexpr glm::vec3 OWN_GREEN(0.0f, 1.0f, 0.0f);
constexpr glm::vec3 ENEMY_RED(1.0f, 0.0f, 0.0f);
constexpr glm::vec3 WHITE(1.0f, 1.0f, 1.0f);

// The value's decimal digits, written into `digits` (no allocation in a frame).
std::string_view decimal(int value, std::array<char, 12>& digits) {
  const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  return std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data()));
}

void drawBar(GLuint vao) {
  glBindVertexArray(vao);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(BAR_INDICES.size()), GL_UNSIGNED_INT, nullptr);
  glBindVertexArray(0);
}

}  // namespace

void Overlays::createOverlayBuffers(const scene::ShaderProgram* arrowProgram,
                                    const scene::ShaderProgram* colorProgram) {
  arrowProgram_ = arrowProgram;
  colorProgram_ = colorProgram;

  arrowVertexBuffer_ = makeStaticBuffer(ARROW_VERTICES);
  arrowVao_ = scene::makeVertexArray();
  glBindVertexArray(arrowVao_.get());
  glBindBuffer(GL_ARRAY_BUFFER, arrowVertexBuffer_.get());
  pointPosition(arrowProgram_, 2);
  glBindVertexArray(0);

  // The crosshair's vertex array keeps only the indices; its attribute is pointed at every draw.
  crosshairVertexBuffer_ = makeStaticBuffer(CROSSHAIR_VERTICES);
  crosshairIndexBuffer_ = makeStaticBuffer(BAR_INDICES);
  crosshairVao_ = scene::makeVertexArray();
  glBindVertexArray(crosshairVao_.get());
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, crosshairIndexBuffer_.get());
  glBindVertexArray(0);

  // The life bar and the glyphs keep their vertices, fed to the colour program, and indices in a vertex array.
  const auto fill = [this](IndexedShape& shape, GLint components) {
    shape.vao = scene::makeVertexArray();
    glBindVertexArray(shape.vao.get());
    glBindBuffer(GL_ARRAY_BUFFER, shape.vertices.get());
    pointPosition(colorProgram_, components);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, shape.indices.get());
    glBindVertexArray(0);
  };
  lifeBar_ = IndexedShape{makeStaticBuffer(LIFE_BAR_VERTICES), makeStaticBuffer(BAR_INDICES), {}};
  fill(lifeBar_, 3);
  glyphs_ = IndexedShape{makeStaticBuffer(SEGMENT_VERTICES), makeStaticBuffer(GLYPH_INDICES), {}};
  fill(glyphs_, 2);

  triangleColorLocation_ = glGetUniformLocation(arrowProgram_->program, "triangleColor");
  arrowModelLocation_ = glGetUniformLocation(arrowProgram_->program, "model");
  colorLocation_ = glGetUniformLocation(colorProgram_->program, "color");
  colorModelLocation_ = glGetUniformLocation(colorProgram_->program, "model");
}

void Overlays::drawLifeBar(float lifePoints, glm::vec3 color) const {
  glUseProgram(colorProgram_->program);
  setModel(colorModelLocation_, lifeBarModel(lifePoints));
  glUniform3f(colorLocation_, color.r, color.g, color.b);
  drawBar(lifeBar_.vao.get());
}

void Overlays::drawCrosshair(int width, int height) const {
  glUseProgram(colorProgram_->program);
  for (int k = 0; k < 2; ++k) {
    setModel(colorModelLocation_, crosshairModel(k, width, height));
    glUniform3f(colorLocation_, 0.0f, 1.0f, 0.0f);
    glBindVertexArray(crosshairVao_.get());
    glBindBuffer(GL_ARRAY_BUFFER, crosshairVertexBuffer_.get());
    pointPosition(colorProgram_, 3);
    drawBar(crosshairVao_.get());
  }
}

void Overlays::drawDirectionArrow(bool left, bool above, bool right, bool below, int width, int height) const {
  glUseProgram(arrowProgram_->program);
  setModel(arrowModelLocation_, directionArrowModel(left, above, right, below, width, height));
  glUniform3f(triangleColorLocation_, 1.0f, 0.0f, 0.0f);
  glBindVertexArray(arrowVao_.get());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(ARROW_VERTICES.size() / 2));
  glBindVertexArray(0);
}

void Overlays::drawScore(int ownWins, int enemyWins, bool labelled, int width, int height) const {
  std::array<char, 12> own;
  std::array<char, 12> enemy;
  drawLine({{labelled ? "YOU " : "", OWN_GREEN},
            {decimal(ownWins, own), OWN_GREEN},
            {" - ", {0.8f, 0.8f, 0.8f}},
            {decimal(enemyWins, enemy), ENEMY_RED},
            {labelled ? " FOE" : "", ENEMY_RED}},
           SCORE_CENTRE, SCORE_HEIGHT, width, height);
}

void Overlays::drawLifeLabel(int width, int height) const {
  constexpr std::string_view label = "YOU";
  const float labelWidth = lineWidth(static_cast<int>(label.size()), LIFE_LABEL_HEIGHT, width, height);
  drawLine({{label, OWN_GREEN}}, LIFE_LABEL_RIGHT - glm::vec2(labelWidth / 2.0f, 0.0f), LIFE_LABEL_HEIGHT, width,
           height);
}

void Overlays::drawPausedMark(int width, int height) const {
  drawLine({{"PAUSED", WHITE}}, PAUSED_CENTRE, PAUSED_HEIGHT, width, height);
}

void Overlays::drawWaitingMark(int width, int height) const {
  drawLine({{"OTHER PLAYER ...", WHITE}}, WAITING_CENTRE, WAITING_HEIGHT, width, height);
}

void Overlays::drawRoundBanner(std::string_view winner, int width, int height) const {
  drawLine({{"ROUND TO ", WHITE}, {winner, WHITE}}, BANNER_CENTRE, BANNER_HEIGHT, width, height);
  drawLine({{"ENTER", WHITE}}, ENTER_CENTRE, ENTER_HEIGHT, width, height);
}

void Overlays::drawComputerMark(int width, int height) const {
  drawLine({{"CPU", COMPUTER_COLOR}}, COMPUTER_CENTRE, COMPUTER_HEIGHT, width, height);
}

void Overlays::drawReplayBar(float played, std::string_view text, int width, int height) const {
  constexpr float left = -0.96f, right = 0.96f, bottom = -0.975f, top = -0.96f;
  glViewport(0, 0, width, height);
  glUseProgram(colorProgram_->program);
  const std::pair<float, glm::vec3> parts[] = {{right, {0.3f, 0.3f, 0.3f}},
                                               {left + (right - left) * played, {0.0f, 1.0f, 0.0f}}};
  for (const auto& [end, color] : parts) {
    setModel(colorModelLocation_, barOver(left, end, bottom, top));
    glUniform3f(colorLocation_, color.r, color.g, color.b);
    drawBar(lifeBar_.vao.get());
  }
  // The glyphs keep their shape in a whole window as in the half of one twice as high.
  drawLine({{text, {0.8f, 0.8f, 0.8f}}}, REPLAY_TEXT_CENTRE, REPLAY_TEXT_HEIGHT, width, 2 * height);
}

void Overlays::drawLine(std::initializer_list<TextRun> runs, glm::vec2 centre, float glyphHeight, int width,
                        int height) const {
  int count = 0;
  for (const TextRun& run : runs) {
    count += static_cast<int>(run.text.size());
  }
  glUseProgram(colorProgram_->program);
  glBindVertexArray(glyphs_.vao.get());
  int index = 0;
  for (const TextRun& run : runs) {
    glUniform3f(colorLocation_, run.color.r, run.color.g, run.color.b);
    for (const char c : run.text) {
      const std::uint8_t lit = glyphSegments(c);
      setModel(colorModelLocation_, glyphModel(index++, count, centre, glyphHeight, width, height));
      for (int segment = 0; segment < SEGMENT_COUNT; ++segment) {
        if ((lit >> segment) & 1) {
          const auto offset = static_cast<std::uintptr_t>(segment * BAR_INDICES.size() * sizeof(unsigned int));
          glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(BAR_INDICES.size()), GL_UNSIGNED_INT,
                         reinterpret_cast<const void*>(offset));
        }
      }
    }
  }
  glBindVertexArray(0);
}

}  // namespace voidskirmish::render
