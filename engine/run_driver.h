#pragma once

#include <cstdint>

#include "engine_state.h"
#include "runtime/run_errors.h"

namespace velmor::engine {

// One whole analysis run: reads names.dat in the current directory, opens the four run files, runs every
// problem of the input file and finishes with "END OF ANALYSIS". Never throws; a stop or a record fault
// ends the run through the normal finish with its message in the report and on the console.
void RunAnalysis(Engine& e);

// The message of a run that ended early, on the console and (when it is open) in the report: a stop's
// console text and its stop code, a record fault's description, nothing for an input error whose phase
// already wrote its own report line.
void ReportEndOfRun(Engine& e, const rt::EndRun& ended);

// The exported entry's body: any interface number but 14 returns 1 and touches no file; otherwise the
// blocks are value-initialised, the run is carried out and 0 is returned.
int32_t RunEntry(int32_t interfaceNumber, std::FILE* console = stderr);

}  // namespace velmor::engine
