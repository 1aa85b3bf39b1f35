#include "wall_solver.h"

namespace velmor::engine {

void SolveWall(Engine&) {}

}  // namespace velmor::engine
