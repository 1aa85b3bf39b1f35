#pragma once

#include <array>
#include <cstdint>

namespace velmor::engine {

// Per-station tables hold positions 1..414 (station s at position s + 4); index 0 is unused so that code
// can index by position directly.
inline constexpr int kPositions = 414;
inline constexpr int position(int station) {
    return station + 4;
}

using StationReals = std::array<double, kPositions + 1>;
using StationInts = std::array<int32_t, kPositions + 1>;

// Capacities of the input tables. Input beyond one of them ends the run with a report message.
inline constexpr int kMaxRestraints = 20;
inline constexpr int kMaxLoadRows = 500;
inline constexpr int kMaxSurcharges = 20;
inline constexpr int kMaxLayers = 10;  // the curve generator's and the earth-pressure module's tables hold 10
inline constexpr int kMaxModificationFactors = 50;
// 400 curves is what the curve-count check allows: 30 user curves and 10 layers of 5 stations fit easily.
inline constexpr int kMaxCurves = 400;
inline constexpr int kMinCurvePoints = 2;  // the solver's curve lookup needs one segment
inline constexpr int kMaxCurvePoints = 34;
inline constexpr int kGeneratedCurvePoints = 33;  // two-sided curve built from the generator's 2 x 17 points
inline constexpr int kScratchCurvePoints = 34;    // point lines of a generated curve in soildata
inline constexpr int kMaxMEICurves = 20;
inline constexpr int kMinMEIPoints = 2;
inline constexpr int kMaxMEIPoints = 100;
// One profile row per inch (English) or per 0.05 m (SI) of free height: 5000 rows hold a 400 ft wall.
inline constexpr int kMaxProfileRows = 5000;

// Copies of the increments record for the other modules.
struct StationGeometry {
    double h;           // increment length
    int32_t ni;         // number of increments
    double freeHeight;  // depth of the excavation level below the top of the wall
    int32_t unitCode;
};

// Copies for the earth-pressure module and the curve generator.
struct RunControl {
    int32_t earthPressureOption;
    double wa;  // width for earth pressure
    double h;
    double wallLength;  // NI x h
    int32_t nuc;        // number of user p-y curves
    int32_t unitSystem;
    int32_t springRowCount;
    double firstSupportDepth;  // FROM x h of the first spring row when it covers one station
    double lastSupportDepth;   // FROM x h of the last spring row when it covers one station
    // Whether this problem's first and last spring rows set the depths above; cleared, and the depths set
    // to -1.0, each time the spring rows are read, so no depth outlives its problem.
    bool firstSupportSet;
    bool lastSupportSet;
};

// The wall's per-station tables, indexed by position.
struct WallStations {
    StationReals ei;            // flexural rigidity
    StationReals q;             // transverse load, earth-pressure loads included
    StationReals s;             // stiffness of transverse resistance
    StationReals t;             // torque (applied moment)
    StationReals r;             // stiffness of torsional resistance
    StationReals p;             // axial load, sign reversed
    StationReals w;             // deflection
    StationInts restraintCode;  // 1 free, 2 deflection, 3/5 around a slope, 4 deflection with a slope
    // Which halves of each station's increment the stiffness rows cover (kReachAbove, kReachBelow): a span
    // gives its end stations half its rigidity, and the moment-EI update keeps that weight.
    StationInts eiReach;
};

inline constexpr int32_t kReachAbove = 1;  // the half increment above the station
inline constexpr int32_t kReachBelow = 2;  // the half increment below it

// The share of a rigidity that a station holds: one half where stiffness rows cover only one side of it
// (an end of the wall or of the rows), the whole where they cover both or where no row reaches it.
inline double RigidityWeight(int32_t reach) {
    return reach == kReachAbove || reach == kReachBelow ? 0.5 : 1.0;
}

// Given deflection and slope of each specified deflection/slope record, 1-based.
struct RestraintValues {
    int32_t count;
    std::array<int32_t, kMaxRestraints + 1> station;
    std::array<int32_t, kMaxRestraints + 1> restraintCase;  // 1 or less deflection, 2 slope, 3 or more both
    std::array<double, kMaxRestraints + 1> deflection;
    std::array<double, kMaxRestraints + 1> slope;
};

// One entry per load record: station FROM and moment / (2h), 1-based.
struct ConcentratedMoments {
    int32_t count;
    std::array<int32_t, kMaxLoadRows + 1> station;
    std::array<double, kMaxLoadRows + 1> value;
};

// The wall record, surcharge table, soil layers and p-y modification factors (1-based rows).
struct WallSoilInput {
    double freeHeight;
    double wa;                    // width for earth pressure
    double wp;                    // width for soil resistance
    double waterTableBackfill;    // depth below the top of the wall
    double waterTableExcavation;  // depth below the top of the wall
    double activeModification;
    int32_t wallItem;
    double backfillSlope;             // degrees
    std::array<double, 7> sixValues;  // 1..6

