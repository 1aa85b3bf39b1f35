#include "wall_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "run_driver.h"
#include "runtime/run_errors.h"
#include "soil/unit_labels.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

using velmor::test::readFile;
using velmor::test::sameText;
using velmor::test::ScratchDir;
using velmor::test::splitLines;

struct Point {
    double y, p;
};

// One problem set up as the input reading leaves it: increments, station tables, restraint codes and
// rows, curves; the monitor and report units open on files of a scratch directory.
class Wall {
  public:
    Wall(int ni, double h) {
        io.open(kMonitorUnit, "wall.vm4r", rt::Access::Write);
        io.open(kReportUnit, "wall.vm4o", rt::Access::Write);
        ProblemControl& c = st->control;
        c.unitSystem = 1;
        c.ni = ni;
        c.h = h;
        DeriveStepQuantities(*st);
        c.maxDeflection = 1e30;
        c.closureTolerance = 1e-9;
        c.iterationLimit = 100;
        for (int k = 1; k <= ni + 7; ++k) st->stations.restraintCode[k] = 1;
        SetUnitLabels(st->labels, 1);
    }

    // A constant value from station a to station b with half values at both ends, as a plain input row.
    void span(StationReals& table, int a, int b, double v) {
        markReach(table, a, b);
        if (a == b) {
            table[position(a)] += v;
            return;
        }
        for (int i = a; i <= b; ++i) table[position(i)] += (i == a || i == b) ? 0.5 * v : v;
    }
    // Linearly varying from va at station a to vb at station b, half values at both ends.
    void varying(StationReals& table, int a, int b, double va, double vb) {
        markReach(table, a, b);
        for (int i = a; i <= b; ++i) {
            double v = va + (vb - va) * (i - a) / (b - a);
            table[position(i)] += (i == a || i == b) ? 0.5 * v : v;
        }
    }
    // The sides of each station that a stiffness span covers, as the stiffness rows record them.
    void markReach(const StationReals& table, int a, int b) {
        if (&table != &st->stations.ei) return;
        auto& reach = st->stations.eiReach;
        for (int i = a; i <= b; ++i) {
            if (i > a || a == b) reach[position(i)] |= kReachAbove;
            if (i < b || a == b) reach[position(i)] |= kReachBelow;
        }
    }

    // A specified deflection/slope row: case 1 deflection, 2 slope, 3 both.
    void restrain(int station, int kase, double deflection, double slope) {
        RestraintValues& r = st->restraints;
        ++r.count;
        r.deflection[r.count] = deflection;
        r.slope[r.count] = slope;
        auto& code = st->stations.restraintCode;
        if (kase >= 3) {
            code[position(station - 1)] = 3;
            code[position(station)] = 4;
            code[position(station + 1)] = 5;
        } else if (kase == 2) {
            code[position(station - 1)] = 3;
            code[position(station + 1)] = 5;
        } else {
            code[position(station)] = 2;
        }
    }
    void clampTip() { restrain(st->control.ni, 3, 0.0, 0.0); }

    int curve(int station, int continues, const std::vector<Point>& points) {
        PYCurveStore& cs = st->curves;
        int c = ++cs.count;
        cs.from[c] = cs.to[c] = position(station);
        cs.continuation[c] = continues;
        cs.pointCount[c] = static_cast<int>(points.size());
        for (std::size_t m = 0; m < points.size(); ++m) {
            cs.y[c][m + 1] = points[m].y;
            cs.p[c][m + 1] = points[m].p;
        }
        return c;
    }

    int meiCurve(int from, int to, const std::vector<Point>& momentEI) {
        MEICurveStore& mc = st->meiCurves;
        int c = ++mc.count;
        mc.first[c] = position(from);
        mc.last[c] = position(to);
        mc.pointCount[c] = static_cast<int>(momentEI.size());
        for (std::size_t m = 0; m < momentEI.size(); ++m) {
            mc.moment[c][m + 1] = momentEI[m].y;
            mc.ei[c][m + 1] = momentEI[m].p;
        }
        return c;
    }

    double& q(int s) { return st->stations.q[position(s)]; }
    double& t(int s) { return st->stations.t[position(s)]; }
    double& r(int s) { return st->stations.r[position(s)]; }
    double w(int s) const { return st->stations.w[position(s)]; }
    double moment(int s) const { return st->solver.moment[position(s)]; }
    double shear(int s) const { return st->solver.shear[position(s)]; }
    double reaction(int s) const { return st->solver.reaction[position(s)]; }
    double slope(int s) const { return st->solver.slope[position(s)]; }

    std::string monitor() {
        io.close(kMonitorUnit);
        return readFile("wall.vm4r");
    }
    std::string report() {
        io.close(kReportUnit);
        return readFile("wall.vm4o");
    }

    ScratchDir dir;
    rt::RecordIO io;
    std::unique_ptr<EngineState> st = std::make_unique<EngineState>();
    Engine e{io, *st};
};

bool hasLine(const std::string& text, const std::string& line) {
    for (const std::string& l : splitLines(text))
        if (l == line) return true;
    return false;
}

// Discrete head deflection of a cantilever clamped at its tip under a head load P, with the half rigidity
// that a stiffness row gives the end stations. Summing the station curvatures Px/EI twice, with the clamp
// written as W(NI) = 0 and a central-difference slope (W(NI+1) - W(NI-1)) / 2h = 0, gives
//   W(0) = P L^3 / 3EI + P L h^2 / 6EI:
// the beam-theory value plus the central-difference term of the slope condition.
double clampedHeadDeflection(double p, double l, double h, double ei) {
    return p * l * l * l / (3.0 * ei) + p * l * h * h / (6.0 * ei);
}

