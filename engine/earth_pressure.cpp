#include "earth_pressure.h"

namespace velmor::engine {

void ComputeEarthPressure(Engine&) {}

double SurchargePressureAtDepth(Engine&, double, double) {
    return 0.0;
}

}  // namespace velmor::engine
