#include "soil/generator_support.h"

#include <algorithm>
#include <cmath>

#include "engine_errors.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

StationRange LayerStations(Engine& e, int column, int layer) {
    if (layer < 1 || layer > kSoilLayerSlots || column < 1 || column > kStationRecordValues) EndRunTooMuchData(e);
    const StationRange range{e.st.soil.firstStation[layer], e.st.soil.lastStation[layer]};
    if (range.first <= range.last && (range.first < 1 || range.last > kStationSlots)) EndRunTooMuchData(e);
    return range;
}

double LookUpClayValues(EngineState& st, double d) {
    StationSoilValues& sv = st.stationSoil;
    sv.elementWidth = ElementWidthAtDepth(st, 1, d);
    sv.cohesion = StrengthAtDepth(st, d);
    sv.unitWeight = AverageUnitWeight(st, d);
    return E50AtDepth(st, d);
}

void LayerResistanceSum::add(SoilModel& soil, int layer, const StationSide& at, double pu, double factor) {
    if (at.side != kExcavationSide) return;
    if (at.firstOfLayer) {
        soil.layerResistance[layer] = 0.0;
    } else {
        soil.layerResistance[layer] += (pu + previousPu_) * 0.5 * factor * (at.d - previousD_);
    }
    previousPu_ = pu;
    previousD_ = at.d;
}

double ExcavationPressurePerSpacing(const EngineState& st) {
    const double pressure = st.excavationLevel.pressure;
    return pressure > double(1e-4f) ? pressure / st.soil.spacingRatio : 0.0;
}

double ClayPressureShift(const EngineState& st, double b, double c) {
    const double fromStress = b * st.excavationLevel.stress - 2.0 * c * b;
    const double fromPressure = ExcavationPressurePerSpacing(st) - 2.0 * c * b;
    const double shift = std::max(fromStress, fromPressure);
    return shift <= double(1e-10f) ? 0.0 : shift;
}

double FrictionalPressureShift(const EngineState& st, double b, double c, double ka) {
    const double cohesionTerm = 2.0 * c * std::sqrt(ka) * b;
    const double fromPressure = ExcavationPressurePerSpacing(st) - cohesionTerm;
    const double fromStress = st.excavationLevel.stress * ka * b - cohesionTerm;
    const double shift = std::max(fromPressure, fromStress);
    return shift < double(1e-5f) ? 0.0 : shift;
}

CurveMultipliers MultipliersAtDepth(const EngineState& st, double depthBelowTop) {
    return {PMultiplierAtDepth(st, depthBelowTop), YMultiplierAtDepth(st, depthBelowTop)};
}

HeadingItems& HeadingItems::length() {
    items_.push_back(u_.lengthShort.view());
    return *this;
}

HeadingItems& HeadingItems::forcePerLength() {
    items_.insert(items_.end(), {u_.forceShort.view(), u_.slash.view(), u_.lengthShort.view()});
    return *this;
}

HeadingItems& HeadingItems::stress() {
    items_.insert(items_.end(),
                  {u_.forceShort.view(), u_.slash.view(), u_.lengthShort.view(), u_.power.view(), u_.two.view()});
    return *this;
}

HeadingItems& HeadingItems::unitWeight() {
    items_.insert(items_.end(),
                  {u_.forceShort.view(), u_.slash.view(), u_.lengthShort.view(), u_.power.view(), u_.three.view()});
    return *this;
}

HeadingItems& HeadingItems::values(std::initializer_list<double> numbers) {
    items_.insert(items_.end(), numbers.begin(), numbers.end());
    return *this;
}

void WriteSideTitle(Engine& e, int side) {
    if (side == kExcavationSide) {
        e.io.write(kReportUnit, "(/,/,9X,'AT THE EXCAVATION SIDE')");
    } else {
        e.io.write(kReportUnit, "(/,/,9X,'AT THE BACKFILL SIDE')");
    }
}

void WriteMultiplierLine(Engine& e, const CurveMultipliers& m) {
    e.io.write(kReportUnit, "(/,21X,' P-Multiplier = ',E10.3,' Y-Multiplier = ',E10.3)", {m.p, m.y});
}

void WriteCurveHeader(Engine& e, double depthBelowTop) {
    e.st.soil.currentCurveDepth = depthBelowTop;
    e.io.writeList(kCurveScratchUnit, {depthBelowTop, kPointsPerCurve});
    ++e.st.soil.curvesWritten;
}

void WriteCurvePoint(Engine& e, std::string_view format, int number, double p, double y) {
    if (!std::isfinite(p) || !std::isfinite(y)) {
        const SoilModel& soil = e.st.soil;
        const int layer = std::clamp(soil.currentLayer, 0, kSoilLayerSlots);
        EndRunWithReport(e,
                         "(/,/,5X,'INPUT SOIL LAYER',I3,': THE P-Y CURVE AT',F10.2,A3,' IS NOT FINITE',/,5X,"
                         "'(CHECK THE SOIL VALUES OF THE LAYER)',/,/)",
                         {soil.inputLayer[layer], soil.currentCurveDepth, e.st.labels.lengthLong.view()});
    }
    e.io.write(kCurveScratchUnit, format, {number, p, y});
}

void CheckCurveValuesFinite(Engine& e, double depthBelowTop, const double* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (std::isfinite(values[i])) continue;
        e.st.soil.currentCurveDepth = depthBelowTop;
        // One message for every non-finite curve value: WriteCurvePoint ends the run before it writes.
        WriteCurvePoint(e, "(I5,1X,E10.3,1X,E10.3)", 0, values[i], 0.0);
    }
}

void CheckCurveValuesFinite(Engine& e, double depthBelowTop, std::initializer_list<double> values) {
    CheckCurveValuesFinite(e, depthBelowTop, values.begin(), static_cast<int>(values.size()));
}

void CheckSideCurveFinite(Engine& e, double depthBelowTop, std::initializer_list<double> printed,
                          const SideCurve& curve) {
    CheckCurveValuesFinite(e, depthBelowTop, printed);
    CheckCurveValuesFinite(e, depthBelowTop, {curve.multipliers.p, curve.multipliers.y});
    CheckCurveValuesFinite(e, depthBelowTop, curve.y.data() + 1, kPointsPerSide);
    CheckCurveValuesFinite(e, depthBelowTop, curve.p.data() + 1, kPointsPerSide);
}

void WriteSideCurveRows(Engine& e, std::string_view format, const SideCurve& curve) {
    for (int i = 1; i <= kPointsPerSide; ++i) e.io.write(kReportUnit, format, {curve.y[i], curve.p[i]});
}

void WriteSideCurvePoints(Engine& e, std::string_view format, const SideCurve& curve) {
    for (int i = 1; i <= kPointsPerSide; ++i) WriteCurvePoint(e, format, i, curve.p[i], curve.y[i]);
}

}  // namespace velmor::engine