TEST(WallSolverMechanics, CantileverUnderHeadLoad) {
    struct Case {
        int ni;
        double h, ei, p;
    };
    const Case cases[] = {
        {4, 1.0, 1.0, 1.0}, {20, 12.0, 2.9e9, 1500.0}, {60, 0.25, 45000.0, -12.5}, {300, 0.1, 1e5, 3.0}};
    for (const Case& c : cases) {
        Wall w(c.ni, c.h);
        w.span(w.st->stations.ei, 0, c.ni, c.ei);
        w.q(0) = c.p;
        w.clampTip();
        SolveWall(w.e);
        const double l = c.ni * c.h;
        // The recursion runs over a few hundred stations at most: rounding stays near 1e-12 relative.
        const double expected = clampedHeadDeflection(c.p, l, c.h, c.ei);
        EXPECT_NEAR(w.w(0), expected, 1e-10 * std::fabs(expected)) << "NI " << c.ni;
        EXPECT_EQ(w.st->solver.iteration, 2) << "linear wall: the second solution repeats the first";
        // Statically determinate above the clamp: M = P x exactly, zero at the free head.
        for (int s = 0; s < c.ni; ++s)
            EXPECT_NEAR(w.moment(s), c.p * s * c.h, 1e-9 * std::fabs(c.p * l)) << "NI " << c.ni << " station " << s;
        EXPECT_NEAR(w.w(c.ni), 0.0, 1e-12 * std::fabs(expected));
        EXPECT_NEAR(w.slope(c.ni), 0.0, 1e-10 * std::fabs(expected) / l);
    }
}

TEST(WallSolverMechanics, EndMomentOnCantilever) {
    // A moment M0 at the free head bends the wall to uniform curvature M0/EI: head deflection M0 L^2 / 2EI,
    // which the difference scheme reproduces exactly. The moment loads are spread over the stations
    // given; after the couple correction the shear and the net reaction above the clamp are zero.
    struct Case {
        int ni;
        double h, ei;
        int from, to;  // moment row span
        double value;  // moment per row
        double total;  // applied moment
    };
    const Case cases[] = {
        {10, 1.0, 100.0, 0, 0, 50.0, 50.0},
        {30, 6.0, 3.0e7, 0, 0, -2.0e5, -2.0e5},
        {20, 0.5, 2000.0, 0, 2, 40.0, 80.0},  // spread: 20, 40, 20 at stations 0, 1, 2
        {24, 2.0, 5.0e4, 3, 3, 300.0, 300.0},
    };
    for (const Case& c : cases) {
        Wall w(c.ni, c.h);
        w.span(w.st->stations.ei, 0, c.ni, c.ei);
        w.span(w.st->stations.t, c.from, c.to, c.value);
        w.clampTip();
        SolveWall(w.e);
        const double l = c.ni * c.h;
        if (c.from == 0 && c.to == 0) {
            const double expected = c.total * l * l / (2.0 * c.ei);
            EXPECT_NEAR(w.w(0), expected, 1e-10 * std::fabs(expected)) << "NI " << c.ni;
        }
        const double shearScale = std::fabs(c.total) / c.h;
        for (int s = 0; s <= c.ni - 2; ++s) {
            EXPECT_NEAR(w.shear(s), 0.0, 1e-9 * shearScale) << "NI " << c.ni << " station " << s;
            EXPECT_NEAR(w.reaction(s), 0.0, 1e-9 * shearScale) << "NI " << c.ni << " station " << s;
        }
        for (int s = c.to + 1; s < c.ni; ++s)
            EXPECT_NEAR(w.moment(s), c.total, 1e-9 * std::fabs(c.total)) << "NI " << c.ni << " station " << s;
    }
}

TEST(WallSolverMechanics, RotationalSpringAtPinnedBaseAddsRigidBodyRotation) {
    // Pinned tip with a rotational spring R: the base turns by P L / R, which adds P L^2 / R at the head
    // to the clamped value; the spring's couple acts through the two neighbouring stations exactly.
    struct Case {
        double r;
    };
    const Case cases[] = {{1e4}, {2.5e6}, {1e9}};
    const int ni = 16;
    const double h = 3.0, ei = 4.0e6, p = 250.0, l = ni * h;
    for (const Case& c : cases) {
        Wall w(ni, h);
        w.span(w.st->stations.ei, 0, ni, ei);
        w.q(0) = p;
        w.r(ni) = c.r;
        w.restrain(ni, 1, 0.0, 0.0);
        SolveWall(w.e);
        const double expected = clampedHeadDeflection(p, l, h, ei) + p * l * l / c.r;
        EXPECT_NEAR(w.w(0), expected, 1e-10 * expected) << "R " << c.r;
        EXPECT_NEAR(w.slope(ni), -p * l / c.r, 1e-9 * p * l / c.r) << "R " << c.r;
    }
}

TEST(WallSolverMechanics, UnloadedWallFollowsItsRestraints) {
    // A wall with no load, held only by given deflections and slopes, moves as a rigid body: every station
    // lies on the line d0 + theta x that the restraint rows fix, and no moment arises.
    struct Row {
        int station, kase;
        double deflection, slope;
    };
    struct Case {
        const char* what;
        std::vector<Row> rows;
        double d0, theta;
    };
    const Case cases[] = {
        {"deflection and slope at the head", {{0, 3, 0.3, -0.025}}, 0.3, -0.025},
        {"deflections at both ends", {{0, 1, 0.3, 0.0}, {12, 1, -0.06, 0.0}}, 0.3, -0.015},
        {"slope at the head, deflection at the tip", {{0, 2, 0.0, -0.01}, {12, 1, 0.05, 0.0}}, 0.29, -0.01},
        {"two inner deflections", {{3, 1, 0.1, 0.0}, {9, 1, 0.4, 0.0}}, -0.05, 0.025},
    };
    const int ni = 12;
    const double h = 2.0;
    for (const Case& c : cases) {
        Wall w(ni, h);
        w.span(w.st->stations.ei, 0, ni, 1e6);
        for (const Row& r : c.rows) w.restrain(r.station, r.kase, r.deflection, r.slope);
        SolveWall(w.e);
        for (int s = 0; s <= ni; ++s) {
            EXPECT_NEAR(w.w(s), c.d0 + c.theta * s * h, 1e-9) << c.what << ", station " << s;
            EXPECT_NEAR(w.moment(s), 0.0, 1e-6) << c.what << ", station " << s;  // EI times rounding of W
        }
    }
}

