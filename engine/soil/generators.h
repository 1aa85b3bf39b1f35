#pragma once

#include "engine_state.h"

namespace velmor::engine {

// p-y curve generators, one per soil type. Each handles every station of layer `layer` (the stations
// firstStation..lastStation of SoilModel, depth in column `column` of the station record), the excavation
// side first and then the backfill side, writes both curves to the report and appends one 34-point curve
// per station to soildata through WriteCurveHeader and WriteCurvePoint.
void PYCurveSoftClay(Engine& e, int column, int layer);
void PYCurveStiffClayBelowWater(Engine& e, int column, int layer);
void PYCurveStiffClayAboveWater(Engine& e, int column, int layer);
void PYCurveSand(Engine& e, int column, int layer);
void PYCurveSilt(Engine& e, int column, int layer);
void PYCurveRock(Engine& e, int column, int layer);
void PYCurveWeakRock(Engine& e, int column, int layer);

// Whether each generator writes its curves to soildata. SetUpSoilModel writes the count line before any
// curve and counts one curve per station of every layer whose generator says so here; a generator that
// writes curves without saying so makes the set-up end the run.
inline constexpr bool kSoftClayWritesCurves = true;
inline constexpr bool kStiffClayBelowWaterWritesCurves = true;
inline constexpr bool kStiffClayAboveWaterWritesCurves = true;
inline constexpr bool kSandWritesCurves = true;
inline constexpr bool kSiltWritesCurves = true;
inline constexpr bool kRockWritesCurves = true;
inline constexpr bool kWeakRockWritesCurves = true;

// The flag of the generator that serves a soil type code (any code outside 2..7 is served as soft clay).
inline constexpr bool GeneratorWritesCurves(int soilType) {
    switch (soilType) {
        case 2:
            return kStiffClayBelowWaterWritesCurves;
        case 3:
            return kStiffClayAboveWaterWritesCurves;
        case 4:
            return kSandWritesCurves;
        case 5:
            return kSiltWritesCurves;
        case 6:
            return kRockWritesCurves;
        case 7:
            return kWeakRockWritesCurves;
        default:
            return kSoftClayWritesCurves;
    }
}

}  // namespace velmor::engine
