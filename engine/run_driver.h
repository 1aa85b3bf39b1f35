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

// The phases of one problem between its control record and the solver, in the order of the run: control
// echo, increments and the step quantities, restraints, stiffness, loads and springs, p-y modification
// factors, earth pressure with its loads and the end check, p-y curves, M-EI curves. A problem without
// stiffness rows has no load, spring, modification-factor or earth-pressure records.
void PrepareProblem(Engine& e);

// Earth pressure of one problem: its records (a specified profile, or the wall and soil records), the
// earth-pressure module and the read-back of its scratch profile, the surcharge of a specified profile,
// and the plot-data section.
void EarthPressurePhase(Engine& e);

// p-y curves of one problem: user curves, the curve generator and the read-back of its scratch curve
// file, the plot-data curve section, and the curve set for the solver.
void CurvePhase(Engine& e);

// The exported entry's body: any interface number but kInterfaceNumber returns 1 and touches no file;
// otherwise the blocks are value-initialised, the run is carried out and 0 is returned.
int32_t RunEntry(int32_t interfaceNumber, std::FILE* console = stderr);

}  // namespace velmor::engine