TEST(WallSolverMechanics, GuidedHeadOnPinnedTip) {
    // Slope theta0 given at the head (its deflection free), deflection 0 at the tip, head load P: the
    // moment P (x - L) is the mirror of the clamped cantilever's, and the same double sum of curvatures
    // gives W(0) = P L^3 / 3EI + P L h^2 / 6EI, plus the rigid turn -theta0 L about the pinned tip.
    struct Case {
        double p, theta0;
    };
    const Case cases[] = {{40.0, 0.0}, {40.0, 0.01}, {-15.0, -0.003}};
    const int ni = 18;
    const double h = 2.0, ei = 7.5e5, l = ni * h;
    for (const Case& c : cases) {
        Wall w(ni, h);
        w.span(w.st->stations.ei, 0, ni, ei);
        w.q(0) = c.p;
        w.restrain(0, 2, 0.0, c.theta0);
        w.restrain(ni, 1, 0.0, 0.0);
        SolveWall(w.e);
        const double expected = clampedHeadDeflection(c.p, l, h, ei) - c.theta0 * l;
        EXPECT_NEAR(w.w(0), expected, 1e-10 * std::fabs(expected)) << "P " << c.p << " theta0 " << c.theta0;
        EXPECT_NEAR(w.slope(0), c.theta0, 1e-12) << "P " << c.p << " theta0 " << c.theta0;
        for (int s = 1; s <= ni; ++s)
            EXPECT_NEAR(w.moment(s), c.p * (s * h - l), 1e-9 * std::fabs(c.p * l)) << "station " << s;
    }
}

struct Foundation {
    double hLambda;  // h * lambda
    double headError;
    double maxMomentError;
    double momentProfileError;
};

// Long wall with constant EI on springs of k per unit length, head load P: semi-infinite beam on an
// elastic foundation, y(0) = 2 P lambda / k and M(x) = (P / lambda) exp(-lambda x) sin(lambda x), maximum
// 0.3224 P / lambda at x = pi / (4 lambda), lambda = (k / 4EI)^(1/4). The wall is 12 / lambda long, so the
// far end changes the head values by less than 1e-5; the rest is the O(h^2) error of the scheme.
Foundation solveFoundation(double hLambda) {
    const double ei = 2.0e9, k = 80.0, p = 1000.0;
    const double lambda = std::pow(k / (4.0 * ei), 0.25);
    const int ni = static_cast<int>(std::lround(12.0 / hLambda));
    const double h = 12.0 / lambda / ni;
    Wall w(ni, h);
    w.span(w.st->stations.ei, 0, ni, ei);
    w.span(w.st->stations.s, 0, ni, k * h);
    w.q(0) = p;
    SolveWall(w.e);
    Foundation f{hLambda, 0.0, 0.0, 0.0};
    const double head = 2.0 * p * lambda / k;
    f.headError = (w.w(0) - head) / head;
    double maxMoment = 0.0;
    int maxAt = 0;
    for (int s = 0; s <= ni; ++s) {
        const double x = s * h;
        const double exact = p / lambda * std::exp(-lambda * x) * std::sin(lambda * x);
        f.momentProfileError = std::max(f.momentProfileError, std::fabs(w.moment(s) - exact) / (p / lambda));
        if (w.moment(s) > maxMoment) {
            maxMoment = w.moment(s);
            maxAt = s;
        }
    }
    f.maxMomentError = (maxMoment - 0.3224 * p / lambda) / (0.3224 * p / lambda);
    EXPECT_LE(std::fabs(maxAt * h - std::acos(-1.0) / (4.0 * lambda)), h) << "maximum moment away from pi/4 lambda";
    return f;
}

TEST(WallSolverMechanics, LongWallOnLinearSprings) {
    const Foundation coarse = solveFoundation(0.1);
    const Foundation fine = solveFoundation(0.05);
    for (const Foundation& f : {coarse, fine}) {
        // Leading error of the scheme about (h lambda)^2 / 4 at the head; the bounds leave a factor of 2.
        const double bound = 0.5 * f.hLambda * f.hLambda;
        EXPECT_LT(std::fabs(f.headError), bound) << "h lambda " << f.hLambda;
        EXPECT_LT(std::fabs(f.momentProfileError), bound) << "h lambda " << f.hLambda;
        // The sampled maximum adds the error of missing the peak by up to h/2, also O(h^2); 0.3224 is rounded
        // to four digits (1e-4).
        EXPECT_LT(std::fabs(f.maxMomentError), bound + 1e-4) << "h lambda " << f.hLambda;
    }
    // Second order: halving h quarters the error.
    EXPECT_NEAR(coarse.headError / fine.headError, 4.0, 0.4);
    EXPECT_NEAR(coarse.momentProfileError / fine.momentProfileError, 4.0, 0.4);
}

