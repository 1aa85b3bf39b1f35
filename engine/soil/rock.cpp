#include "soil/rock.h"

#include <array>
#include <vector>

#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

constexpr const char* kRockPointFormat = "(I5,1X,2E10.3)";

void writeRockHeading(Engine& e, int side, double depth, double b, double su) {
    const std::vector<rt::FormatItem> items =
        HeadingItems(e.st.labels).length().length().stress().values({depth, b, su}).curveUnits().items();
    if (side == kExcavationSide) {
        e.io.write(kReportUnit,
                   "(/,/,17X,'DEPTH-EXCAVATION SIDE',5X,'DIAM',8X,'C',7X,/,30X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X,/,24X,"
                   "F10.2,5X,F10.3,E10.1,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)",
                   items);
    } else {
        e.io.write(kReportUnit,
                   "(/,/,17X,'DEPTH-BACKFILL SIDE  ',5X,'DIAM',8X,'C',7X,/,30X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X,/,24X,"
                   "F10.2,5X,F10.3,E10.1,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)",
                   items);
    }
}

}  // namespace

RockCurve RockCurveParameters(double su, double b) {
    RockCurve c{};
    c.su = su;
    c.y1 = double(0.0004f) * b;
    c.p1 = 2000.0 * su * c.y1;
    c.pu = su * b;
    c.y2 = (c.pu - c.p1) / (100.0 * su) + c.y1;
    return c;
}

double RockResistance(const RockCurve& c, double y, double pMultiplier, double residual) {
    if (y < c.y1) return pMultiplier * 2000.0 * c.su * y;
    if (y < c.y2) return pMultiplier * ((y - c.y1) * 100.0 * c.su + c.p1);
    return residual;
}

void PYCurveRock(Engine& e, int column, int layer) {
    SoilModel& soil = e.st.soil;
    soil.threshold = double(1e-14f);
    const double freeHeight = e.st.wallSoil.freeHeight;
    double su = 0.0;
    double gamma = 0.0;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        // Depths below the excavation-side soil surface and below the top of the wall.
        const double zr = at.d - soil.top[1];
        const double zw = freeHeight + zr;
        const double b = ElementWidthAtDepth(e.st, 1, at.sideDepth);
        if (at.side == kExcavationSide) {
            // The input gives the unconfined compressive strength; the curve uses half of it.
            su = 0.5 * StrengthAtDepth(e.st, at.d);
            gamma = AverageUnitWeight(e.st, at.d);
        }
        const double depth = at.side == kExcavationSide ? zr : zw;

        const RockCurve c = RockCurveParameters(su, b);
        const double dy = c.y2 / 15.0;
        // The residual of the broken rock: the overburden at the side's depth, not scaled by the p-multiplier.
        const double residual = 0.5 * gamma * b * depth;
        const CurveMultipliers m = MultipliersAtDepth(e.st, at.depthBelowTop);
        std::array<double, kPointsPerSide + 1> y{};
        std::array<double, kPointsPerSide + 1> p{};
        for (int i = 1; i <= kPointsPerSide; ++i) {
            const double atY = (i - 1) * dy;
            p[i] = RockResistance(c, atY, m.p, residual);
            y[i] = m.y * atY;
        }

        CheckCurveValuesFinite(e, zw, {depth, b, su});
        CheckCurveValuesFinite(e, zw, y.data() + 1, kPointsPerSide);
        CheckCurveValuesFinite(e, zw, p.data() + 1, kPointsPerSide);
        if (at.side == kExcavationSide) WriteCurveHeader(e, zw);
        writeRockHeading(e, at.side, depth, b, su);
        for (int i = 1; i <= kPointsPerSide; ++i) {
            e.io.write(kReportUnit, "(1X,20X,2D20.3)", {y[i], p[i]});
            WriteCurvePoint(e, kRockPointFormat, i, p[i], y[i]);
        }
    });
}

}  // namespace velmor::engine
