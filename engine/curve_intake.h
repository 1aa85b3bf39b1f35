#pragma once

#include <array>
#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// p-y modification factors (record 8): the count for the p- and the y-lookup and the factors as read.
void ReadModificationFactors(Engine& e);

// User curves without generated ones (record 11): the report box, the plot-data count record, and each
// curve straight into the curve set. A curve at or below the excavation level continues to the next curve
// (the solver interpolates between them); one above it stands alone.
void ReadUserCurvesOnly(Engine& e);

// User curves ahead of generated ones (record 11 with p-y option 2): echoed and kept, with their
// multipliers applied, in UserPYCurves, from which the curve generator copies them to the head of soildata.
void ReadUserCurves(Engine& e);
// The report box of the curves, then ReadUserCurves.
void ReadUserCurvesAhead(Engine& e);

// Reads the scratch curve file soildata back into PYCurveStore: the count (also to the console and as the
// plot-data count record), then userCurveCount user curves as the file gives them and generated curves of
// 34 point lines each, turned into two-sided curves of 33 points. generatedOnly selects the plot-data header
// of a problem without user curves (the curve's depth) over the one with them (its station).
void ReadScratchCurves(Engine& e, int32_t userCurveCount, bool generatedOnly);

// One generated curve as the scratch file holds it, 1-based: points 1..17 the excavation side and 18..34
// the backfill side, each side starting at the curve's origin.
struct ScratchCurve {
    std::array<double, kScratchCurvePoints + 1> p;
    std::array<double, kScratchCurvePoints + 1> y;
};

// The two-sided curve of 33 points, 1-based, deflection rising from the backfill side's largest (negative)
// value through the origin to the excavation side's largest; the resistance opposes the deflection.
struct TwoSidedCurve {
    std::array<double, kGeneratedCurvePoints + 1> p;
    std::array<double, kGeneratedCurvePoints + 1> y;
};
TwoSidedCurve BuildTwoSidedCurve(const ScratchCurve& c);

}  // namespace velmor::engine