TEST(WallSolverMechanics, LinearCurvesActLikeSprings) {
    // Springs of k per unit length from a stiffness row and the same stiffness from linear p-y curves
    // chained along the wall give the same deflections: both half-weight the chain's end stations.
    struct Case {
        double kTop, kTip;
        std::vector<int> curveStations;  // chained curves; inner stiffness by linear interpolation
    };
    const Case cases[] = {
        {50.0, 50.0, {0, 40}},
        {50.0, 50.0, {0, 7, 19, 33, 40}},
        {20.0, 140.0, {0, 40}},
        {20.0, 140.0, {0, 10, 30, 40}},
    };
    const int ni = 40;
    const double h = 6.0, ei = 5.0e8, p = 900.0;
    for (const Case& c : cases) {
        Wall springs(ni, h);
        springs.span(springs.st->stations.ei, 0, ni, ei);
        springs.varying(springs.st->stations.s, 0, ni, c.kTop * h, c.kTip * h);
        springs.q(0) = p;
        SolveWall(springs.e);

        Wall curves(ni, h);
        curves.span(curves.st->stations.ei, 0, ni, ei);
        curves.q(0) = p;
        for (std::size_t i = 0; i < c.curveStations.size(); ++i) {
            const int s = c.curveStations[i];
            const double k = (c.kTop + (c.kTip - c.kTop) * s / ni) * h;  // force per station per unit deflection
            const bool last = i + 1 == c.curveStations.size();
            curves.curve(s, last ? 0 : 1, {{-10.0, 10.0 * k}, {0.0, 0.0}, {10.0, -10.0 * k}});
        }
        SolveWall(curves.e);
        EXPECT_FALSE(curves.st->solver.offCurve);
        for (int s = 0; s <= ni; ++s) {
            // Interpolated curve stiffness equals the varying spring up to rounding of the interpolation.
            EXPECT_NEAR(curves.w(s), springs.w(s), 1e-10 * std::fabs(springs.w(0))) << "station " << s;
        }
    }
}

TEST(WallSolverMechanics, PinnedBeamColumnUnderAxialCompression) {
    // Simply supported beam-column, central load F and axial compression N (stored with reversed sign):
    // mid-span deflection F L^3 / 48EI * 3 (tan u - u) / u^3 with u = kL/2, k = sqrt(N / EI). A reversed
    // axial sign would give the tension form 3 (u - tanh u) / u^3, 40 to 90 per cent below.
    struct Case {
        double u;
    };
    const Case cases[] = {{0.5}, {1.0}, {1.4}};
    const double ei = 1.0e4, l = 10.0, f = 5.0;
    for (const Case& c : cases) {
        const double n = 4.0 * c.u * c.u * ei / (l * l);
        const double expected = f * l * l * l / (48.0 * ei) * 3.0 * (std::tan(c.u) - c.u) / (c.u * c.u * c.u);
        double error[2] = {};
        const int meshes[2] = {40, 80};
        for (int i = 0; i < 2; ++i) {
            const int ni = meshes[i];
            Wall w(ni, l / ni);
            w.span(w.st->stations.ei, 0, ni, ei);
            w.span(w.st->stations.p, 0, ni, -n);
            w.q(ni / 2) = f;
            w.restrain(0, 1, 0.0, 0.0);
            w.restrain(ni, 1, 0.0, 0.0);
            SolveWall(w.e);
            error[i] = (w.w(ni / 2) - expected) / expected;
            // O(h^2): about (1 + 2 u^2) / ni^2 here; the bound leaves a factor of 2.
            EXPECT_LT(std::fabs(error[i]), 2.0 * (1.0 + 2.0 * c.u * c.u) / (ni * ni)) << "u " << c.u << " NI " << ni;
        }
        EXPECT_NEAR(error[0] / error[1], 4.0, 0.5) << "u " << c.u;
    }
}

TEST(WallSolverCurves, LookupTakesTheTangentOfTheSegmentHoldingTheDeflection) {
    // Resistance opposes deflection; es is the segment's stiffness and p0 - es*y its tangent line.
    const std::vector<Point> softening = {{-2.0, 8.0}, {-1.0, 4.0}, {0.0, 0.0}, {1.0, -2.0}, {2.0, -3.0}};
    struct Case {
        const char* what;
        std::vector<Point> points;
        double y;
        double p0, es;
        bool off;
    };
    const Case cases[] = {
        {"inside a segment", softening, 0.5, 0.0, 2.0, false},
        {"on a point: the segment ending there", softening, 1.0, 0.0, 2.0, false},
        {"on the first point: still on the curve", softening, -2.0, 0.0, 4.0, false},
        {"below the first point: first segment extended", softening, -3.0, 0.0, 4.0, true},
        {"last segment", softening, 1.5, -1.0, 1.0, false},
        {"beyond the last point: last segment extended", softening, 5.0, -1.0, 1.0, true},
        {"two points are always off", {{-1.0, 3.0}, {1.0, -3.0}}, 0.0, 0.0, 3.0, true},
        {"one point resists nothing", {{0.0, 7.0}}, 0.0, 0.0, 0.0, true},
        {"vertical segment resists nothing", {{0.0, 0.0}, {0.0, -5.0}, {1.0, -6.0}}, 0.0, 0.0, 0.0, false},
    };
    for (const Case& c : cases) {
        Wall w(10, 1.0);
        const int curve = w.curve(0, 0, c.points);
        double p0 = -99.0, es = -99.0;
        EXPECT_EQ(LookupCurve(w.st->curves, curve, c.y, p0, es), c.off) << c.what;
        EXPECT_DOUBLE_EQ(p0, c.p0) << c.what;
        EXPECT_DOUBLE_EQ(es, c.es) << c.what;
    }
}

