#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "engine_state.h"

namespace velmor::engine {

// Pieces that the p-y curve generators share: the walk over a layer's stations and both wall sides, the
// excavation-level pressure shift, the multipliers, the common report lines and the soildata records.

enum WallSide : int {
    kExcavationSide = 1,
    kBackfillSide = 2,
};

inline constexpr int kPointsPerSide = 17;
inline constexpr int kPointsPerCurve = 2 * kPointsPerSide;

// One station on one side of the wall.
struct StationSide {
    int station;  // index of the station record
    int side;     // kExcavationSide or kBackfillSide
    bool firstOfLayer;
    bool lastOfLayer;
    double d;              // station depth below the excavation-side soil surface
    double sideDepth;      // d on the excavation side, free height + d on the backfill side
    double depthBelowTop;  // free height + d: the curve header's depth and the multipliers' depth
};

// The station range of a layer, checked against the capacities (a bad layer, column or range ends the run
// with "TOO MUCH DATA FOR AVAILABLE STORAGE").
struct StationRange {
    int first;
    int last;  // last < first for a layer without stations
};
StationRange LayerStations(Engine& e, int column, int layer);

// Calls visit(const StationSide&) for every station of the layer in order, the excavation side first.
template <class Visit>
void ForEachStationSide(Engine& e, int column, int layer, Visit&& visit) {
    const StationRange range = LayerStations(e, column, layer);
    const double freeHeight = e.st.wallSoil.freeHeight;
    for (int s = range.first; s <= range.last; ++s) {
        const double d = e.st.soil.station[s][column];
        for (int side : {kExcavationSide, kBackfillSide}) {
            const StationSide at{s,
                                 side,
                                 s == range.first,
                                 s == range.last,
                                 d,
                                 side == kExcavationSide ? d : freeHeight + d,
                                 freeHeight + d};
            visit(at);
        }
    }
}

// Depth of the side below the equivalent top of the layer: a lower layer takes its resistance as if the layers
// above were of its own soil down to the equivalent depth of its top (EquivalentDepthLayered).
inline double EquivalentDepth(const SoilModel& soil, const StationSide& at, int layer) {
    return at.sideDepth - soil.top[layer] + soil.equivalentTopDepth[layer];
}

// The values a clay generator looks up at an excavation-side station, in this order: element width, cohesion
// and mean unit weight into StationSoilValues. Returns E50 at the depth.
double LookUpClayValues(EngineState& st, double d);

// A layer's ultimate resistance summed over its depth (SoilModel::layerResistance, force): trapezoids of the
// excavation-side resistance between the layer's stations. EquivalentDepthLayered takes the sums of the layers
// above a layer.
class LayerResistanceSum {
  public:
    // At an excavation-side station: the sum starts at the layer's first station, every later station adds
    // the trapezoid from the previous one times `factor`. The backfill side adds nothing.
    void add(SoilModel& soil, int layer, const StationSide& at, double pu, double factor = 1.0);
    // Depth of the station added last.
    double previousDepth() const { return previousD_; }