    int32_t surchargeCount;
    std::array<int32_t, kMaxSurcharges + 1> surchargeType;  // 1 point, 2 line, 3 strip
    std::array<double, kMaxSurcharges + 1> surchargeMagnitude;
    std::array<double, kMaxSurcharges + 1> surchargeDistance;  // X from the wall
    std::array<double, kMaxSurcharges + 1> surchargeWidth;     // W of a strip

    int32_t layerCount;
    std::array<int32_t, kMaxLayers + 1> soilType;
    std::array<double, kMaxLayers + 1> thickness;
    // Six values at the top and at the bottom of each layer, 1..6: unit weight, c or qu, friction angle in
    // degrees, E50 or krm, k or Er, RQD.
    std::array<std::array<double, 7>, kMaxLayers + 1> top;
    std::array<std::array<double, 7>, kMaxLayers + 1> bottom;

    int32_t pFactorCount;
    int32_t yFactorCount;
    std::array<double, kMaxModificationFactors + 1> factorDepth;  // below the top of the wall
    std::array<double, kMaxModificationFactors + 1> pFactor;
    std::array<double, kMaxModificationFactors + 1> yFactor;
};

// User-specified p-y curves with their multipliers applied, 1-based.
struct UserPYCurves {
    double pMultiplier;  // of the curve record being read; reset to 1.0 at every problem start
    double yMultiplier;
    int32_t count;
    int32_t rowsWritten;  // highest curve written since the blocks were cleared: the clearing stops there
    std::array<int32_t, kMaxCurves + 1> node;
    std::array<int32_t, kMaxCurves + 1> pointCount;
    std::array<std::array<double, kMaxCurvePoints + 1>, kMaxCurves + 1> p;
    std::array<std::array<double, kMaxCurvePoints + 1>, kMaxCurves + 1> y;
};

// The curve set the solver reads, 1-based; p is a force per station (times h).
struct PYCurveStore {
    int32_t count;
    int32_t rowsWritten;  // highest curve written since the blocks were cleared: the clearing stops there
    std::array<int32_t, kMaxCurves + 1> from;  // station position
    std::array<int32_t, kMaxCurves + 1> to;    // station position
    std::array<int32_t, kMaxCurves + 1> continuation;
    std::array<int32_t, kMaxCurves + 1> pointCount;
    std::array<std::array<double, kMaxCurvePoints + 1>, kMaxCurves + 1> y;
    std::array<std::array<double, kMaxCurvePoints + 1>, kMaxCurves + 1> p;
};

// Moment-EI curves, 1-based; first and last are station positions.
struct MEICurveStore {
    int32_t count;
    std::array<int32_t, kMaxMEICurves + 1> first;
    std::array<int32_t, kMaxMEICurves + 1> last;
    std::array<int32_t, kMaxMEICurves + 1> pointCount;
    std::array<std::array<double, kMaxMEIPoints + 1>, kMaxMEICurves + 1> moment;
    std::array<std::array<double, kMaxMEIPoints + 1>, kMaxMEICurves + 1> ei;
};

// The earth-pressure profile of the problem (specified or read back from the scratch profile file),
// 1-based rows: depth, total pressure times h (the load per station), soil pressure, surcharge pressure.
struct EarthPressureProfile {
    int32_t count;
    int32_t rowsWritten;  // highest row written since the blocks were cleared: the clearing stops there
    std::array<double, kMaxProfileRows + 1> depth;
    std::array<double, kMaxProfileRows + 1> total;
    std::array<double, kMaxProfileRows + 1> soil;
    std::array<double, kMaxProfileRows + 1> surcharge;
};

// Values the engine leaves for the curve generator's pressure shift. A value that a problem does not set
// keeps what an earlier problem of the run left.
struct ExcavationLevelValues {
    double pressure;  // ExcavationLevelPressure: last profile row's total, times WA, not yet times h
    double stress;    // ExcavationLevelStress: effective overburden at the top of the excavation sublayer
};

}  // namespace velmor::engine
