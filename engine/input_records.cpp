#include "input_records.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine_errors.h"
#include "plot_file.h"
#include "runtime/engine_math.h"

namespace velmor::engine {

namespace {

constexpr const char* kStars = "**************************************************";

void writeBox(Engine& e, const char* title, bool emptyLineAfter) {
    e.io.write(kReportUnit, emptyLineAfter ? "(/,/,6X,A,/,6X,A,/,6X,A,/)" : "(/,/,6X,A,/,6X,A,/,6X,A)",
               {kStars, title, kStars});
}

// The count record of a table read from the input: more rows than the table holds end the run, a negative
// count reads as no rows.
int32_t readRowCount(Engine& e, int32_t capacity) {
    int32_t n = 0;
    e.io.readList(kInputUnit, {n});
    if (n > capacity) EndRunTooMuchData(e);
    return std::max(n, 0);
}

[[noreturn]] void stationsNotInOrder(Engine& e) {
    EndRunWithReport(e, "(/,/,'     ERROR STOP -- STATIONS NOT IN ORDER')");
}

[[noreturn]] void dataBeyondEnd(Engine& e) {
    EndRunWithReport(e, "(/,/,'     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END')");
}

// Array index of a station whose range has been checked.
std::size_t at(int32_t station) {
    return static_cast<std::size_t>(position(station));
}

// Stiffness, load and spring rows may reach two stations below the tip: the difference equations read the
// tables there, and the end check reports whatever input puts at stations NI+1 and NI+2.
int32_t lastTableStation(const Engine& e) {
    return e.st.control.ni + 2;
}

// The six values of a stiffness, load or spring record in the column order of the echo.
enum Column { kEI, kQ, kS, kT, kR, kP, kColumns };
using RowValues = std::array<double, kColumns>;

// Which station tables a kind of record feeds.
constexpr unsigned bit(Column c) {
    return 1u << c;
}
constexpr unsigned kStiffnessTables = bit(kEI);
constexpr unsigned kLoadTables = bit(kQ) | bit(kT) | bit(kP);
constexpr unsigned kSpringTables = bit(kS) | bit(kR);

StationReals& table(WallStations& w, int column) {
    switch (column) {
        case kEI:
            return w.ei;
        case kQ:
            return w.q;
        case kS:
            return w.s;
        case kT:
            return w.t;
        case kR:
            return w.r;
        default:
            return w.p;
    }
}

// Adds values over the stations a..b: linear from the start values at a to the end values at b, the two
// end stations receiving half, so that spans meeting at a station add up to the full value there.
void applySpan(Engine& e, unsigned tables, int32_t a, int32_t b, const RowValues& start, const RowValues& end) {
    if (b < a) stationsNotInOrder(e);
    for (int column = 0; column < kColumns; ++column) {
        if (!(tables & (1u << column))) continue;
        StationReals& t = table(e.st.stations, column);
        const double v0 = start[static_cast<std::size_t>(column)];
        const double v1 = end[static_cast<std::size_t>(column)];
        if (a == b) {
            t[at(a)] += v0;
            continue;
        }
        for (int32_t i = a; i <= b; ++i) t[at(i)] += v0 + (v1 - v0) * double(i - a) / double(b - a);
        t[at(a)] += -0.5 * v0;
        t[at(b)] += -0.5 * v1;
    }
    if (tables & bit(kEI)) {
        StationInts& reach = e.st.stations.eiReach;
        reach[at(a)] |= a == b ? kReachAbove | kReachBelow : kReachBelow;
        for (int32_t i = a + 1; i < b; ++i) reach[at(i)] = kReachAbove | kReachBelow;
        if (b > a) reach[at(b)] |= kReachAbove;
    }
}

// The span rule across the records of one step (stiffness, loads or springs). CONTD 1 closes or is a plain
// span, CONTD 2 opens a span that varies linearly up to the TO station of the next record.
class SpanRule {
  public:
    SpanRule(Engine& e, unsigned tables) : e_(e), tables_(tables) {}

