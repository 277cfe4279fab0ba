#pragma once

#include <string>

namespace voidskirmish::tools {

// Synthesises every sound the game plays into `folder` (".../Voidskirmish/Sound/"): shots, hits, bursts, the
// big explosion, the collision thump, the engine and warning loops, the round's end, pause and resume.
void writeGameSounds(const std::string& folder);

}  // namespace voidskirmish::tools
