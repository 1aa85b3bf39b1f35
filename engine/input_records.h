#pragma once

#include "engine_state.h"

namespace velmor::engine {

// The control record: nine integers into ProblemControl.
void ReadControlRecord(Engine& e);

// Echo of the control parameters and the records of one problem after the control record, in the
// engine's read order: increments, restraints, stiffness, loads, springs, modification factors, earth
// pressure, p-y curves and M-EI curves.
void ReadProblemRecords(Engine& e);

}  // namespace velmor::engine
