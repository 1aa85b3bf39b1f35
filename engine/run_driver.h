#pragma once

#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// One whole analysis run: reads names.dat in the current directory, opens the four run files, runs every
// problem of the input file and finishes with "END OF ANALYSIS". Never throws; a stop or a record fault
// ends the run through the normal finish with its message in the report and on the console.
void RunAnalysis(Engine& e);

// The exported entry's body: any interface number but 14 returns 1 and touches no file; otherwise the
// blocks are value-initialised, the run is carried out and 0 is returned.
int32_t RunEntry(int32_t interfaceNumber, std::FILE* console = stderr);

}  // namespace velmor::engine