TEST(WallSolverCurves, SoilSpringsAlongChainsOfCurves) {
    // Linear curves of stiffness k and intercept 2k at zero deflection, so each station's working S is the
    // interpolated k and its working Q twice that. NI = 10.
    struct CurveRow {
        int station, continues;
        double k;
    };
    struct Expected {
        int station;
        double s;
    };
    struct Case {
        const char* what;
        std::vector<CurveRow> curves;
        std::vector<Expected> springs;  // every other station of -1..11 gets nothing
    };
    const Case cases[] = {
        {"lone curve", {{3, 0, 5.0}}, {{3, 5.0}}},
        {"chain of two: halves at the ends",
         {{2, 1, 4.0}, {6, 0, 8.0}},
         {{2, 2.0}, {3, 5.0}, {4, 6.0}, {5, 7.0}, {6, 4.0}}},
        {"chain of three: inner curve gets a half from each span",
         {{2, 1, 4.0}, {6, 1, 8.0}, {8, 0, 2.0}},
         {{2, 2.0}, {3, 5.0}, {4, 6.0}, {5, 7.0}, {6, 8.0}, {7, 5.0}, {8, 1.0}}},
        {"chain left open by the last curve", {{2, 1, 4.0}, {4, 1, 8.0}}, {{2, 2.0}, {3, 6.0}, {4, 4.0}}},
        {"span cut at the tip, interpolated over its full length",
         {{8, 1, 6.0}, {14, 0, 12.0}},
         {{8, 3.0}, {9, 7.0}, {10, 4.0}}},
        {"span starting at the tip adds nothing", {{10, 1, 6.0}, {12, 0, 12.0}}, {}},
        {"lone curve below the tip ignored, at the tip used", {{10, 0, 3.0}, {11, 0, 6.0}}, {{10, 3.0}}},
        {"second curve at a chain station skipped",
         {{4, 1, 6.0}, {4, 0, 100.0}, {6, 0, 10.0}},
         {{4, 3.0}, {5, 8.0}, {6, 5.0}}},
        {"two lone curves at one station both act", {{5, 0, 2.0}, {5, 0, 3.0}}, {{5, 5.0}}},
        {"a last curve that only opens a chain acts alone", {{3, 0, 5.0}, {6, 1, 4.0}}, {{3, 5.0}, {6, 4.0}}},
        {"so does a chain opener followed only by its own station", {{6, 1, 4.0}, {6, 0, 9.0}}, {{6, 4.0}}},
        {"chain from above the wall acts from station -1",
         {{-6, 1, 8.0}, {2, 0, 16.0}},
         {{-1, 13.0}, {0, 14.0}, {1, 15.0}, {2, 8.0}}},
    };
    for (const Case& c : cases) {
        Wall w(10, 1.0);
        for (const CurveRow& r : c.curves)
            w.curve(r.station, r.continues, {{-1.0, 3.0 * r.k}, {0.0, 2.0 * r.k}, {1.0, r.k}});
        AddSoilSprings(w.e);
        for (int s = -1; s <= 11; ++s) {
            double expected = 0.0;
            for (const Expected& x : c.springs)
                if (x.station == s) expected = x.s;
            // Interpolation of small whole numbers: exact but for the rounding of (k - start) / span.
            EXPECT_NEAR(w.st->solver.workingS[position(s)], expected, 1e-12) << c.what << ", station " << s;
            EXPECT_NEAR(w.st->solver.workingQ[position(s)], 2.0 * expected, 1e-12) << c.what << ", station " << s;
        }
        EXPECT_FALSE(w.st->solver.offCurve) << c.what;
    }
}

TEST(WallSolverCurves, WorkingSpringsStartFromTheGivenOnesAtEverySolution) {
    Wall w(6, 1.0);
    for (int s = -1; s <= 7; ++s) {
        w.st->stations.s[position(s)] = 10.0 + s;
        w.q(s) = 20.0 + s;
    }
    w.curve(2, 0, {{-1.0, 1.5}, {0.0, 0.5}, {1.0, -0.5}});
    for (int pass = 0; pass < 2; ++pass) AddSoilSprings(w.e);
    for (int s = -1; s <= 7; ++s) {
        EXPECT_EQ(w.st->solver.workingS[position(s)], 10.0 + s + (s == 2 ? 1.0 : 0.0)) << "station " << s;
        EXPECT_EQ(w.st->solver.workingQ[position(s)], 20.0 + s + (s == 2 ? 0.5 : 0.0)) << "station " << s;
    }
}

TEST(WallSolverCurves, ChainStationsOutOfOrderEndTheRun) {
    Wall w(10, 1.0);
    w.span(w.st->stations.ei, 0, 10, 100.0);
    w.curve(6, 1, {{-1.0, 1.0}, {0.0, 0.0}, {1.0, -1.0}});
    w.curve(4, 0, {{-1.0, 1.0}, {0.0, 0.0}, {1.0, -1.0}});
    w.st->results.rowCount = 7;  // rows an earlier problem left
    EXPECT_THROW(SolveWall(w.e), rt::EndRun);
    EXPECT_TRUE(sameText("\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n", w.report()));
    EXPECT_EQ(w.st->results.rowCount, 0);
}

// Cantilever of 4 increments of 1, EI 1 (0.5 at the end stations), clamped at the tip: a unit head load
// gives the deflections 22, 14, 7, 2, 0 by summing the curvatures (see clampedHeadDeflection), so the head
// flexibility is 22.
Wall& smallCantilever(Wall& w, double load) {
    w.span(w.st->stations.ei, 0, 4, 1.0);
    w.clampTip();
    w.q(0) = load;
    return w;
}

