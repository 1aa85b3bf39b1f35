#include "engine_state.h"

namespace velmor::engine {

namespace {
// Zero-initialised static storage: no constructor runs when the library is loaded.
EngineState g_engineState;
}  // namespace

EngineState& engineState() {
    return g_engineState;
}

}  // namespace velmor::engine
