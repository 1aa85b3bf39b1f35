#include "curve_intake.h"

namespace velmor::engine {

void ReadModificationFactors(Engine&) {}

void ReadPYCurves(Engine&) {}

}  // namespace velmor::engine
