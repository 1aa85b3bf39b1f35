#include "engine_state.h"

namespace velmor::engine {

namespace {
// Zero-initialised static storage: no constructor runs when the library is loaded.
EngineState g_engineState;
}  // namespace

EngineState& engineState() {
    return g_engineState;
}

void DeriveStepQuantities(EngineState& st) {
    ProblemControl& c = st.control;
    c.twoH = 2.0 * c.h;
    c.hSquared = c.h * c.h;
    c.hCubed = c.h * c.h * c.h;

    StationGeometry& g = st.geometry;
    g.h = c.h;
    g.ni = c.ni;
    g.freeHeight = c.freeHeight;
    g.unitCode = c.unitCode;

    RunControl& run = st.run;
    run.h = c.h;
    run.wallLength = c.ni * c.h;
}

}  // namespace velmor::engine