TEST(WallSolverIterations, OutcomeOfTheIterations) {
    // A curve at the head station with resistance p(W0): each solution solves W0 = 22 (F + p0 - es W0) on
    // the tangent line of the segment holding the previous W0.
    struct Case {
        const char* what;
        double load;
        std::vector<Point> curve;  // at station 0, empty: none
        double maxDeflection;
        double tolerance;
        int iteration, notClosed, exceeding;
        bool off;
        double head;
    };
    const std::vector<Point> hardening = {{-10.0, 10.0}, {0.0, 0.0}, {1.0, -1.0}, {10.0, -5.5}};
    const std::vector<Point> steepSoftening = {{-10.0, 10.0}, {0.0, 0.0}, {1.0, -1.0}, {10.0, 17.0}};
    const Case cases[] = {
        {"linear wall closes at the second solution", 1.0, {}, 1e30, 1e-9, 2, 0, 0, false, 22.0},
        // 44/23 = 1.91 lies on the second segment: 22 (2 - 0.5) / (1 + 22 * 0.5) = 2.75, which stays there.
        {"bilinear curve closes at the third solution", 2.0, hardening, 1e30, 1e-9, 3, 0, 0, false, 2.75},
        // 22 * 2 / (1 + 22 * 0.1) = 13.75, far beyond the last point at 1.
        {"deflection off the curve", 2.0, {{-1.0, 0.1}, {0.0, 0.0}, {1.0, -0.1}}, 1e30, 1e-9, 2, 0, 0, true, 13.75},
        // The second segment's tangent line (es = -2, p0 = -3) gives W0 = 22 (2 - 3) / (1 - 44) = 22/43, back
        // on the first segment, which gives 44/23 again: the solutions alternate and never close.
        {"alternating solutions end at the limit", 2.0, steepSoftening, 1e30, 1e-9, 100, 4, 0, false, 22.0 / 43.0},
        // Stations 0 and 1 (22 and 14) exceed 10: the first solution stands.
        // A repeated solution moves by exactly zero, which no tolerance exceeds.
        {"zero tolerance closes on an exact repeat", 1.0, {}, 1e30, 0.0, 2, 0, 0, false, 22.0},
        {"excess deflection ends at the first solution", 1.0, {}, 10.0, 1e-9, 1, 4, 2, false, 22.0},
    };
    for (const Case& c : cases) {
        Wall w(4, 1.0);
        smallCantilever(w, c.load);
        w.st->control.maxDeflection = c.maxDeflection;
        w.st->control.closureTolerance = c.tolerance;
        if (!c.curve.empty()) w.curve(0, 0, c.curve);
        SolveWall(w.e);
        const SolverWork& sw = w.st->solver;
        EXPECT_EQ(sw.iteration, c.iteration) << c.what;
        EXPECT_EQ(sw.notClosed, c.notClosed) << c.what;
        EXPECT_EQ(sw.exceeding, c.exceeding) << c.what;
        EXPECT_EQ(sw.offCurve, c.off) << c.what;
        EXPECT_NEAR(w.w(0), c.head, 1e-12 * 22.0) << c.what;

        std::vector<std::string> monitor = splitLines(w.monitor());
        ASSERT_EQ(monitor.size(), static_cast<std::size_t>(c.iteration)) << c.what;
        EXPECT_EQ(monitor.back().substr(14, 3), c.off ? "YES" : "NO ") << c.what;

        const std::string report = w.report();
        char title[40];
        std::snprintf(title, sizeof title, "     RESULTS -- ITERATION%3d", c.iteration);
        EXPECT_TRUE(hasLine(report, title)) << c.what;
        EXPECT_EQ(hasLine(report, "     ***** DEFLECTION OFF Q - W CURVES *****"), c.off) << c.what;
        EXPECT_EQ(hasLine(report, "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***   2  *** STATIONS *****"),
                  c.exceeding == 2)
            << c.what;
        EXPECT_EQ(hasLine(report, "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"), c.notClosed != 0)
            << c.what;
    }
}

TEST(WallSolverIterations, MonitorAndResultsText) {
    // The small cantilever under a unit head load, written out by hand from the record layouts. Moments
    // EI (W(s-1) - 2W(s) + W(s+1)) / h^2: 0, 1, 2, 3 and 0.5 * 4 = 2 at the half-rigidity tip; shear and net
    // reaction from their central differences; station 5 is beyond the tip and shows zero in the monitor.
    Wall w(4, 1.0);
    smallCantilever(w, 1.0);
    SolveWall(w.e);
    const std::string deflections = " 0.140E+02 0.700E+01 0.200E+01 0.000E+00 0.000E+00";
    EXPECT_TRUE(sameText("      1       NO          4  " + deflections + "\n" +  //
                             "      2       NO          0  " + deflections + "\n",
                         w.monitor()));
    const std::string expected =
        "\n"
        "\n"
        "     RESULTS -- ITERATION  2\n"
        "     --------------------\n"
        "\n"
        "   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI \n"
        "             IN          IN                    LBS-IN        LBS        LBS       LBS-IN**2\n"
        "   ------    ----        ----       -----'      ------      ------    ---------    ----------\n"
        "     0   0.000E+00   0.220E+02  -0.800E+01   0.000E+00   0.500E+00   0.100E+01   0.500E+00\n"
        "     1   0.100E+01   0.140E+02  -0.750E+01   0.100E+01   0.100E+01   0.000E+00   0.100E+01\n"
        "     2   0.200E+01   0.700E+01  -0.600E+01   0.200E+01   0.100E+01   0.000E+00   0.100E+01\n"
        "     3   0.300E+01   0.200E+01  -0.350E+01   0.300E+01   0.000E+00  -0.200E+01   0.100E+01\n"
        "     4   0.400E+01   0.000E+00   0.000E+00   0.200E+01  -0.150E+01  -0.100E+01   0.500E+00\n";
    EXPECT_TRUE(sameText(expected, w.report()));

    // Second fictitious stations extrapolated linearly: 2 * 30 - 22 above, 2 * 2 - 0 below.
    EXPECT_NEAR(w.w(-2), 38.0, 1e-12);
    EXPECT_NEAR(w.w(6), 4.0, 1e-12);

    // Six rows for the plot-data file: station 5 (W = W(3) by the zero slope, moment 0) included.
    const NodalResults& r = w.st->results;
    ASSERT_EQ(r.rowCount, 6);
    const double depth[] = {0, 1, 2, 3, 4, 5}, deflection[] = {22, 14, 7, 2, 0, 2}, moment[] = {0, 1, 2, 3, 2, 0},
                 shear[] = {0.5, 1, 1, 0, -1.5, -1}, reaction[] = {1, 0, 0, -2, -1, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        // Small integers through a few dozen operations: rounding far below 1e-12.
        EXPECT_NEAR(r.depth[i], depth[i], 1e-12) << "row " << i;
        EXPECT_NEAR(r.deflection[i], deflection[i], 1e-12) << "row " << i;
        EXPECT_NEAR(r.moment[i], moment[i], 1e-12) << "row " << i;
        EXPECT_NEAR(r.shear[i], shear[i], 1e-12) << "row " << i;
        EXPECT_NEAR(r.reaction[i], reaction[i], 1e-12) << "row " << i;
    }
}

