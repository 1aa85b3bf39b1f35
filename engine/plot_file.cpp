#include "plot_file.h"

namespace velmor::engine {

int32_t ProfileRowStep(int32_t earthPressureOption, int32_t unitSystem, int32_t rowCount) {
    if (earthPressureOption < 2 || rowCount <= 50) return 1;
    if (unitSystem == 1) return 6;
    if (unitSystem == 2) return 4;
    return 1;
}

void WriteEarthPressureSection(Engine& e) {
    const ProblemControl& c = e.st.control;
    EarthPressureProfile& pr = e.st.profile;
    if (c.earthPressureOption <= 0) {
        e.io.writeList(kPlotUnit, {0});
        return;
    }
    int32_t n = pr.count;
    int32_t step = ProfileRowStep(c.earthPressureOption, c.unitSystem, n);
    int32_t rows = ForEachProfileRow(n, step, [](int32_t) {});
    e.io.writeList(kPlotUnit, {rows});
    // The profile keeps total x h (the load per station); the file gets the pressure itself.
    const double h = c.h;
    ForEachProfileRow(n, step, [&](int32_t row) {
        std::size_t k = static_cast<std::size_t>(row);
        // Single-precision 1.0E-7 as the stored files carry it.
        if (pr.soil[k] == 0.0) pr.soil[k] = double(1.0e-7f);
        e.io.write(kPlotUnit, "(4(2X,E10.3))", {pr.depth[k], pr.total[k] / h, pr.soil[k], pr.surcharge[k]});
    });
}

void WriteCurveCountRecord(Engine& e, int32_t curveCount) {
    e.io.writeList(kPlotUnit, {e.st.control.unitSystem, curveCount});
}

void WriteCurveHeader(Engine& e, int32_t station, int32_t pointCount) {
    e.io.writeList(kPlotUnit, {station, pointCount});
}

void WriteGeneratedCurveHeader(Engine& e, double depth) {
    e.io.write(kPlotUnit, "(1X,F10.2,1X,I5)", {depth, kGeneratedCurvePoints});
}

void WriteCurvePoint(Engine& e, double y, double p) {
    e.io.writeList(kPlotUnit, {y, p});
}

void WriteResultsSection(Engine& e) {
    const NodalResults& r = e.st.results;
    int32_t rows = r.rowCount < 0 ? 0 : (r.rowCount > NodalResults::kMaxRows ? NodalResults::kMaxRows : r.rowCount);
    e.io.writeList(kPlotUnit, {e.st.control.seriesCode, rows, e.st.control.unitCode});
    for (int32_t i = 0; i < rows; ++i) {
        std::size_t k = static_cast<std::size_t>(i);
        e.io.write(kPlotUnit, "(5(1X,E13.4))", {r.depth[k], r.deflection[k], r.moment[k], r.shear[k], r.reaction[k]});
    }
}

}  // namespace velmor::engine
