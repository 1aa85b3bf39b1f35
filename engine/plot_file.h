#pragma once

#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// Step between the profile rows that the report echo and the plot-data file show. A long generated profile
// (options 2 and 3, more than 50 rows) is thinned to every 6th row in English units and every 4th in SI;
// a specified profile (option 1) shows every row.
int32_t ProfileRowStep(int32_t earthPressureOption, int32_t unitSystem, int32_t rowCount);

// Calls visit(row) for rows 1, 1 + step, 1 + 2 step, ... up to rowCount, then for rowCount when the last
// visited row was not rowCount. Returns the number of rows visited.
template <class Visit>
int32_t ForEachProfileRow(int32_t rowCount, int32_t step, Visit visit) {
    int32_t visited = 0;
    int32_t last = 0;
    for (int32_t row = 1; row <= rowCount; row += step) {
        visit(row);
        last = row;
        ++visited;
    }
    if (rowCount >= 1 && last != rowCount) {
        visit(rowCount);
        ++visited;
    }
    return visited;
}

// The earth-pressure section of one problem: the record 0 for option 0, else the row count and the rows
// (depth, total, soil, surcharge) of EarthPressureProfile. A soil pressure of exactly 0.0 is replaced by
// 1.0E-7 in the profile before its row is written, so that the program's reader never sees a zero there.
void WriteEarthPressureSection(Engine& e);

// Records of the p-y curve section: (unit system, curve count); a curve header (station or node, point
// count); a generated curve's header with its depth below the top of the wall and 33 points, for a
// problem with generated curves only; one point (y, p).
void WriteCurveCountRecord(Engine& e, int32_t curveCount);
void WriteCurveHeader(Engine& e, int32_t station, int32_t pointCount);
void WriteGeneratedCurveHeader(Engine& e, double depth);
void WriteCurvePoint(Engine& e, double y, double p);

// The results section of one problem: (series code, row count, unit code), then one row per result
// station: depth, deflection, bending moment, shear and net soil reaction.
void WriteResultsSection(Engine& e);

}  // namespace velmor::engine