  private:
    double previousD_ = 0.0;
    double previousPu_ = 0.0;
};

// ExcavationLevelPressure divided by the spacing ratio, or 0.0 when the pressure is at or below 1e-4.
double ExcavationPressurePerSpacing(const EngineState& st);

// Shift P0 of the clay curves: the larger of b x ExcavationLevelStress - 2cb and the pressure term - 2cb;
// 0.0 when it is at or below 1e-10.
double ClayPressureShift(const EngineState& st, double b, double c);

// Shift pa of the sand (c = 0) and silt curves: the larger of the pressure term - 2c sqrt(Ka) b and
// ExcavationLevelStress x Ka x b - 2c sqrt(Ka) b; 0.0 when it is below 1e-5.
double FrictionalPressureShift(const EngineState& st, double b, double c, double ka);

// A resistance shifted down on the excavation side and up on the backfill side.
inline double ShiftedResistance(int side, double p, double shift) {
    return side == kExcavationSide ? p - shift : p + shift;
}

struct CurveMultipliers {
    double p;
    double y;
};
CurveMultipliers MultipliersAtDepth(const EngineState& st, double depthBelowTop);

// One side's curve: its 17 points (1-based) after the multipliers and the pressure shift.
struct SideCurve {
    CurveMultipliers multipliers;
    std::array<double, kPointsPerSide + 1> y;
    std::array<double, kPointsPerSide + 1> p;
};

// A generator's own point, before the multipliers and the shift.
struct UnscaledPoint {
    double y;
    double p;
};

// The side's curve from the generator's points pointAt(i), i = 1..17: y times the y-multiplier, p times the
// p-multiplier and shifted by `shift` (ShiftedResistance); the multipliers at the station's depth below the top
// of the wall.
template <class PointAt>
SideCurve ScaleSideCurve(const EngineState& st, const StationSide& at, double shift, PointAt&& pointAt) {
    SideCurve curve{};
    curve.multipliers = MultipliersAtDepth(st, at.depthBelowTop);
    for (int i = 1; i <= kPointsPerSide; ++i) {
        const UnscaledPoint point = pointAt(i);
        curve.y[i] = curve.multipliers.y * point.y;
        curve.p[i] = ShiftedResistance(at.side, curve.multipliers.p * point.p, shift);
    }
    return curve;
}

// The items of a generator's report heading: unit labels in the order its FORMAT prints them, and values.
class HeadingItems {
  public:
    explicit HeadingItems(const UnitLabels& labels) : u_(labels) {}
    HeadingItems& length();          // A2: "IN"
    HeadingItems& forcePerLength();  // A3,A1,A2: "LBS/IN"
    HeadingItems& stress();          // A3,A1,A2,A2,A1: "LBS/IN**2"
    HeadingItems& unitWeight();      // A3,A1,A2,A2,A1: "LBS/IN**3"
    // The units over the Y and P columns of the curve rows.
    HeadingItems& curveUnits() { return length().forcePerLength(); }
    HeadingItems& values(std::initializer_list<double> numbers);
    const std::vector<rt::FormatItem>& items() const { return items_; }

  private:
    const UnitLabels& u_;
    std::vector<rt::FormatItem> items_;
};

// "AT THE EXCAVATION SIDE" or "AT THE BACKFILL SIDE".
void WriteSideTitle(Engine& e, int side);
// The line after a curve's 17 rows with the two multipliers.
void WriteMultiplierLine(Engine& e, const CurveMultipliers& m);

// A station's curve header in soildata, (depth below the top of the wall, 34), list-directed.
void WriteCurveHeader(Engine& e, double depthBelowTop);
// One point record of soildata in the generator's format, (number, p, y). A value that is not finite ends
// the run with a message naming the layer instead of reaching the file.
void WriteCurvePoint(Engine& e, std::string_view format, int number, double p, double y);

// Ends the run with WriteCurvePoint's message when any value that a station's curve block is about to print
// is not finite, so that nothing of the block reaches the report or soildata.
void CheckCurveValuesFinite(Engine& e, double depthBelowTop, const double* values, int count);
void CheckCurveValuesFinite(Engine& e, double depthBelowTop, std::initializer_list<double> values);
// The same for the printed values of a side, its multipliers and its points.
void CheckSideCurveFinite(Engine& e, double depthBelowTop, std::initializer_list<double> printed,
                          const SideCurve& curve);

// The side's 17 rows (y, p) in the report, in the generator's row format.
void WriteSideCurveRows(Engine& e, std::string_view format, const SideCurve& curve);
// The side's 17 point records (number, p, y) in soildata, in the generator's point format.
void WriteSideCurvePoints(Engine& e, std::string_view format, const SideCurve& curve);

}  // namespace velmor::engine
