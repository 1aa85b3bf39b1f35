#include "earth_pressure.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "engine_errors.h"
#include "runtime/engine_math.h"

namespace velmor::engine {

namespace {

using Work = EarthPressureWork;

// Sand (4) and silt (5) carry water pressure and lose buoyant weight below the water table.
bool isDrained(int32_t soilType) {
    return soilType == 4 || soilType == 5;
}

void copyInput(Engine& e) {
    Work& w = e.st.earth;
    const WallSoilInput& in = e.st.wallSoil;

    // Unit weight of water, force per cubic inch or kN per cubic metre, as single-precision constants.
    // Generic units keep what an earlier problem set.
    if (e.st.run.unitSystem == 1) w.gammaWater = double(0.036f);
    if (e.st.run.unitSystem == 2) w.gammaWater = double(9.81f);

    w.freeHeight = in.freeHeight;
    w.wa = in.wa;
    w.wp = in.wp;
    w.waterTableBackfill = in.waterTableBackfill;
    w.waterTableExcavation = in.waterTableExcavation;
    w.activeModification = in.activeModification;
    w.waterFlag = in.wallItem;
    w.backfillSlope = in.backfillSlope;
    w.uniformPressure = in.sixValues[1];
    w.distance = in.sixValues[2];
    w.pointLoad = in.sixValues[3];
    w.lineLoad = in.sixValues[4];
    w.stripLoad = in.sixValues[5];
    w.stripWidth = in.sixValues[6];

    const int n = std::max(in.layerCount, 0);
    for (int i = 1; i <= Work::kMaxLayers; ++i) {
        if (i <= n) {
            w.layerThickness[i] = in.thickness[i];
            w.layerUnitWeight[i] = in.top[i][1];
            w.layerCohesion[i] = in.top[i][2];
            w.layerPhi[i] = in.top[i][3];
            w.layerDrained[i] = isDrained(in.soilType[i]);
        } else {
            w.layerThickness[i] = -1.0;  // ends the layer list
            w.layerCohesion[i] = 0.0;
            w.layerPhi[i] = 0.0;
            w.layerUnitWeight[i] = 0.0;
            w.layerDrained[i] = true;
        }
    }
    for (int i = 1; i <= Work::kMaxSublayers; ++i) {
        w.modification[i] = 1.0;
        w.secondFactor[i] = 1.0;
    }
}

// Appends a sublayer with the properties of layer j; false (and the overflow flag) when the block is full.
bool addSublayer(Work& w, int j, double top, double thickness) {
    if (w.sublayerCount >= Work::kMaxSublayers) {
        w.overflow = true;
        return false;
    }
    const int i = ++w.sublayerCount;
    w.ztop[i] = top;
    w.thickness[i] = thickness;
    w.cohesion[i] = w.layerCohesion[j];
    w.phi[i] = w.layerPhi[j];
    w.unitWeight[i] = w.layerUnitWeight[j];
    w.drained[i] = w.layerDrained[j];
    w.modification[i] = w.activeModification;
    w.secondFactor[i] = 1.0;
    return true;
}

std::string wallBlock() {
    return "(" + ReportFrame("*                WALL INFORMATION                *") +
           ",/,/,6X,'FREE HEIGHT OF WALL                    = ',E10.3,A3,"
           "/,6X,'WIDTH FOR EARTH PRESSURE, WA           = ',E10.3,A3,"
           "/,6X,'WIDTH FOR SOIL RESISTANCE, WP          = ',E10.3,A3,"
           "/,6X,'DEPTH TO THE WATER TABLE AT BACKFILL   = ',E10.3,A3,"
           "/,6X,'DEPTH TO THE WATER TABLE AT EXCAVATION = ',E10.3,A3,"
           "/,6X,'UNIT WEIGHT OF WATER                   = ',E10.3,A4,A1,A2,A2,A1,"
           "/,6X,'SLOPE OF THE BACKFILL (deg.)           = ',E10.3,"
           "/,6X,'MODIFICATION FOR ACTIVE EARTH PRESSURE = ',E10.3,/)";
}

std::string surchargeBlock() {
    return "(" + ReportFrame("*              SURCHARGE INFORMATION             *") +
           ",/,/,6X,'UNIFORM SURFACE PRESSURE     =',E10.3,A4,A1,A2,A2,A1)";
}

const char* const kPointRow =
    "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,6X,'POINT LOAD                   = ',E10.3,A4,"
    "/,6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,6X,'THE WALL AND SURCHARGE         ',/)";
const char* const kLineRow =
    "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,6X,'LINE LOAD                    = ',E10.3,A4,A1,A2,"
    "/,6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,6X,'THE WALL AND SURCHARGE         ',/)";
const char* const kStripRow =
    "(/,6X,'SURCHARGE LOADING NO.        = ',I10,/,6X,'STRIP LOAD                   = ',E10.3,A4,A1,A2,A2,A1,"
    "/,6X,'WIDTH OF THE STRIP LOAD      = ',E10.3,A3,"
    "/,6X,'HORIZONTAL DISTANCE BETWEEN  = ',E10.3,A3,/,6X,'THE WALL AND SURCHARGE         ',/)";
// The soil block's heading by unit system; generic units get the frame alone.
std::string soilBlock(int32_t unitSystem) {
    const std::string frame = ReportFrame("*                SOIL INFORMATION                *");
    const std::string heading =
        ",/,/,15X,'TOTAL',17X,'TOTAL UNIT',/,1X,6X,'LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP',";
    if (unitSystem == 1)
        return "(" + frame + heading + "/,7X,'NO.',5X,'IN',8X,'PSI',5X,'DEG',5X,'PCI',5X,'T OR F',3X,'IN')";
    if (unitSystem == 2)
        return "(" + frame + heading + "/,7X,'NO.',6X,'M ',7X,'kPa',5X,'DEG',3X,'kN/M^3',4X,'T OR F',3X,' M ')";
    return "(" + frame + ")";
}

// Both water tables are depths below the top of the wall, which is the top of the retained soil. Water
// standing above it is not modelled: the effective stresses would start from a pore pressure that no
// overburden carries (negative stresses, sand treated as cracked, a far too small active force), and the
// excavation side's water would be taken off the profile over a height the backfill never gets. A table
// within the tolerance of the top counts as at the top, as every depth comparison of the module does.
void checkWaterTables(Engine& e) {
    const Work& w = e.st.earth;
    if (w.waterTableBackfill < -w.tolerance) {
        EndRunWithReport(e, "(/,/,'     ERROR -- WATER TABLE AT BACKFILL ABOVE THE TOP OF THE WALL')");
    }
    if (w.waterTableExcavation < -w.tolerance) {
        EndRunWithReport(e, "(/,/,'     ERROR -- WATER TABLE AT EXCAVATION ABOVE THE TOP OF THE WALL')");
    }
}

// Stop code 1: no sublayer starts at the excavation level, so the pressures have no excavation side. The
// one line before the stop code says why, naming the layer where one is at fault.
[[noreturn]] void stopWithoutExcavationLevel(Engine& e) {
    const Work& w = e.st.earth;
    const WallSoilInput& in = e.st.wallSoil;
    const std::string_view length = e.st.labels.lengthLong.view();
    if (w.overflow) {
        StopRun("1",
                "('     THE SOIL LAYERS, SPLIT AT THE EXCAVATION LEVEL AND THE WATER TABLE, MAKE MORE THAN',I3,"
                "' SUBLAYERS')",
                {Work::kMaxSublayers});
    }
    const int layers = std::min(in.layerCount, Work::kMaxLayers);
    if (layers < 1) StopRun("1", "('     NO SOIL LAYER IS GIVEN: THE EXCAVATION LEVEL LIES IN NO LAYER')");
    double bottom = 0.0;
    for (int j = 1; j <= layers; ++j) {
        bottom += w.layerThickness[j];
        if (!(w.layerThickness[j] > 0.0)) {
            StopRun("1", "('     SOIL LAYER',I3,' ENDS AT',E10.3,A3,', NOT BELOW THE TOP OF THE LAYER')",
                    {j, bottom, length});
        }
    }
    if (w.freeHeight < 0.0)
        StopRun("1", "('     THE FREE HEIGHT OF WALL',E10.3,A3,' LIES ABOVE THE TOP OF THE WALL')",
                {w.freeHeight, length});
    if (w.freeHeight >= e.st.run.wallLength && e.st.run.wallLength > 0.0) {
        StopRun("1", "('     THE FREE HEIGHT OF WALL',E10.3,A3,' IS NOT ABOVE THE TIP OF THE WALL AT',E10.3,A3)",
                {w.freeHeight, length, e.st.run.wallLength, length});
    }
    StopRun("1",
            "('     THE SOIL LAYERS END AT',E10.3,A3,' (LAYER',I3,'), NOT BELOW THE EXCAVATION LEVEL AT',E10.3,A3)",
            {bottom, length, layers, w.freeHeight, length});
}

}  // namespace

bool SameLevel(const EarthPressureWork& w, double a, double b) {
    return std::fabs(a - b) <= w.tolerance || rt::sameLength(a, b);
}

std::string ReportFrame(std::string_view title) {
    const std::string stars(50, '*');
    return "/,/,6X,'" + stars + "',/,6X,'" + std::string(title) + "',/,6X,'" + stars + "'";
}

void PrepareEarthPressure(Engine& e) {
    Work& w = e.st.earth;
    w.tolerance = double(1.0e-5f);
    const double tol = w.tolerance;
    e.io.open(kRunControlUnit, kDebugFile, rt::Access::Write);

    // The levels that split layers: the excavation level and the backfill water table, ascending, with
    // levels that count as one level counted once. Levels at or above the top of the wall split nothing.
    double levels[2] = {std::min(w.freeHeight, w.waterTableBackfill), std::max(w.freeHeight, w.waterTableBackfill)};
    int levelCount = SameLevel(w, levels[0], levels[1]) ? 1 : 2;
    int next = 0;
    while (next < levelCount && levels[next] <= tol) ++next;

    w.sublayerCount = 0;
    w.overflow = false;
    double top = 0.0;
    for (int j = 1; j <= Work::kMaxLayers && !w.overflow; ++j) {
        const double t = w.layerThickness[j];
        if (!(t > 0.0)) break;
        const double bottom = top + t;
        double splitTop = top;
        while (next < levelCount) {
            const double level = levels[next];
            if (SameLevel(w, level, bottom)) {
                ++next;  // moved onto the bottom: the layer boundary serves as the level
            } else if (level > splitTop && level < bottom) {
                if (!addSublayer(w, j, splitTop, level - splitTop)) break;
                splitTop = level;
                ++next;
            } else {
                break;
            }
        }
        if (w.overflow || !addSublayer(w, j, splitTop, bottom - splitTop)) break;
        top = bottom;
    }

    w.excavationSublayer = 0;
    w.waterTableSublayer = 0;
    for (int i = 1; i <= w.sublayerCount; ++i) {
        if (SameLevel(w, w.ztop[i], w.freeHeight)) w.excavationSublayer = i;
        if (SameLevel(w, w.ztop[i], w.waterTableBackfill)) w.waterTableSublayer = i;
    }
}

void OUTPT(Engine& e) {
    const Work& w = e.st.earth;
    const UnitLabels& u = e.st.labels;
    const WallSoilInput& in = e.st.wallSoil;

    e.io.write(
        kReportUnit, wallBlock(),
        {w.freeHeight, u.lengthLong.view(), w.wa, u.lengthLong.view(), w.wp, u.lengthLong.view(), w.waterTableBackfill,
         u.lengthLong.view(), w.waterTableExcavation, u.lengthLong.view(), w.gammaWater, u.forceLong.view(),
         u.slash.view(), u.lengthShort.view(), u.power.view(), u.three.view(), w.backfillSlope, w.activeModification});
    e.io.write(
        kReportUnit, surchargeBlock(),
        {w.uniformPressure, u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view()});
    for (int k = 1; k <= in.surchargeCount; ++k) {
        const double load = in.surchargeMagnitude[k];
        const double x = in.surchargeDistance[k];
        switch (in.surchargeType[k]) {
            case 1:
                e.io.write(kReportUnit, kPointRow, {k, load, u.forceLong.view(), x, u.lengthLong.view()});
                break;
            case 2:
                e.io.write(kReportUnit, kLineRow,
                           {k, load, u.forceLong.view(), u.slash.view(), u.lengthShort.view(), x, u.lengthLong.view()});
                break;
            case 3:
                e.io.write(kReportUnit, kStripRow,
                           {k, load, u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(),
                            u.two.view(), in.surchargeWidth[k], u.lengthLong.view(), x, u.lengthLong.view()});
                break;
            default:
                break;
        }
    }

    const int unitSystem = e.st.run.unitSystem;
    e.io.write(kReportUnit, soilBlock(unitSystem));
    for (int i = 1; i <= w.sublayerCount; ++i) {
        e.io.write(kReportUnit, "(7X,I3,F9.1,F11.1,F6.1,F9.3,5X,L1,F10.2)",
                   {i, w.thickness[i], w.cohesion[i], w.phi[i], w.unitWeight[i], w.drained[i], w.ztop[i]});
    }

    if (w.excavationSublayer == 0) stopWithoutExcavationLevel(e);
    if (w.overflow) StopRun("2", "()");
}

void INITIAL(Engine& e) {
    Work& w = e.st.earth;
    for (int i = 1; i <= Work::kMaxSublayers + 1; ++i) {
        w.pa1[i] = w.pa2[i] = w.pa3[i] = w.pa4[i] = 0.0;
        w.z1[i] = w.z2[i] = w.z3[i] = 0.0;
        w.zc[i] = 0.0;
        w.pw1[i] = w.pw2[i] = 0.0;
        w.depthMarker[0][i] = -1000.0;
        w.depthMarker[1][i] = -1000.0;
        w.depthMarker[2][i] = -double(1.0e-5f);
        w.spareField[i] = 0.0;
    }
    w.resultant = 0.0;
}

void ComputeEarthPressure(Engine& e) {
    const WallSoilInput& in = e.st.wallSoil;
    // The module holds ten layers; the surcharge table twenty rows.
    if (in.layerCount > EarthPressureWork::kMaxLayers || in.surchargeCount > kMaxSurcharges) EndRunTooMuchData(e);
    copyInput(e);
    PrepareEarthPressure(e);
    OUTPT(e);
    checkWaterTables(e);
    INITIAL(e);
    START(e);
    FORCES(e);
    WritePressureProfile(e);
}

}  // namespace velmor::engine
