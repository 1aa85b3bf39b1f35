#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Equivalent depth of the top of layer `layer`: the depth in the layer's own soil, taken from the surface
// down, whose integrated ultimate resistance equals what the layers above supply on the excavation side
// (the sum of their LayerResistance). Reads the calling station's StationSoilValues; writes
// EquivalentTopDepth(layer). A divisor that the station's values bring to zero or below, or a depth that
// would lie above the layer's own surface, ends the run with a message naming the layer.
void EquivalentDepthLayered(Engine& e, int layer);

}  // namespace velmor::engine