TEST(WallSolverIterations, SiUnitLine) {
    Wall w(4, 1.0);
    smallCantilever(w, 1.0);
    SetUnitLabels(w.st->labels, -1);
    SolveWall(w.e);
    EXPECT_EQ(splitLines(w.report())[6],
              "              M           M                     KN- M         KN         KN        KN- M**2");
}

TEST(WallSolverIterations, UnsolvableWallsEndTheRunNamingTheStation) {
    struct Case {
        const char* what;
        int rigidFrom;       // first station with rigidity
        bool pinBelowSlope;  // a deflection row taking over the station above a slope restraint
        const char* message;
    };
    const Case cases[] = {
        {"no rigidity at the head", 2, false, "     ERROR STOP -- SINGULAR WALL EQUATIONS AT STATION   -1"},
        {"slope restraint without its upper neighbour", 0, true,
         "     ERROR STOP -- SINGULAR WALL EQUATIONS AT STATION    7"},
    };
    for (const Case& c : cases) {
        Wall w(6, 1.0);
        w.span(w.st->stations.ei, c.rigidFrom, 6, 100.0);
        w.q(3) = 1.0;
        if (c.pinBelowSlope) {
            w.restrain(6, 2, 0.0, 0.0);
            w.restrain(5, 1, 0.0, 0.0);
        } else {
            w.clampTip();
        }
        w.st->results.rowCount = 5;  // rows an earlier problem left
        EXPECT_THROW(SolveWall(w.e), rt::EndRun) << c.what;
        EXPECT_EQ(w.st->results.rowCount, 0) << c.what;
        const std::vector<std::string> report = splitLines(w.report());
        ASSERT_FALSE(report.empty()) << c.what;
        EXPECT_EQ(report.back(), c.message) << c.what;
        EXPECT_EQ(w.monitor(), "") << c.what;
    }
}

TEST(WallSolverIterations, DeflectionsBeyondTheRangeOfNumbersEndTheRun) {
    // A head load of 1e300 on the small cantilever of rigidity 1e-300: the deflections overflow, and the
    // run ends rather than writing infinities.
    Wall w(4, 1.0);
    w.span(w.st->stations.ei, 0, 4, 1e-300);
    w.clampTip();
    w.q(0) = 1e300;
    EXPECT_THROW(SolveWall(w.e), rt::EndRun);
    EXPECT_EQ(splitLines(w.report()).back(), "     ERROR STOP -- WALL SOLUTION OUT OF RANGE AT STATION   -1");
    EXPECT_EQ(w.st->results.rowCount, 0);
}

