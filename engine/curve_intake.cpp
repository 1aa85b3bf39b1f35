#include "curve_intake.h"

#include <string>

#include "engine_errors.h"
#include "input_records.h"
#include "plot_file.h"
#include "runtime/engine_math.h"

namespace velmor::engine {

namespace {

// Curves may stand up to two stations below the tip, where the generator places its deepest stations; the
// solver cuts a chain that reaches past the tip there.
int32_t lastCurveStation(const Engine& e) {
    return e.st.control.ni + 2;
}

std::size_t idx(int32_t i) {
    return static_cast<std::size_t>(i);
}

void writeCurveBox(Engine& e) {
    e.io.write(
        kReportUnit, "(/,/,6X,A,/,6X,A,/,6X,A,/)",
        {"**************************************************", "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *",
         "**************************************************"});
}

void writeColumnHeading(Engine& e) {
    e.io.write(kReportUnit, "(/,\"     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \",/)");
}

void writePointHeading(Engine& e) {
    const UnitLabels& l = e.st.labels;
    e.io.write(kReportUnit,
               "(/,/,18X,'    Y    ',12X,'   P    ',/,18X,2X,A3,16X,A4,A1,A2,/,18X,'---------',12X,'--------')",
               {l.lengthLong.view(), l.forceLong.view(), l.slash.view(), l.lengthShort.view()});
}

void writePointEcho(Engine& e, double y, double p) {
    e.io.write(kReportUnit, "(17X,E10.3,10X,E10.3)", {y, p});
}

// The solver's lookup needs at least one segment, and the store holds 34 points a curve.
void checkCurvePoints(Engine& e, int32_t curve, int32_t pointCount) {
    if (pointCount > kMaxCurvePoints) EndRunTooMuchData(e);
    if (pointCount < kMinCurvePoints) {
        EndRunWithReport(e, "(/,/,'     ERROR -- P-Y CURVE ',A,' NEEDS AT LEAST 2 POINTS')", {std::to_string(curve)});
    }
}

// The first record of a user curve: its station and point count, and the multipliers into UserPYCurves.
struct UserCurveRecord {
    int32_t node;
    int32_t count;
};
UserCurveRecord readUserCurveRecord(Engine& e, int32_t curve) {
    UserPYCurves& u = e.st.userCurves;
    int32_t node = 0, count = 0;
    e.io.readList(kInputUnit, {node, count, u.pMultiplier, u.yMultiplier});
    checkCurvePoints(e, curve, count);
    CheckStation(e, node, 0, lastCurveStation(e));
    return {node, count};
}

// A point record of a user curve, (y, p), times the curve's multipliers.
struct UserCurvePoint {
    double y;
    double p;
};
UserCurvePoint readUserCurvePoint(Engine& e) {
    const UserPYCurves& u = e.st.userCurves;
    double y = 0.0, p = 0.0;
    e.io.readList(kInputUnit, {y, p});
    y *= u.yMultiplier;
    p *= u.pMultiplier;
    return {y, p};
}

void storeStation(PYCurveStore& store, int32_t k, int32_t station, int32_t flag, int32_t pointCount) {
    store.rowsWritten = std::max(store.rowsWritten, k);
    store.from[idx(k)] = position(station);
    store.to[idx(k)] = position(station);
    store.continuation[idx(k)] = flag;
    store.pointCount[idx(k)] = pointCount;
}

}  // namespace

void ReadUserCurves(Engine& e) {
    const ProblemControl& c = e.st.control;
    UserPYCurves& u = e.st.userCurves;
    u.count = 0;
    if (c.nuc > kMaxCurves) EndRunTooMuchData(e);
    for (int32_t k = 1; k <= c.nuc; ++k) {
        u.rowsWritten = std::max(u.rowsWritten, k);
        const auto [node, count] = readUserCurveRecord(e, k);
        writeColumnHeading(e);
        e.io.write(kReportUnit, "(/,9X,I4,I3,5X,2E14.3,1(10X,I3))", {node, 0, u.pMultiplier, u.yMultiplier, count});
        writePointHeading(e);
        for (int32_t j = 1; j <= count; ++j) {
            const auto [y, p] = readUserCurvePoint(e);
            writePointEcho(e, y, p);
            u.y[idx(k)][idx(j)] = y;
            u.p[idx(k)][idx(j)] = p;
        }
        u.node[idx(k)] = node;
        u.pointCount[idx(k)] = count;
        u.count = k;
    }
}

void ReadUserCurvesOnly(Engine& e) {
    const ProblemControl& c = e.st.control;
    UserPYCurves& u = e.st.userCurves;
    PYCurveStore& store = e.st.curves;
    writeCurveBox(e);
    if (c.nuc > kMaxCurves) EndRunTooMuchData(e);
    WriteCurveCountRecord(e, c.nuc);
    int32_t previousFlag = 0;
    for (int32_t k = 1; k <= c.nuc; ++k) {
        const auto [node, count] = readUserCurveRecord(e, k);
        WriteCurveHeader(e, node, count);
        const int32_t flag = rt::lengthLess(node * c.h, c.freeHeight) ? 0 : 1;
        storeStation(store, k, node, flag, count);

        writeColumnHeading(e);
        switch (2 * previousFlag + flag + 1) {
            case 1:
                e.io.write(kReportUnit, "(/,5X,2I4,I3,5X,2E14.3,1(8X,I4))",
                           {node, node, flag, u.pMultiplier, u.yMultiplier, count});
                break;
            case 2:
                e.io.write(kReportUnit, "(/,5X,I4,4X,I3,5X,2E14.3,1(10X,I3))",
                           {node, flag, u.pMultiplier, u.yMultiplier, count});
                break;
            default:
                e.io.write(kReportUnit, "(/,9X,I4,I3,5X,2E14.3,1(10X,I3))",
                           {node, flag, u.pMultiplier, u.yMultiplier, count});
                break;
        }
        previousFlag = flag;
        writePointHeading(e);

        for (int32_t j = 1; j <= count; ++j) {
            const auto [y, p] = readUserCurvePoint(e);
            WriteCurvePoint(e, y, p);
            writePointEcho(e, y, p);
            store.y[idx(k)][idx(j)] = y;
            store.p[idx(k)][idx(j)] = p * c.h;
        }
        store.count = k;
    }
}

namespace {

void readScratchCurves(Engine& e, int32_t userCurveCount, bool generatedOnly) {
    const ProblemControl& c = e.st.control;
    PYCurveStore& store = e.st.curves;
    int32_t n = 0;
    e.io.readList(kReadBackUnit, {n});
    e.io.writeList(kConsole, {n});
    WriteCurveCountRecord(e, n);
    if (n > kMaxCurves) EndRunTooMuchData(e);
    if (n < 0) EndRunWithReport(e, "(/,/,'     ERROR -- NEGATIVE CURVE COUNT IN THE SCRATCH CURVE FILE')");
    if (n == 0) {
        e.io.write(kReportUnit, "(/,20X)");
        return;
    }
    for (int32_t k = 1; k <= n; ++k) {
        if (k <= userCurveCount) {
            // A user curve as the generator copied it, multipliers already applied.
            int32_t node = 0, count = 0;
            e.io.readList(kReadBackUnit, {node, count});
            checkCurvePoints(e, k, count);
            CheckStation(e, node, 0, lastCurveStation(e));
            WriteCurveHeader(e, node, count);
            storeStation(store, k, node, 0, count);
            for (int32_t j = 1; j <= count; ++j) {
                int32_t number = 0;
                double p = 0.0, y = 0.0;
                e.io.readList(kReadBackUnit, {number, p, y});
                WriteCurvePoint(e, y, p);
                store.y[idx(k)][idx(j)] = y;
                store.p[idx(k)][idx(j)] = p * c.h;
            }
        } else {
            double depth = 0.0;
            int32_t listed = 0;  // always 34; the point lines are counted here
            e.io.readList(kReadBackUnit, {depth, listed});
            // A curve halfway between two stations goes to the deeper one in either unit system.
            const int32_t station = rt::nintOfQuotient(depth, c.h);
            CheckStation(e, station, 0, lastCurveStation(e));
            if (generatedOnly) {
                WriteGeneratedCurveHeader(e, depth);
            } else {
                WriteCurveHeader(e, station, kGeneratedCurvePoints);
            }
            storeStation(store, k, station, 1, kGeneratedCurvePoints);
            ScratchCurve sc{};
            for (int32_t j = 1; j <= kScratchCurvePoints; ++j) {
                int32_t number = 0;
                e.io.readList(kReadBackUnit, {number, sc.p[idx(j)], sc.y[idx(j)]});
            }
            const TwoSidedCurve two = BuildTwoSidedCurve(sc);
            for (int32_t j = 1; j <= kGeneratedCurvePoints; ++j) {
                WriteCurvePoint(e, two.y[idx(j)], two.p[idx(j)]);
                store.y[idx(k)][idx(j)] = two.y[idx(j)];
                store.p[idx(k)][idx(j)] = two.p[idx(j)] * c.h;
            }
        }
        store.count = k;
    }
}

}  // namespace

TwoSidedCurve BuildTwoSidedCurve(const ScratchCurve& c) {
    TwoSidedCurve out{};
    // Backfill side from its last point back to its origin (point 18), deflections turned negative.
    // Negation as 0.0 - v, so that a zero is written as 0.0 rather than -0.0.
    for (int32_t j = 1; j <= 17; ++j) {
        out.y[idx(j)] = 0.0 - c.y[idx(35 - j)];
        out.p[idx(j)] = c.p[idx(35 - j)];
    }
    // Excavation side from its second point on, resistance turned negative; its origin is the same point.
    for (int32_t j = 18; j <= kGeneratedCurvePoints; ++j) {
        out.y[idx(j)] = c.y[idx(j - 16)];
        out.p[idx(j)] = 0.0 - c.p[idx(j - 16)];
    }
    return out;
}

void ReadScratchCurves(Engine& e, int32_t userCurveCount, bool generatedOnly) {
    e.st.curves.count = 0;
    e.io.open(kReadBackUnit, kSoilDataFile, rt::Access::Read);
    try {
        readScratchCurves(e, userCurveCount, generatedOnly);
    } catch (...) {
        e.io.close(kReadBackUnit);
        throw;
    }
    e.io.close(kReadBackUnit);
}

void ReadModificationFactors(Engine& e) {
    const int32_t n = e.st.control.npm;
    WallSoilInput& ws = e.st.wallSoil;
    if (n > kMaxModificationFactors) EndRunTooMuchData(e);
    ws.pFactorCount = n;
    ws.yFactorCount = n;
    for (int32_t k = 1; k <= n; ++k) {
        e.io.readList(kInputUnit, {ws.factorDepth[idx(k)], ws.pFactor[idx(k)], ws.yFactor[idx(k)]});
    }
}

void ReadUserCurvesAhead(Engine& e) {
    writeCurveBox(e);
    ReadUserCurves(e);
}

}  // namespace velmor::engine
