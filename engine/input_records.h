#pragma once

#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// The readers of one problem's records, each reading unit 5 (or a scratch file) and echoing to the report.
// They only read, check and store what they read; the run driver calls them in the order of the input
// file, with the earth-pressure module and the curve generator in between.

// The control record: nine integers into ProblemControl. Also clears the result rows, so that a problem
// that ends on an input error writes no rows of an earlier problem.
void ReadControlRecord(Engine& e);
// Control parameter echo, then the option and count checks.
void EchoControlParameters(Engine& e);
// Increments record: NI, h, maximum deflection, closure tolerance, free height, and the echo. NI outside
// 1..407 or h <= 0 ends the run.
void ReadIncrements(Engine& e);
// Specified deflections and slopes: restraint list and boundary codes.
void ReadRestraints(Engine& e);
// Station tables: stiffness rows, then (when there are stiffness rows) loads and springs. Returns false
// when the problem has no stiffness rows, in which case the loads, springs, modification factors and earth
// pressure of the problem are not part of its input.
bool ReadStationTables(Engine& e);
// Specified earth-pressure profile (option 1): rows of depth and pressure, echoed; the loads per station
// are the pressures times h, and ExcavationLevelPressure is 0.
void ReadSpecifiedPressure(Engine& e);
// Wall record, six-value record, surcharge table and soil layers into WallSoilInput.
void ReadWallAndSoil(Engine& e);
// Reads the scratch profile file kstrut.001 into EarthPressureProfile, the three pressures times WA.
void ReadProfileFile(Engine& e);
// The generated profile after the earth-pressure module ran: heading, read-back, thinned echo,
// ExcavationLevelPressure, and the totals turned into loads per station (times h).
void TakeInGeneratedProfile(Engine& e);
// Earth-pressure loads of the profile on stations 1 and below, added to table Q.
void ApplyEarthPressureLoads(Engine& e);
// Data beyond the wall's bottom (stations NI+1 and NI+2) ends the run.
void CheckTablesBeyondEnd(Engine& e);
// M-EI curves, then the solver's starting deflections set to zero.
void ReadMEICurves(Engine& e);

// Checks a station number against the range lo..hi before it is used as an index; outside it the run ends
// with a report line naming the station and the range.
void CheckStation(Engine& e, int32_t station, int32_t lo, int32_t hi);

}  // namespace velmor::engine