TEST(WallSolverIterations, InputBeyondTheTablesEndsTheRun) {
    struct Case {
        const char* what;
        int ni;
        double h;
        int curvePoints, meiPoints;
        const char* message;
    };
    const Case cases[] = {
        {"no increment", 0, 1.0, 3, 2, "     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407"},
        {"more increments than stations", 408, 1.0, 3, 2, "     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407"},
        {"zero increment length", 4, 0.0, 3, 2, "     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
        {"negative increment length", 4, -1.0, 3, 2, "     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
        {"curve of 35 points", 4, 1.0, 35, 2, "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"M-EI curve of 101 points", 4, 1.0, 3, 101, "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
    };
    for (const Case& c : cases) {
        Wall w(4, 1.0);
        smallCantilever(w, 1.0);
        w.curve(0, 0, {{-1.0, 1.0}, {0.0, 0.0}, {1.0, -1.0}});
        w.st->curves.pointCount[1] = c.curvePoints;
        w.meiCurve(0, 4, {{0.0, 1.0}, {1e9, 1.0}});
        w.st->meiCurves.pointCount[1] = c.meiPoints;
        ProblemControl& pc = w.st->control;
        pc.ni = c.ni;
        pc.h = c.h;
        DeriveStepQuantities(*w.st);
        EXPECT_THROW(SolveWall(w.e), rt::EndRun) << c.what;
        const std::vector<std::string> report = splitLines(w.report());
        EXPECT_NE(std::find(report.begin(), report.end(), c.message), report.end()) << c.what;
        EXPECT_EQ(w.monitor(), "") << c.what;
    }
}

TEST(WallSolverRigidity, MomentEICurves) {
    // The update sets each station's EI where curvature times EI meets the polyline; the wall is statically
    // determinate, so the moments stay P x and the converged EI is the polyline's EI at that moment.
    struct Case {
        const char* what;
        int from, to;
        std::vector<Point> polyline;  // (moment, EI)
    };
    const Case cases[] = {
        {"constant EI", 0, 10, {{0.0, 3000.0}, {1e12, 3000.0}}},
        {"constant EI, range reaching the fictitious stations", -1, 11, {{0.0, 3000.0}, {1e12, 3000.0}}},
        {"softening", 0, 10, {{0.0, 2000.0}, {40.0, 2000.0}, {100.0, 1000.0}, {1e6, 1000.0}}},
    };
    const int ni = 10;
    const double h = 1.0, p = 10.0, l = ni * h;
    for (const Case& c : cases) {
        Wall w(ni, h);
        w.span(w.st->stations.ei, 0, ni, 2000.0);
        w.q(0) = p;
        w.clampTip();
        w.meiCurve(c.from, c.to, c.polyline);
        SolveWall(w.e);
        const SolverWork& sw = w.st->solver;
        EXPECT_LT(sw.iteration, 100) << c.what;
        EXPECT_EQ(sw.notClosed, 0) << c.what;
        EXPECT_EQ(w.st->stations.ei[position(-1)], 0.0) << c.what;
        EXPECT_EQ(w.st->stations.ei[position(ni + 1)], 0.0) << c.what;
        for (int s = 1; s < ni; ++s) {
            const double m = p * s * h;
            double expected = c.polyline.back().p;
            for (std::size_t i = 1; i < c.polyline.size(); ++i) {
                const Point& a = c.polyline[i - 1];
                const Point& b = c.polyline[i];
                if (m <= b.y) {
                    expected = a.p + (b.p - a.p) * (m - a.y) / (b.y - a.y);
                    break;
                }
            }
            // Closure at 1e-9 on deflections near 1 leaves the EI within about 1e-8 of its limit.
            EXPECT_NEAR(w.st->stations.ei[position(s)], expected, 1e-6 * expected) << c.what << ", station " << s;
            EXPECT_NEAR(w.moment(s), m, 1e-9 * p * l) << c.what << ", station " << s;
        }
    }
}

TEST(WallSolverRigidity, ConstantPolylineTakesFiveSolutions) {
    // Solution 1 on the given EI closes at 2; the update gives stations 1..NI-1 the full EI1 and the two
    // end stations half of it, as the stiffness row did, which moves the wall (3), closes (4), and updates
    // to the same EI, so that 5 repeats 4 and the run ends with the clamped head deflection. Cut short by
    // the iteration limit, every solution but the last leaves stations 0..9 moving: after a solution that
    // closed, the count is that of the M-EI closure test.
    struct Case {
        int limit;
        int iteration, notClosed;
    };
    const Case cases[] = {{1, 1, 10}, {2, 2, 10}, {3, 3, 10}, {4, 4, 10}, {5, 5, 0}, {100, 5, 0}};
    const int ni = 10;
    const double h = 1.0, p = 5.0, ei1 = 3000.0, l = ni * h;
    for (const Case& c : cases) {
        Wall w(ni, h);
        w.span(w.st->stations.ei, 0, ni, 1000.0);
        w.q(0) = p;
        w.clampTip();
        w.meiCurve(0, ni, {{0.0, ei1}, {1e12, ei1}});
        w.st->control.iterationLimit = c.limit;
        SolveWall(w.e);
        EXPECT_EQ(w.st->solver.iteration, c.iteration) << "limit " << c.limit;
        EXPECT_EQ(w.st->solver.notClosed, c.notClosed) << "limit " << c.limit;
        EXPECT_EQ(hasLine(w.report(), "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****"),
                  c.notClosed != 0)
            << "limit " << c.limit;
        if (c.iteration == 5) {
            const double expected = clampedHeadDeflection(p, l, h, ei1);
            EXPECT_NEAR(w.w(0), expected, 1e-10 * expected);
        }
    }
}

TEST(WallSolverRigidity, DegeneratePolylineKeepsTheGivenRigidity) {
    // Two equal points bound no crossing (zero denominator): EI stays as given, nothing becomes NaN.
    const int ni = 4;
    Wall w(ni, 1.0);
    smallCantilever(w, 1.0);
    w.meiCurve(0, ni, {{0.0, 7.0}, {0.0, 7.0}});
    SolveWall(w.e);
    EXPECT_EQ(w.st->solver.iteration, 3);
    EXPECT_NEAR(w.w(0), 22.0, 1e-12 * 22.0);
    for (int s = 0; s <= ni; ++s) EXPECT_EQ(w.st->stations.ei[position(s)], (s == 0 || s == ni) ? 0.5 : 1.0);
}

TEST(WallSolverRun, HeadCurveOnCantileverThroughTheWholeEngine) {
    // The bilinear head curve of OutcomeOfTheIterations, entered as a user p-y curve of an input file: the
    // input reading's stations, half rigidities, clamp codes and curve store give the hand solution
    // W0 = 22 (2 - 0.5) / (1 + 22 * 0.5) = 2.75 at the third solution. The curve lies at the excavation
    // level, so it is flagged to continue a chain that no curve follows, and acts alone.
    ScratchDir dir;
    velmor::test::writeFile("names.dat", "wall.vm4d\nwall.vm4o\nwall.vm4p\nwall.vm4r\n");
    velmor::test::writeFile("wall.vm4d",
                            "Cantilever with a head curve\n"
                            "1 1 1 0 0 0 1 1 0\n"
                            "4 1.0 100.0 0.000001 0.0\n"
                            "3 4 0.0 0.0\n"
                            "0 4 1 1.0\n"
                            "1\n"
                            "1 0 0 2.0 0.0 0.0\n"
                            "0\n"
                            "0 4 1.0 1.0\n"
                            "-10.0 10.0\n"
                            "0.0 0.0\n"
                            "1.0 -1.0\n"
                            "10.0 -5.5\n"
                            "0\n");
    std::FILE* console = std::fopen("console.txt", "w+b");
    ASSERT_EQ(RunEntry(14, console), 0);
    std::fclose(console);
    const EngineState& st = engineState();
    EXPECT_EQ(st.solver.iteration, 3);
    ASSERT_EQ(st.results.rowCount, 6);
    EXPECT_NEAR(st.results.deflection[0], 2.75, 1e-12 * 22.0);
    EXPECT_TRUE(hasLine(readFile("wall.vm4o"), "     RESULTS -- ITERATION  3"));
    EXPECT_EQ(splitLines(readFile("wall.vm4r")).size(), 7u + 3u);  // the driver's header of seven lines, three rows
}

}  // namespace
}  // namespace velmor::engine
