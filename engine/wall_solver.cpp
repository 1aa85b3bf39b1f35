#include "wall_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine_errors.h"

namespace velmor::engine {

namespace {

// Equations are solved for stations -1 to NI+1; stations -2 and -3 above them carry no unknown.
constexpr int kFirstSolved = 3;

int stationOf(int pos) {
    return pos - 4;
}

[[noreturn]] void singularAt(Engine& e, int pos) {
    EndRunWithReport(e, "(/,/,'     ERROR STOP -- SINGULAR WALL EQUATIONS AT STATION',I5)", {stationOf(pos)});
}

[[noreturn]] void outOfRangeAt(Engine& e, int pos) {
    EndRunWithReport(e, "(/,/,'     ERROR STOP -- WALL SOLUTION OUT OF RANGE AT STATION',I5)", {stationOf(pos)});
}

// The increments and every count and point number the solve indexes by, checked against the block
// capacities; the input reading has rejected all of these already, with the same messages.
void checkInputs(Engine& e) {
    const EngineState& st = e.st;
    const ProblemControl& pc = st.control;
    if (pc.ni < 1 || pc.ni > kMaxIncrements)
        EndRunWithReport(e, "(/,/,'     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407')");
    if (!(pc.h > 0.0) || !(pc.twoH > 0.0) || !(pc.hSquared > 0.0) || !(pc.hCubed > 0.0))
        EndRunWithReport(e, "(/,/,'     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO')");
    if (st.curves.count > kMaxCurves) EndRunTooMuchData(e);
    for (int c = 1; c <= st.curves.count; ++c)
        if (st.curves.pointCount[c] > kMaxCurvePoints) EndRunTooMuchData(e);
    if (st.meiCurves.count > kMaxMEICurves) EndRunTooMuchData(e);
    for (int c = 1; c <= st.meiCurves.count; ++c)
        if (st.meiCurves.pointCount[c] > kMaxMEIPoints) EndRunTooMuchData(e);
}

// Adds one soil spring (intercept p0, stiffness es) with the given weight at position k.
void addSpring(SolverWork& sw, int k, double p0, double es, double weight) {
    sw.workingQ[k] += p0 * weight;
    sw.workingS[k] += es * weight;
}

}  // namespace

bool LookupCurve(const PYCurveStore& curves, int curve, double y, double& p0, double& es) {
    const int n = curves.pointCount[curve];
    const auto& ys = curves.y[curve];
    const auto& ps = curves.p[curve];
    if (n < 2) {
        // A single point bounds no segment: the curve resists nothing and the deflection counts as off it.
        p0 = 0.0;
        es = 0.0;
        return true;
    }
    bool off = n <= 2;
    int b = 0;
    if (y < ys[1]) {
        off = true;
        b = 2;
    } else {
        for (int m = 2; m <= n; ++m) {
            if (y <= ys[m]) {
                b = m;
                break;
            }
        }
        if (b == 0) {
            off = true;
            b = n;
        }
    }
    const int a = b - 1;
    if (ys[b] == ys[a]) {
        es = 0.0;
        p0 = 0.0;
    } else {
        // Tangent line of the segment: resistance = p0 - es*y, so es is a positive stiffness where the
        // resistance opposes the deflection.
        es = -(ps[b] - ps[a]) / (ys[b] - ys[a]);
        p0 = ps[a] + es * ys[a];
    }
    return off;
}

void AddSoilSprings(Engine& e) {
    EngineState& st = e.st;
    SolverWork& sw = st.solver;
    const WallStations& ws = st.stations;
    const PYCurveStore& curves = st.curves;
    const int tip = position(st.control.ni);

    for (int k = kFirstSolved; k <= tip + 1; ++k) {
        sw.workingS[k] = ws.s[k];
        sw.workingQ[k] = ws.q[k];
    }
    sw.offCurve = false;

    // Curves with the continuation flag chain to the next curve; the stations between two chained curves
    // get springs interpolated linearly, and each span end carries half, so that a station where two spans
    // meet gets one half from each.
    bool previousContinues = false;
    bool onlyOpened = false;  // c1 opened a chain that no later curve has closed yet
    int c1 = 0;
    for (int c = 1; c <= curves.count; ++c) {
        const bool continues = curves.continuation[c] == 1;
        if (!previousContinues) {
            c1 = c;
            if (continues) {
                previousContinues = true;
                onlyOpened = true;
                continue;
            }
        }
        const int start = curves.from[c1];
        const int end = curves.from[c];
        const int64_t span = int64_t{end} - int64_t{start};
        if (span < 0) EndRunWithReport(e, "(/,/,'     ERROR STOP -- STATIONS NOT IN ORDER')");
        if (span == 0 && c != c1) continue;  // a second curve at the same station is not used

        double p0a = 0.0, esa = 0.0, p0b = 0.0, esb = 0.0;
        if (span == 0) {
            // Stations above station -1 carry no equation (and may lie outside the tables).
            if (start >= kFirstSolved && start <= tip) {
                sw.offCurve |= LookupCurve(curves, c, ws.w[start], p0a, esa);
                addSpring(sw, start, p0a, esa, 1.0);
            }
        } else if (start < tip) {
            // A span reaching below the tip is cut there but keeps its full length for the interpolation.
            const int last = std::min(end, tip);
            double p0Start = 0.0, esStart = 0.0, p0Last = 0.0, esLast = 0.0;
            for (int k = std::max(start, kFirstSolved); k <= last; ++k) {
                const double f = static_cast<double>(int64_t{k} - start) / static_cast<double>(span);
                sw.offCurve |= LookupCurve(curves, c1, ws.w[k], p0a, esa);
                sw.offCurve |= LookupCurve(curves, c, ws.w[k], p0b, esb);
                const double p0 = p0a + (p0b - p0a) * f;
                const double es = esa + (esb - esa) * f;
                addSpring(sw, k, p0, es, 1.0);
                if (k == start) {
                    p0Start = p0;
                    esStart = es;
                }
                if (k == last) {
                    p0Last = p0;
                    esLast = es;
                }
            }
            if (start >= kFirstSolved) addSpring(sw, start, p0Start, esStart, -0.5);
            if (last >= kFirstSolved) addSpring(sw, last, p0Last, esLast, -0.5);
        }
        if (continues) c1 = c;
        previousContinues = continues;
        onlyOpened = false;
    }
    // A last curve that opens a chain no curve follows would otherwise be dropped unseen: it acts alone.
    if (previousContinues && onlyOpened) {
        const int k = curves.from[c1];
        if (k >= kFirstSolved && k <= tip) {
            double p0 = 0.0, es = 0.0;
            sw.offCurve |= LookupCurve(curves, c1, ws.w[k], p0, es);
            addSpring(sw, k, p0, es, 1.0);
        }
    }
}

void SolveDifferenceEquations(Engine& e) {
    EngineState& st = e.st;
    SolverWork& sw = st.solver;
    WallStations& ws = st.stations;
    const ProblemControl& pc = st.control;
    const int ni = pc.ni;
    const double h = pc.h;
    const double h2 = pc.hSquared;
    const double h3 = pc.hCubed;
    const double twoH = pc.twoH;
    const auto& ei = ws.ei;
    const auto& p = ws.p;
    const auto& r = ws.r;
    const auto& t = ws.t;
    auto& A = sw.a;
    auto& B = sw.b;
    auto& C = sw.c;

    A[1] = A[2] = B[1] = B[2] = C[1] = C[2] = 0.0;
    int j = 1;  // restraint row of the next code 2 or 5
    // The equation of the station above a slope restraint, kept until the station below it combines it.
    double g0 = 0.0, a0 = 0.0, b0 = 0.0, c0 = 0.0;

    for (int k = kFirstSolved; k <= ni + 5; ++k) {
        const double axialBelow = h * p[k + 1] + r[k + 1];
        const double axialAbove = h * p[k - 1] + r[k - 1];
        const double ca = ei[k - 1] - axialAbove * h * 0.25;
        const double cb = -2.0 * (ei[k - 1] + ei[k]);
        const double cc =
            (axialBelow + axialAbove) * h * 0.25 + h3 * sw.workingS[k] + 4.0 * ei[k] + ei[k - 1] + ei[k + 1];
        const double cd = -2.0 * (ei[k] + ei[k + 1]);
        const double ce = ei[k + 1] - axialBelow * h * 0.25;
        const double cf = h3 * sw.workingQ[k] - (t[k - 1] - t[k + 1]) * h2 * 0.5;
        const double beta = ca * B[k - 2] + cb;
        const double d = ca * A[k - 2] + beta * B[k - 1] + cc;
        const double g = d == 0.0 ? 0.0 : -1.0 / d;
        A[k] = ce * g;
        B[k] = (beta * A[k - 1] + cd) * g;
        C[k] = (ca * C[k - 2] + beta * C[k - 1] - cf) * g;

        const int code = ws.restraintCode[k];
        if (code >= 2 && code <= 5 && j > kMaxRestraints) EndRunTooMuchData(e);
        switch (code) {
            case 2:
                A[k] = 0.0;
                B[k] = 0.0;
                C[k] = st.restraints.deflection[j];
                ++j;
                break;
            case 3:
                g0 = g;
                a0 = A[k];
                b0 = B[k];
                c0 = C[k];
                // The slope at the next station, (W(k+2) - W(k)) / 2h, is the given one.
                A[k] = 1.0;
                B[k] = 0.0;
                C[k] = -twoH * st.restraints.slope[j];
                break;
            case 4:
                A[k] = 0.0;
                B[k] = 0.0;
                C[k] = st.restraints.deflection[j];
                break;
            case 5: {
                // The slope restraint's reaction couple acts at both neighbours of the restrained station:
                // the equation kept at code 3 is added to this one. A zero pivot on either side (also a
                // code 5 that no code 3 precedes) leaves no equation to solve.
                if (d == 0.0 || g0 == 0.0) singularAt(e, k);
                const double denominator = 1.0 - (b0 * B[k - 1] + a0 - 1.0) * g / g0;
                if (denominator == 0.0) singularAt(e, k);
                const double rr = 1.0 / denominator;
                const double slope = st.restraints.slope[j];
                A[k] = rr * A[k];
                B[k] = (b0 * A[k - 1] * g / g0 + B[k]) * rr;
                C[k] = ((b0 * C[k - 1] + twoH * slope + c0) * g / g0 + C[k]) * rr;
                ++j;
                break;
            }
            default:
                // A zero pivot would silently pin the station at zero deflection: a wall without rigidity
                // or support there has no solution, so the run ends naming the station.
                if (d == 0.0) singularAt(e, k);
                break;
        }
    }

    // Back-substitution; stations NI+2 and NI+3 have zero deflection during the iterations.
    auto& w = ws.w;
    const int tip = position(ni);
    w[tip + 2] = 0.0;
    w[tip + 3] = 0.0;
    w[tip + 1] = A[tip + 1] * w[tip + 3] + B[tip + 1] * w[tip + 2] + C[tip + 1];
    sw.exceeding = 0;
    sw.notClosed = 0;
    for (int k = tip; k >= position(0); --k) {
        const double old = w[k];
        w[k] = A[k] * w[k + 2] + B[k] * w[k + 1] + C[k];
        if (std::fabs(w[k]) > pc.maxDeflection) ++sw.exceeding;
        if (std::fabs(w[k] - old) > pc.closureTolerance) ++sw.notClosed;
    }
    w[kFirstSolved] = A[kFirstSolved] * w[kFirstSolved + 2] + B[kFirstSolved] * w[kFirstSolved + 1] + C[kFirstSolved];
    for (int k = kFirstSolved; k <= tip + 1; ++k)
        if (!std::isfinite(w[k])) outOfRangeAt(e, k);
}

void UpdateRigidity(Engine& e) {
    EngineState& st = e.st;
    const MEICurveStore& mei = st.meiCurves;
    auto& ei = st.stations.ei;
    const auto& reach = st.stations.eiReach;
    const auto& w = st.stations.w;
    const double h2 = st.control.hSquared;
    for (int i = 1; i <= mei.count; ++i) {
        const int n = mei.pointCount[i];
        if (n < 2) continue;  // a single point bounds no segment of the polyline
        const auto& mc = mei.moment[i];
        const auto& eic = mei.ei[i];
        // Only the wall's own stations: rigidity at a fictitious station would move the free ends.
        const int first = std::max(mei.first[i], position(0));
        const int last = std::min(mei.last[i], position(st.control.ni));
        for (int k = first; k <= last; ++k) {
            const double phi = std::fabs((w[k - 1] - 2.0 * w[k] + w[k + 1]) / h2);
            int m = n;
            for (int mm = 2; mm <= n - 1; ++mm) {
                if (phi * eic[mm] < mc[mm]) {
                    m = mm;
                    break;
                }
            }
            const int m1 = m - 1;
            const double denominator = (eic[m] - eic[m1]) * phi - mc[m] + mc[m1];
            if (denominator == 0.0) continue;  // no crossing on this segment: the previous EI stays
            const double tt = (mc[m1] - phi * eic[m1]) / denominator;
            // The curve gives the section's rigidity; an end station holds the share the stiffness rows
            // gave it, as the difference equations across the wall's ends are built on that share.
            const double updated = (eic[m1] + (eic[m] - eic[m1]) * tt) * RigidityWeight(reach[k]);
            if (std::isfinite(updated)) ei[k] = updated;
        }
    }
}

void IterateWall(Engine& e, MonitorRows monitor) {
    EngineState& st = e.st;
    SolverWork& sw = st.solver;
    const ProblemControl& pc = st.control;
    const int ni = pc.ni;
    auto& w = st.stations.w;

    for (int k = 1; k <= ni + 7; ++k) sw.savedW[k] = w[k];
    sw.iteration = 0;
    sw.notClosed = 0;
    sw.exceeding = 0;
    sw.offCurve = false;

    for (int iteration = 1; iteration <= pc.iterationLimit; ++iteration) {
        sw.iteration = iteration;
        AddSoilSprings(e);
        SolveDifferenceEquations(e);

        // Stations beyond the tip show zero: their values are fictitious, not deflections of the wall.
        for (int s = 1; s <= 5; ++s) sw.monitorW[s] = s <= ni ? w[position(s)] : 0.0;
        if (monitor == MonitorRows::Write) {
            const auto& m = sw.monitorW;
            if (sw.offCurve) {
                e.io.write(kMonitorUnit, "(3X,I4,7X,'YES',6X,I4,2X,5E10.3)",
                           {iteration, sw.notClosed, m[1], m[2], m[3], m[4], m[5]});
            } else {
                e.io.write(kMonitorUnit, "(3X,I4,7X,'NO',7X,I4,2X,5E10.3)",
                           {iteration, sw.notClosed, m[1], m[2], m[3], m[4], m[5]});
            }
        }

        if (sw.exceeding > 0) return;
        if (sw.notClosed > 0) continue;
        if (st.meiCurves.count <= 0) return;
        int moved = 0;
        for (int k = position(0); k <= position(ni); ++k)
            if (std::fabs(w[k] - sw.savedW[k]) > pc.closureTolerance) ++moved;
        if (moved == 0) return;
        for (int k = position(0); k <= position(ni); ++k) sw.savedW[k] = w[k];
        UpdateRigidity(e);
        sw.notClosed = moved;
    }
}

void WriteWallResults(Engine& e) {
    EngineState& st = e.st;
    SolverWork& sw = st.solver;
    const ProblemControl& pc = st.control;
    const int ni = pc.ni;
    const double h = pc.h;
    const double twoH = pc.twoH;
    const int tip = position(ni);
    auto& w = st.stations.w;
    const auto& ei = st.stations.ei;
    const auto& t = st.stations.t;

    // Second fictitious stations by linear extrapolation, so the end moments vanish.
    w[kFirstSolved - 1] = 2.0 * w[kFirstSolved] - w[kFirstSolved + 1];
    w[tip + 2] = 2.0 * w[tip + 1] - w[tip];

    auto& m = sw.moment;
    m[kFirstSolved - 1] = 0.0;
    m[kFirstSolved] = 0.0;  // the moment above station 0
    for (int k = kFirstSolved + 1; k <= tip + 2; ++k) m[k] = ei[k] * (w[k - 1] - 2.0 * w[k] + w[k + 1]) / pc.hSquared;

    for (int k = kFirstSolved; k <= tip + 1; ++k) {
        sw.slope[k] = (w[k + 1] - w[k - 1]) / twoH;
        double shear = (m[k + 1] - m[k - 1]) / twoH;
        double reaction = (m[k - 1] - 2.0 * m[k] + m[k + 1]) / h;
        // An applied moment enters the equations as a couple on the two neighbouring stations; take that
        // couple out of the shear and the net reaction. Derived from the moment load of every station, so
        // a moment row spread over several stations is corrected at each of them.
        const double here = t[k] / twoH;
        const double above = t[k - 1] / twoH;
        const double below = t[k + 1] / twoH;
        shear -= here;
        shear -= 0.5 * above;
        shear -= 0.5 * below;
        reaction += above;
        reaction -= below;
        sw.shear[k] = shear;
        sw.reaction[k] = reaction;
        if (!std::isfinite(sw.slope[k]) || !std::isfinite(m[k]) || !std::isfinite(shear) || !std::isfinite(reaction))
            outOfRangeAt(e, k);
    }

    e.io.write(kReportUnit, "(/,/,'     RESULTS -- ITERATION',I3,/,'     --------------------')", {sw.iteration});
    if (sw.offCurve) e.io.write(kReportUnit, "(/,'     ***** DEFLECTION OFF Q - W CURVES *****')");
    if (sw.exceeding != 0)
        e.io.write(kReportUnit, "(/,'     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***',I4,'  *** STATIONS *****')",
                   {sw.exceeding});
    if (sw.notClosed != 0)
        e.io.write(kReportUnit, "(/,\"     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\")");
    e.io.write(kReportUnit,
               "(/,\"   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI \")");
    const UnitLabels& u = st.labels;
    e.io.write(kReportUnit,
               "(12X,A3,9X,A3,20X,A3,A1,A2,7X,A4,7X,A4,7X,A3,A1,A2,A2,A1,/,"
               "\"   ------    ----        ----       -----'      ------      ------    ---------    ----------\")",
               {u.lengthLong.view(), u.lengthLong.view(), u.forceShort.view(), u.dash.view(), u.lengthShort.view(),
                u.forceLong.view(), u.forceLong.view(), u.forceShort.view(), u.dash.view(), u.lengthShort.view(),
                u.power.view(), u.two.view()});

    NodalResults& results = st.results;
    results.rowCount = 0;
    for (int s = 0; s <= ni + 1; ++s) {
        const int k = position(s);
        const double x = h * s;
        if (s <= ni)
            e.io.write(kReportUnit, "(2X,I4,2X,E10.3,6E12.3)",
                       {s, x, w[k], sw.slope[k], m[k], sw.shear[k], sw.reaction[k], ei[k]});
        const auto row = static_cast<std::size_t>(s);
        results.depth[row] = x;
        results.deflection[row] = w[k];
        results.moment[row] = m[k];
        results.shear[row] = sw.shear[k];
        results.reaction[row] = sw.reaction[k];
        results.rowCount = s + 1;
    }
}

void SolveWall(Engine& e) {
    // A problem that fails before its results leaves none behind, not an earlier problem's rows.
    e.st.results.rowCount = 0;
    checkInputs(e);
    IterateWall(e, MonitorRows::Write);
    WriteWallResults(e);
}

}  // namespace velmor::engine
