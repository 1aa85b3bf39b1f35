#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Iterates the finite-difference solution of the wall on its soil springs and leaves the result rows.
void SolveWall(Engine& e);

}  // namespace velmor::engine