    // Checks CONTD and the stations that the record's code uses; call before the echo.
    void check(int32_t from, int32_t to, int32_t contd) {
        if (contd != 1 && contd != 2) stationsNotInOrder(e_);
        int code = this->code(contd);
        if (code == 1 || code == 2) CheckStation(e_, from, 0, lastTableStation(e_));
        if (code != 2) CheckStation(e_, to, 0, lastTableStation(e_));
    }

    void apply(int32_t from, int32_t to, int32_t contd, const RowValues& v) {
        int code = this->code(contd);
        previousContd_ = contd;
        switch (code) {
            case 1:
                e_.io.write(kReportUnit, "(5X,2I4,I3,1X,6E10.3)",
                            {from, to, contd - 1, v[0], v[1], v[2], v[3], v[4], v[5]});
                applySpan(e_, tables_, from, to, v, v);
                break;
            case 2:
                e_.io.write(kReportUnit, "(5X,I4,4X,I3,1X,6E10.3)",
                            {from, contd - 1, v[0], v[1], v[2], v[3], v[4], v[5]});
                spanStart_ = from;
                startValues_ = v;
                openRowTo_ = to;
                openedByOwnRow_ = true;
                break;
            default:
                e_.io.write(kReportUnit, "(9X,I4,I3,1X,6E10.3)", {to, contd - 1, v[0], v[1], v[2], v[3], v[4], v[5]});
                applySpan(e_, tables_, spanStart_, to, startValues_, v);
                if (code == 4) {
                    spanStart_ = to;
                    startValues_ = v;
                    openedByOwnRow_ = false;
                }
                break;
        }
    }

    // A span still open after the last record of the step. One opened by a record of its own would be
    // dropped with its values: it is applied as a constant span over that record's stations instead. One
    // opened at the end of a closed span has already given that station its half value, like any span end.
    void finish() {
        if (previousContd_ != 2 || !openedByOwnRow_) return;
        CheckStation(e_, openRowTo_, 0, lastTableStation(e_));
        applySpan(e_, tables_, spanStart_, openRowTo_, startValues_, startValues_);
    }

  private:
    int code(int32_t contd) const { return contd + 2 * (previousContd_ - 1); }

