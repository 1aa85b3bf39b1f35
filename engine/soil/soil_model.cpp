#include "soil/soil_model.h"

namespace velmor::engine {

void SetUpSoilModel(Engine&) {}

}  // namespace velmor::engine
