#include "engine.h"

namespace engine {

// Filled in by the word-group work that follows the core.
void RegisterTimeWords(Engine&) {}

}  // namespace engine