    Engine& e_;
    unsigned tables_;
    int32_t previousContd_ = 1;
    int32_t spanStart_ = 0;
    int32_t openRowTo_ = 0;
    bool openedByOwnRow_ = false;
    RowValues startValues_{};
};

void writeDepthPressureHeading(Engine& e) {
    const UnitLabels& l = e.st.labels;
    e.io.write(kReportUnit,
               "(/,/,8X,' DEPTH         ACTIVE EARTH PRESSURE',/,8X,1X,A3,17X,A4,A1,A2,/,8X,"
               "'--------       ------------------------')",
               {l.lengthLong.view(), l.forceLong.view(), l.slash.view(), l.lengthShort.view()});
}

// Half a unit of the third significant digit of a value: how far an E10.3 field may move it.
double ThreeDigitRounding(double value) {
    const double magnitude = std::fabs(value);
    if (!(magnitude > 0.0) || !std::isfinite(magnitude)) return 0.0;
    // 0.ddd x 10^k: half a unit of the third digit is 0.5 x 10^(k - 3), k = floor(log10) + 1.
    return 0.5 * std::pow(10.0, std::floor(std::log10(magnitude)) - 2.0);
}

}  // namespace

void ReadSpecifiedPressure(Engine& e) {
    const ProblemControl& c = e.st.control;
    EarthPressureProfile& pr = e.st.profile;
    writeBox(e, "*        SPECIFIED ACTIVE EARTH PRESSURE         *", true);
    writeDepthPressureHeading(e);
    pr.count = readRowCount(e, kMaxProfileRows);
    pr.rowsWritten = std::max(pr.rowsWritten, pr.count);
    for (int32_t k = 1; k <= pr.count; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        double depth = 0.0, pressure = 0.0;
        e.io.readList(kInputUnit, {depth, pressure});
        pr.depth[i] = depth;
        pr.soil[i] = pressure;
        pr.surcharge[i] = 0.0;
        pr.total[i] = pressure * c.h;
        e.io.write(kReportUnit, "(6X,E10.3,10X,E10.3)", {depth, pressure});
    }
    e.st.excavationLevel.pressure = 0.0;
}

void CheckStation(Engine& e, int32_t station, int32_t lo, int32_t hi) {
    if (station >= lo && station <= hi) return;
    EndRunWithReport(e, "(/,/,'     ERROR STOP -- STATION ',A,' IS OUTSIDE THE RANGE ',A,' TO ',A)",
                     {std::to_string(station), std::to_string(lo), std::to_string(hi)});
}

void ReadControlRecord(Engine& e) {
    ProblemControl& c = e.st.control;
    e.io.readList(kInputUnit, {c.unitSystem, c.nds, c.nsr, c.npm, c.earthPressureOption, c.pyOption, c.nuc,
                               c.stageCount, c.meiCurveCount});
    e.st.results.rowCount = 0;
}

void EchoControlParameters(Engine& e) {
    ProblemControl& c = e.st.control;
    c.generateEarthPressureEcho = c.earthPressureOption >= 2 ? 1 : 0;
    c.generateCurvesEcho = c.pyOption == 2 ? 1 : 0;
    writeBox(e, "*        PROGRAM CONTROL PARAMETERS              *", true);
    e.io.write(kReportUnit, "(6X,'NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ',I2)", {c.nds});
    e.io.write(kReportUnit, "(6X,'NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ',I2)", {c.nsr});
    e.io.write(kReportUnit, "(6X,'GENERATE EARTH PRESSURE INTERNALLY                 = ',I2)",
               {c.generateEarthPressureEcho});
    e.io.write(kReportUnit, "(6X,'GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ',I2)", {c.generateCurvesEcho});
    e.io.write(kReportUnit, "(6X,'NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ',I2)", {c.npm});
    e.io.write(kReportUnit, "(6X,'NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ',I2)", {c.nuc});

    if (c.earthPressureOption < 0 || c.earthPressureOption > 3)
        EndRunWithReport(e, "(/,/,'     ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3')");
    if (c.pyOption < 0 || c.pyOption > 2)
        EndRunWithReport(e, "(/,/,'     ERROR -- P-Y CURVE OPTION MUST BE 0, 1 OR 2')");
    if (c.nds < 0 || c.nsr < 0 || c.npm < 0 || c.nuc < 0 || c.meiCurveCount < 0)
        EndRunWithReport(e, "(/,/,'     ERROR -- NEGATIVE COUNT IN THE CONTROL RECORD')");

    RunControl& run = e.st.run;
    run.earthPressureOption = c.earthPressureOption;
    run.nuc = c.nuc;
    run.unitSystem = c.unitSystem;
}

void ReadIncrements(Engine& e) {
    ProblemControl& c = e.st.control;
    e.io.readList(kInputUnit, {c.ni, c.h, c.maxDeflection, c.closureTolerance, c.freeHeight});
    const UnitLabels& l = e.st.labels;
    e.io.write(kReportUnit, "(6X,'NUMBER OF INCREMENTS                               = ',I3)", {c.ni});
    e.io.write(kReportUnit, "(6X,'INCREMENT LENGTH                                   = ',F7.3,A3)",
               {c.h, l.lengthLong.view()});
    e.io.write(kReportUnit, "(6X,'FREE HEIGHT OF WALL                                = ',F7.3,A3)",
               {c.freeHeight, l.lengthLong.view()});
    e.io.write(kReportUnit, "(6X,'MAXIMUM ALLOWABLE DEFLECTION                       = ',F7.3,A3)",
               {c.maxDeflection, l.lengthLong.view()});
    e.io.write(kReportUnit, "(6X,'DEFLECTION CLOSURE TOLERANCE                       = ',F7.5,A3)",
               {c.closureTolerance, l.lengthLong.view()});

    // The station tables hold NI + 7 positions of 414; h divides depths everywhere after this.
    if (c.ni < 1 || c.ni > kMaxIncrements)
        EndRunWithReport(e, "(/,/,'     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407')");
    if (!(c.h > 0.0)) EndRunWithReport(e, "(/,/,'     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO')");
}

void ReadRestraints(Engine& e) {
    const ProblemControl& c = e.st.control;
    WallStations& w = e.st.stations;
    RestraintValues& rv = e.st.restraints;
    if (c.nds > 0) {
        writeBox(e, "*        SPECIFIED DEFLECTIONS AND SLOPES        *", true);
        e.io.write(kReportUnit, "(5X,'     STA      CASE       DEFLECTION        SLOPE',/)");
    }
    w.restraintCode.fill(0);
    for (int32_t k = 1; k <= c.ni + 7; ++k) w.restraintCode[static_cast<std::size_t>(k)] = 1;
    rv.count = 0;
    if (c.nds > kMaxRestraints) EndRunTooMuchData(e);
    if (c.nds == 0) e.io.write(kReportUnit, "(/,20X)");

    int32_t previousStation = -1;
    int32_t footprintEnd = 0;  // deepest station whose boundary code an earlier row set
    for (int32_t k = 1; k <= c.nds; ++k) {
        int32_t kind = 0, s = 0;
        double deflection = 0.0, slope = 0.0;
        e.io.readList(kInputUnit, {kind, s, deflection, slope});
        std::size_t row = static_cast<std::size_t>(k);
        rv.station[row] = s;
        rv.restraintCase[row] = kind;
        rv.deflection[row] = deflection;
        rv.slope[row] = slope;
        rv.count = k;

        if (s < previousStation) stationsNotInOrder(e);
        previousStation = s;

        // A slope at s is expressed through stations s-1 and s+1, so it needs both inside the recursion's
        // range -1..NI+1; a deflection may be given at any station of that range.
        const bool givesSlope = kind >= 2;
        if (givesSlope) {
            CheckStation(e, s, 0, c.ni);
        } else {
            CheckStation(e, s, -1, c.ni + 1);
        }
        // The solver walks the rows in station order through the codes; two rows whose codes meet at a
        // station would overwrite each other and pair a slope with the wrong row.
        const int32_t first = givesSlope ? s - 1 : s;
        const int32_t last = givesSlope ? s + 1 : s;
        if (k > 1 && first <= footprintEnd) {
            EndRunWithReport(e,
                             "(/,/,'     ERROR STOP -- SPECIFIED DEFLECTIONS AND SLOPES OVERLAP AT STATION ',A,/,"
                             "'     GIVE A DEFLECTION AND A SLOPE AT ONE STATION AS ONE ROW OF CASE 3')",
                             {std::to_string(s)});
        }
        footprintEnd = last;

        if (kind >= 3) {
            w.restraintCode[at(s - 1)] = 3;
            w.restraintCode[at(s)] = 4;
            w.restraintCode[at(s + 1)] = 5;
            e.io.write(kReportUnit, "(10X,I3,7X,I2,3X,2(5X,E10.3))", {s, kind, deflection, slope});
        } else if (kind == 2) {
            w.restraintCode[at(s - 1)] = 3;
            w.restraintCode[at(s + 1)] = 5;
            e.io.write(kReportUnit, "(10X,I3,7X,I2,11X,'NONE',8X,E10.3)", {s, kind, slope});
        } else {
            w.restraintCode[at(s)] = 2;
            e.io.write(kReportUnit, "(10X,I3,7X,I2,8X,E10.3,9X,'NONE')", {s, kind, deflection});
        }
    }
}

bool ReadStationTables(Engine& e) {
    const ProblemControl& c = e.st.control;
    WallStations& w = e.st.stations;
    for (StationReals* t : {&w.ei, &w.q, &w.s, &w.t, &w.r, &w.p}) t->fill(0.0);
    w.eiReach.fill(0);
    e.st.moments.count = 0;

    const UnitLabels& l = e.st.labels;
    writeBox(e, "*        STIFFNESS AND LOAD DATA                 *", false);
    e.io.write(
        kReportUnit,
        "(6X,'EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,',/,6X,'S - STIFFNESS OF TRANSVERSE RESISTANCE,',"
        "/,6X,'T - TORQUE,              P - AXIAL LOAD,',/,6X,'R - STIFFNESS OF TORSIONAL RESISTANCE.',/,/,"
        "\"     FROM TO CONTD     EI         Q        S'        T         R         P\",/,/,"
        "18X,A4,A1,A2,A2,A1,4X,A4,4X,A4,A1,A2,3X,A3,A1,A3,2X,A3,A1,A3,4X,A4)",
        {l.forceLong.view(), l.dash.view(), l.lengthShort.view(), l.power.view(), l.two.view(), l.forceLong.view(),
         l.forceLong.view(), l.slash.view(), l.lengthShort.view(), l.lengthLong.view(), l.dash.view(),
         l.forceShort.view(), l.lengthLong.view(), l.dash.view(), l.forceShort.view(), l.forceLong.view()});

    if (c.nsr == 0) {
        e.io.write(kReportUnit, "(/,20X)");
        return false;
    }

    SpanRule stiffness(e, kStiffnessTables);
    for (int32_t k = 1; k <= c.nsr; ++k) {
        int32_t from = 0, to = 0, contd = 0;
        double ei = 0.0;
        e.io.readList(kInputUnit, {from, to, contd, ei});
        stiffness.check(from, to, contd);
        stiffness.apply(from, to, contd, {ei, 0.0, 0.0, 0.0, 0.0, 0.0});
    }
    stiffness.finish();

    const int32_t loadRows = readRowCount(e, kMaxLoadRows);
    ConcentratedMoments& moments = e.st.moments;
    SpanRule loads(e, kLoadTables);
    for (int32_t k = 1; k <= loadRows; ++k) {
        int32_t contd = 0, from = 0, to = 0;
        double lateral = 0.0, moment = 0.0, axial = 0.0;
        e.io.readList(kInputUnit, {contd, from, to, lateral, moment, axial});
        CheckStation(e, from, 0, lastTableStation(e));
        loads.check(from, to, contd);
        std::size_t row = static_cast<std::size_t>(k);
        moments.station[row] = from;
        moments.value[row] = moment == 0.0 ? 0.0 : moment / (2.0 * c.h);
        moments.count = k;
        loads.apply(from, to, contd, {w.ei[at(from)], lateral, 0.0, moment, 0.0, -axial});
    }
    loads.finish();

    int32_t springRows = 0;
    e.io.readList(kInputUnit, {springRows});
    RunControl& run = e.st.run;
    run.springRowCount = std::max(springRows, 0);
    run.firstSupportSet = run.lastSupportSet = false;
    run.firstSupportDepth = run.lastSupportDepth = -1.0;
    SpanRule springs(e, kSpringTables);
    for (int32_t k = 1; k <= springRows; ++k) {
        int32_t from = 0, to = 0, contd = 0;
        double lateral = 0.0, rotational = 0.0;
        e.io.readList(kInputUnit, {from, to, contd, lateral, rotational});
        CheckStation(e, from, 0, lastTableStation(e));
        springs.check(from, to, contd);
        // A support the earth-pressure trapezoid can use is a spring row at one station.
        if (k == 1 && from == to) {
            run.firstSupportDepth = from * c.h;
            run.firstSupportSet = true;
        }
        if (k == springRows && from == to) {
            run.lastSupportDepth = from * c.h;
            run.lastSupportSet = true;
        }
        springs.apply(from, to, contd, {w.ei[at(from)], 0.0, lateral, 0.0, rotational, 0.0});
    }
    springs.finish();
    return true;
}

void ReadWallAndSoil(Engine& e) {
    const ProblemControl& c = e.st.control;
    WallSoilInput& ws = e.st.wallSoil;
    e.io.readList(kInputUnit, {ws.freeHeight, ws.wa, ws.wp, ws.waterTableBackfill, ws.waterTableExcavation,
                               ws.activeModification, ws.wallItem, ws.backfillSlope});
    e.st.run.wa = ws.wa;
    auto& six = ws.sixValues;
    e.io.readList(kInputUnit, {six[1], six[2], six[3], six[4], six[5], six[6]});

    ws.surchargeCount = readRowCount(e, kMaxSurcharges);
    for (int32_t k = 1; k <= ws.surchargeCount; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        e.io.readList(kInputUnit,
                      {ws.surchargeType[i], ws.surchargeMagnitude[i], ws.surchargeDistance[i], ws.surchargeWidth[i]});
        // SI projects give the distance and the strip width in millimetres.
        if (c.unitSystem == 2) {
            ws.surchargeDistance[i] /= 1000.0;
            ws.surchargeWidth[i] /= 1000.0;
        }
    }

    ws.layerCount = readRowCount(e, kMaxLayers);
    double aboveBottom = 0.0;
    for (int32_t k = 1; k <= ws.layerCount; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        double bottom = 0.0;
        e.io.readList(kInputUnit, {ws.soilType[i], bottom});
        ws.thickness[i] = bottom - aboveBottom;
        aboveBottom = bottom;
        auto& t = ws.top[i];
        auto& b = ws.bottom[i];
        e.io.readList(kInputUnit, {t[1], t[2], t[3], t[4], t[5], t[6]});
        e.io.readList(kInputUnit, {b[1], b[2], b[3], b[4], b[5], b[6]});
    }
}

void ReadProfileFile(Engine& e) {
    EarthPressureProfile& pr = e.st.profile;
    const double wa = e.st.wallSoil.wa;
    e.io.open(kReadBackUnit, kProfileFile, rt::Access::Read);
    int32_t n = 0;
    e.io.readList(kReadBackUnit, {n});
    if (n > kMaxProfileRows || n < 0) {
        e.io.close(kReadBackUnit);
        if (n > kMaxProfileRows) EndRunTooMuchData(e);
        EndRunWithReport(e, "(/,/,'     ERROR -- NEGATIVE ROW COUNT IN THE SCRATCH PROFILE FILE')");
    }
    pr.count = n;
    pr.rowsWritten = std::max(pr.rowsWritten, n);
    for (int32_t k = 1; k <= n; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        double depth = 0.0, total = 0.0, soil = 0.0, surcharge = 0.0;
        e.io.readList(kReadBackUnit, {depth, total, soil, surcharge});
        pr.depth[i] = depth;
        pr.total[i] = total * wa;
        pr.soil[i] = soil * wa;
        pr.surcharge[i] = surcharge * wa;
    }
    e.io.close(kReadBackUnit);
}

void TakeInGeneratedProfile(Engine& e) {
    const ProblemControl& c = e.st.control;
    EarthPressureProfile& pr = e.st.profile;
    writeDepthPressureHeading(e);
    ReadProfileFile(e);
    const int32_t n = pr.count;
    ForEachProfileRow(n, ProfileRowStep(c.earthPressureOption, c.unitSystem, n), [&](int32_t row) {
        std::size_t i = static_cast<std::size_t>(row);
        e.io.write(kReportUnit, "(6X,E10.3,10X,E10.3)", {pr.depth[i], pr.total[i]});
    });
    e.st.excavationLevel.pressure = n >= 1 ? pr.total[static_cast<std::size_t>(n)] : 0.0;
    for (int32_t k = 1; k <= n; ++k) pr.total[static_cast<std::size_t>(k)] *= c.h;
}

void ApplyEarthPressureLoads(Engine& e) {
    const ProblemControl& c = e.st.control;
    const EarthPressureProfile& pr = e.st.profile;
    if (c.earthPressureOption < 1 || c.earthPressureOption > 3 || pr.count < 1) return;
    const int32_t n = pr.count;
    const double lastDepth = pr.depth[static_cast<std::size_t>(n)];
    const int32_t stations = rt::nintOfQuotient(lastDepth, c.h);
    // Loads below the last table station could not be stored; the end check would report them anyway.
    if (stations > c.ni + 3) dataBeyondEnd(e);
    // A generated profile comes back from the scratch file with three significant digits, so its last depth
    // (the excavation level, 4.572 m written as 4.57) can lie just above the station at that level. A station
    // below the last point by no more than that rounding takes the last point's load.
    const double readBackSlack = c.earthPressureOption >= 2 ? ThreeDigitRounding(lastDepth) : 0.0;
    double load = 0.0;
    for (int32_t j = 1; j <= stations; ++j) {
        const double z = j * c.h;
        if (z > lastDepth && z - lastDepth <= readBackSlack) load = pr.total[static_cast<std::size_t>(n)];
        for (int32_t k = 1; k <= n; ++k) {
            std::size_t i = static_cast<std::size_t>(k);
            if (!rt::lengthGreater(z, pr.depth[i])) {
                // The first point at or below z: the point above it lies above z, so the span is not empty.
                double depth0 = k == 1 ? 0.0 : pr.depth[i - 1];
                double total0 = k == 1 ? 0.0 : pr.total[i - 1];
                load = total0 + (pr.total[i] - total0) * (z - depth0) / (pr.depth[i] - depth0);
                break;
            }
        }
        // A station below every profile point keeps the load of the station above it.
        e.st.stations.q[at(j)] += load;
    }
}

void CheckTablesBeyondEnd(Engine& e) {
    const WallStations& w = e.st.stations;
    const std::size_t a = at(e.st.control.ni + 1);
    const std::size_t b = at(e.st.control.ni + 2);
    // Each value on its own: values of opposite sign must not cancel in a sum.
    const bool beyond = w.ei[a] != 0.0 || w.q[a] != 0.0 || w.s[a] != 0.0 || w.t[a] != 0.0 || w.r[a] != 0.0 ||
                        w.p[a] != 0.0 || w.ei[b] != 0.0 || w.t[b] != 0.0 || w.r[b] != 0.0 || w.p[b] != 0.0;
    if (beyond) dataBeyondEnd(e);
}

void ReadMEICurves(Engine& e) {
    const ProblemControl& c = e.st.control;
    MEICurveStore& mei = e.st.meiCurves;
    if (c.meiCurveCount > kMaxMEICurves) EndRunTooMuchData(e);
    mei.count = 0;
    for (int32_t k = 1; k <= c.meiCurveCount; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        int32_t first = 0, last = 0, count = 0;
        e.io.readList(kInputUnit, {first, last, count});
        // The update reads the deflections on both sides of each station it changes.
        CheckStation(e, first, 0, c.ni);
        CheckStation(e, last, 0, c.ni);
        if (last < first) stationsNotInOrder(e);
        if (count > kMaxMEIPoints) EndRunTooMuchData(e);
        if (count < kMinMEIPoints) {
            EndRunWithReport(e, "(/,/,'     ERROR -- M-EI CURVE ',A,' NEEDS AT LEAST 2 POINTS')", {std::to_string(k)});
        }
        mei.first[i] = position(first);
        mei.last[i] = position(last);
        mei.pointCount[i] = count;
        for (int32_t m = 1; m <= count; ++m) {
            std::size_t j = static_cast<std::size_t>(m);
            e.io.readList(kInputUnit, {mei.moment[i][j], mei.ei[i][j]});
        }
        mei.count = k;
    }
    e.st.stations.w.fill(0.0);
}

}  // namespace velmor::engine
