#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/run_errors.h"
#include "soil/soil_model.h"
#include "soil_test_support.h"
#include "soildata_reader.h"

namespace velmor::engine {
namespace {

using soiltest::CurvePoint;
using soiltest::joinLines;
using soiltest::printedTolerance;
using soiltest::readScratchCurves;
using soiltest::reportLinesFrom;
using soiltest::right;
using soiltest::ScratchCurveFile;
using soiltest::setUpRadians;
using soiltest::SoilRun;
using soiltest::spaces;
using test::sameText;

const double kPi = 3.14159265358979323846;

// Piecewise-linear A or B of the sand criterion against x/b, the end segments extended.
double coefficient(const std::array<double, 10>& value, double ratio) {
    const std::array<double, 10> x = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
    int i = 1;
    while (i < 9 && !(ratio < x[static_cast<std::size_t>(i)])) ++i;
    const auto at = [](const std::array<double, 10>& a, int j) { return a[static_cast<std::size_t>(j)]; };
    return at(value, i - 1) + (ratio - at(x, i - 1)) * (at(value, i) - at(value, i - 1)) / (at(x, i) - at(x, i - 1));
}
const std::array<double, 10> kA = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
const std::array<double, 10> kB = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

// The c-phi curve worked out by hand from the sand wedge and flow mechanisms and the clay wedge, before
// multipliers and pressure shift. zEff is the effective depth z', depth the true depth Z.
struct HandSilt {
    double wedge, flow;
    double frictional, cohesive;
    double a, b;
    double pu, pm;
    double ka;
    std::array<double, 18> y, p;
};

HandSilt handSilt(double c, double phi, double gamma, double b, double k, double zEff, double depth, bool continuous) {
    HandSilt h{};
    const double alpha = phi / 2.0;
    const double beta = kPi / 4.0 + phi / 2.0;
    const double k0 = 0.4;
    h.ka = std::pow(std::tan(kPi / 4.0 - phi / 2.0), 2);
    const double z = zEff;
    h.wedge = gamma * z *
              (k0 * z * std::tan(phi) * std::sin(beta) / (std::cos(alpha) * std::tan(beta - phi)) +
               std::tan(beta) / std::tan(beta - phi) * (b + z * std::tan(beta) * std::tan(alpha)) +
               k0 * z * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - h.ka * b);
    h.flow = h.ka * b * gamma * z * (std::pow(std::tan(beta), 8) - 1.0) +
             k0 * b * gamma * z * std::tan(phi) * std::pow(std::tan(beta), 4);
    h.frictional = std::min(h.wedge, h.flow);
    h.cohesive = 0.0;
    if (c > 0.0) h.cohesive = std::min(c * b * (3.0 + gamma * z / c + 0.5 * z / b), 9.0 * c * b);
    if (continuous) {
        // Passive coefficient with 10 degrees of wall friction.
        const double delta = 10.0 * kPi / 180.0;
        const double kpc =
            std::pow(std::cos(phi), 2) /
            (std::cos(delta) * std::pow(1.0 - std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta)), 2));
        h.frictional = b * kpc * gamma * depth;
        h.cohesive = gamma * depth * b + 2.0 * c * b;
    }
    h.a = coefficient(kA, z / b);
    h.b = coefficient(kB, z / b);
    h.pu = h.a * h.frictional + h.cohesive;
    h.pm = h.b * h.frictional + h.cohesive;
    const double yu = 3.0 * b / 80.0;
    const double ym = b / 60.0;
    const double kz = k * z;
    const double m = (h.pu - h.pm) / (yu - ym);
    const double n = h.pm / (m * ym);
    const double cc = h.pm / std::pow(ym, 1.0 / n);
    const double yk = std::pow(cc / kz, n / (n - 1.0));
    for (int i = 1; i <= 17; ++i) {
        const double y = i <= 13 ? (i - 1) * ym / 12.0 : yu + (i - 14) * b;
        double p = h.pu;
        if (y <= yk) {
            p = kz * y;
        } else if (y <= ym) {
            p = cc * std::pow(y, 1.0 / n);
        } else if (y <= yu) {
            p = h.pm + m * (y - ym);
        }
        h.y[static_cast<std::size_t>(i)] = y;
        h.p[static_cast<std::size_t>(i)] = std::min(p, kz * y);
    }
    return h;
}

// WA / WP = 2 below the excavation: 0.5292 x 2^0.5659 with its single-precision constants.
const double kSpacingMultiplier = double(0.5292f) * std::pow(2.0, double(0.5659f));

// An English wall of 20 increments of 12, the excavation 120 below its top, WP = 24; the soil model ends
// 144 below the excavation.
void englishWall(SoilRun& run, double wa) {
    run.wall(20, 12.0, 120.0, wa, 24.0);
}

// WA / WP = 2 and one silt layer of c = 2, phi = 30 deg, unit weight 0.065 and k = 90.
void oneSiltLayer(SoilRun& run) {
    englishWall(run, 48.0);
    run.layer(5, 300.0, {0.065, 2.0, 30.0, 0.0, 90.0, 0.0});
}

TEST(SiltGenerator, ReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    oneSiltLayer(run);
    Engine e = run.engine();
    SetUpSoilModel(e);

    // Excavation side at Z = 0.1: wedge 0.417 (the smaller), clay wedge 2 x 24 x (3 + 0.065 x 0.1 / 2 +
    // 0.05 / 24) = 144.3; kz = 9, so the line kz y caps every point. Backfill side at 120.1: wedge 2292,
    // Np = 9.4 limited to 9: 9 x 2 x 24 = 432; A = 0.88, B = 0.50. p-multiplier 0.783 (WA / WP = 2).
    const char* y[17] = {"0.000E+00", "0.333E-01", "0.667E-01", "0.100E+00", "0.133E+00", "0.167E+00",
                         "0.200E+00", "0.233E+00", "0.267E+00", "0.300E+00", "0.333E+00", "0.367E+00",
                         "0.400E+00", "0.900E+00", "0.249E+02", "0.489E+02", "0.729E+02"};
    const char* excavation[17] = {"0.000E+00", "0.235E+00", "0.470E+00", "0.705E+00", "0.940E+00", "0.118E+01",
                                  "0.141E+01", "0.165E+01", "0.188E+01", "0.212E+01", "0.235E+01", "0.259E+01",
                                  "0.282E+01", "0.635E+01", "0.114E+03", "0.114E+03", "0.114E+03"};
    const char* backfill[17] = {"0.000E+00", "0.282E+03", "0.560E+03", "0.670E+03", "0.761E+03", "0.840E+03",
                                "0.910E+03", "0.974E+03", "0.103E+04", "0.109E+04", "0.114E+04", "0.119E+04",
                                "0.124E+04", "0.192E+04", "0.192E+04", "0.192E+04", "0.192E+04"};
    auto block = [&](const char* title, const std::string& values, const char* const* p) {
        std::string text = "\n\n" + spaces(9) + title + "\n\n\n";
        text += spaces(5) + "DEPTH" + spaces(6) + "DIAM" + spaces(6) + "PHI" + spaces(2) + "GAMMA AVG" + spaces(8) +
                "A" + spaces(9) + "B" + spaces(5) + "Puc" + spaces(7) + "Pu\xED\n";
        text += spaces(7) + "IN" + spaces(8) + "IN" + spaces(12) + "LBS/IN**3\n";
        text += values + "\n\n";
        text += spaces(37) + "Y" + spaces(19) + "P\n" + spaces(37) + "IN" + spaces(16) + "LBS/IN\n";
        for (int i = 0; i < 17; ++i) text += spaces(21) + right(y[i], 20) + right(p[i], 20) + "\n";
        text += "\n" + spaces(21) + " P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01\n";
        return text;
    };
    const std::string expected =
        "        P-Y CURVES DATA\n\n" +
        block("AT THE EXCAVATION SIDE",
              "      0.10     24.00      30.0 0.650E-01      2.83      2.14 0.144E+03 0.417E+00", excavation) +
        block("AT THE BACKFILL SIDE",
              "    120.10     24.00      30.0 0.650E-01      0.88      0.50 0.432E+03 0.229E+04", backfill);
    EXPECT_TRUE(sameText(expected, joinLines(reportLinesFrom(run.report(), "        P-Y CURVES DATA", 62))));

    // soildata: (number, p, y) in (I5,2(2X,E10.3)).
    soiltest::expectFirstStationSoildata(soiltest::twoSidePointRecords(y, excavation, backfill));
}

// SI units: the first station (Z = 0.01 m excavation side, 3.01 m backfill side) of a silt layer of c = 10 kPa,
// phi = 30 deg, k = 20000 kN/m^3 below the water table (unit weight 10 kN/m^3) on the SI wall with WA/WP = 4;
// ExcavationLevelStress 60 kPa. Worked by hand: Ka = 1/3, pa = 60 Ka b - 2c sqrt(Ka) b = 16 - 9.2376 = 6.7624.
// Excavation side: Np = 3 + 10 x 0.01 / 10 + 0.5 x 0.01 / 0.8, pc = 24.13; pst = 0.2152 < psd = 2.2996;
// x/b = 0.0125: A = 2.8213, B = 2.1323; kz = 200 caps the points up to yu. Backfill side: Np = 7.89125,
// pc = 63.13; pst = 237.42 < psd = 692.19; x/b = 3.7625: A = 0.938, B = 0.5728; pu = 285.83, pm = 199.11,
// yk = 0.00157 m.
const char* const kSiltSiReport[] = {
    "",
    "",
    "         AT THE EXCAVATION SIDE",
    "",
    "",
    "     DEPTH      DIAM      PHI  GAMMA AVG        A         B     Puc       Pu\xED",
    "        M         M             KN/ M**3",
    "      0.01      0.80      30.0 0.100E+02      2.82      2.13 0.241E+02 0.215E+00",
    "",
    "                                     Y                   P",
    "                                      M                 KN/ M",
    "                                0.000E+00          -0.676E+01",
    "                                0.111E-02          -0.654E+01",
    "                                0.222E-02          -0.632E+01",
    "                                0.333E-02          -0.610E+01",
    "                                0.444E-02          -0.587E+01",
    "                                0.556E-02          -0.565E+01",
    "                                0.667E-02          -0.543E+01",
    "                                0.778E-02          -0.521E+01",
    "                                0.889E-02          -0.498E+01",
    "                                0.100E-01          -0.476E+01",
    "                                0.111E-01          -0.454E+01",
    "                                0.122E-01          -0.432E+01",
    "                                0.133E-01          -0.410E+01",
    "                                0.300E-01          -0.762E+00",
    "                                0.830E+00           0.180E+02",
    "                                0.163E+01           0.180E+02",
    "                                0.243E+01           0.180E+02",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
    "",
    "",
    "         AT THE BACKFILL SIDE",
    "",
    "",
    "     DEPTH      DIAM      PHI  GAMMA AVG        A         B     Puc       Pu\xED",
    "        M         M             KN/ M**3",
    "      3.01      0.80      30.0 0.100E+02      0.94      0.57 0.631E+02 0.237E+03",
    "",
    "                                     Y                   P",
    "                                      M                 KN/ M",
    "                                0.000E+00           0.676E+01",
    "                                0.111E-02           0.737E+02",
    "                                0.222E-02           0.113E+03",
    "                                0.333E-02           0.130E+03",
    "                                0.444E-02           0.143E+03",
    "                                0.556E-02           0.154E+03",
    "                                0.667E-02           0.163E+03",
    "                                0.778E-02           0.172E+03",
    "                                0.889E-02           0.180E+03",
    "                                0.100E-01           0.187E+03",
    "                                0.111E-01           0.194E+03",
    "                                0.122E-01           0.200E+03",
    "                                0.133E-01           0.206E+03",
    "                                0.300E-01           0.293E+03",
    "                                0.830E+00           0.293E+03",
    "                                0.163E+01           0.293E+03",
    "                                0.243E+01           0.293E+03",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
};
const char* const kSiltSiSoildata[] = {
    "    1  -0.676E+01   0.000E+00", "    2  -0.654E+01   0.111E-02", "    3  -0.632E+01   0.222E-02",
    "    4  -0.610E+01   0.333E-02", "    5  -0.587E+01   0.444E-02", "    6  -0.565E+01   0.556E-02",
    "    7  -0.543E+01   0.667E-02", "    8  -0.521E+01   0.778E-02", "    9  -0.498E+01   0.889E-02",
    "   10  -0.476E+01   0.100E-01", "   11  -0.454E+01   0.111E-01", "   12  -0.432E+01   0.122E-01",
    "   13  -0.410E+01   0.133E-01", "   14  -0.762E+00   0.300E-01", "   15   0.180E+02   0.830E+00",
    "   16   0.180E+02   0.163E+01", "   17   0.180E+02   0.243E+01", "    1   0.676E+01   0.000E+00",
    "    2   0.737E+02   0.111E-02", "    3   0.113E+03   0.222E-02", "    4   0.130E+03   0.333E-02",
    "    5   0.143E+03   0.444E-02", "    6   0.154E+03   0.556E-02", "    7   0.163E+03   0.667E-02",
    "    8   0.172E+03   0.778E-02", "    9   0.180E+03   0.889E-02", "   10   0.187E+03   0.100E-01",
    "   11   0.194E+03   0.111E-01", "   12   0.200E+03   0.122E-01", "   13   0.206E+03   0.133E-01",
    "   14   0.293E+03   0.300E-01", "   15   0.293E+03   0.830E+00", "   16   0.293E+03   0.163E+01",
    "   17   0.293E+03   0.243E+01",
};

TEST(SiltGenerator, SiReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    soiltest::siWall(run, 3.2);
    run.layer(5, 9.0, {19.81, 10.0, 30.0, 0.0, 20000.0, 0.0});
    run.st->excavationLevel.stress = 60.0;
    soiltest::expectSiFirstStation(run, kSiltSiReport, kSiltSiSoildata);
}

TEST(SiltGenerator, FrictionalPartFromSandPlusCohesivePartFromClay) {
    const struct Case {
        const char* name;
        double c, phiDegrees, k;
        double wa;      // WA / WP = 1 is a continuous wall
        double stress;  // ExcavationLevelStress
    } cases[] = {
        {"cohesion and friction", 2.0, 30.0, 90.0, 48.0, 0.0},
        {"strong cohesion stays below the flow limit", 10.0, 25.0, 60.0, 48.0, 0.0},
        {"no cohesion", 0.0, 35.0, 90.0, 48.0, 0.0},
        {"shift by the excavation-level stress", 2.0, 30.0, 90.0, 48.0, 10.0},
        {"continuous wall", 2.0, 30.0, 90.0, 24.0, 0.0},
    };
    for (const Case& c : cases) {
        SoilRun run;
        englishWall(run, c.wa);
        run.layer(5, 300.0, {0.065, c.c, c.phiDegrees, 0.0, c.k, 0.0});
        run.st->excavationLevel.stress = c.stress;
        Engine e = run.engine();
        SetUpSoilModel(e);

        const ScratchCurveFile file = readScratchCurves();
        ASSERT_TRUE(file.complete) << c.name;
        ASSERT_EQ(file.curves.size(), 5u) << c.name;
        const bool continuous = c.wa < 1.1 * 24.0;
        const double pMultiplier = continuous ? 1.0 : kSpacingMultiplier;
        const double phi = setUpRadians(c.phiDegrees);
        const double b = 24.0;
        const double stations[] = {0.1, 36.0, 72.0, 108.0, 143.9};
        for (int s = 0; s < 5; ++s) {
            const auto& curve = file.curves[static_cast<std::size_t>(s)];
            ASSERT_EQ(curve.points.size(), 34u);
            for (int side = 0; side < 2; ++side) {
                // A single layer lies at its own depth: z' = Z.
                const double depth = (side == 0 ? 0.0 : 120.0) + stations[s];
                const HandSilt h = handSilt(c.c, phi, 0.065, b, c.k, depth, depth, continuous);
                // Earth-pressure shift: stress x Ka x b less 2 c sqrt(Ka) b, never negative.
                const double pa = std::max(c.stress * h.ka * b - 2.0 * c.c * std::sqrt(h.ka) * b, 0.0);
                for (int i = 1; i <= 17; ++i) {
                    const CurvePoint& pt = curve.points[static_cast<std::size_t>(side * 17 + i - 1)];
                    const double y = h.y[static_cast<std::size_t>(i)];
                    const double p = pMultiplier * h.p[static_cast<std::size_t>(i)] + (side == 0 ? -pa : pa);
                    EXPECT_EQ(pt.number, i);
                    EXPECT_NEAR(pt.y, y, printedTolerance(y))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                    EXPECT_NEAR(pt.p, p, printedTolerance(p))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                }
            }
        }
    }
}

TEST(SiltGenerator, ThePropertyLineShowsTheResistancesTheCurveUses) {
    // Station 3 of the silt layer (c = 2, phi = 30 deg, unit weight 0.065): x = 72 on the excavation side and
    // 192 on the backfill side, A and B at x/b = 3 (1.06, 0.71) and 8 (0.88, 0.50). Worked by hand:
    // - elements at WA/WP = 2: Puc = c b Np with Np = 3 + 0.065 x / 2 + 0.5 x / 24 = 6.84 (x = 72), and
    //   9 c b = 432 at x = 192 (Np = 13.24); Pu-phi = the wedge pst = 943.693 and 5379.50 (below the flow
    //   psd = 3228.68 and 8609.81);
    // - a continuous wall (WA = WP): Puc = gamma x b + 2cb = 208.32 and 395.52; Pu-phi = b Kpc gamma x with
    //   the passive coefficient for 10 deg of wall friction, Kpc(30 deg, 10 deg) = 4.1433165: 465.377 and
    //   1241.01. The report prints these, the values the curve is built from.
    const struct Case {
        const char* name;
        double wa;
        const char* excavation;
        const char* backfill;
    } cases[] = {
        {"elements at WA/WP = 2", 48.0,
         "     72.00     24.00      30.0 0.650E-01      1.06      0.71 0.328E+03 0.944E+03",
         "    192.00     24.00      30.0 0.650E-01      0.88      0.50 0.432E+03 0.538E+04"},
        {"continuous wall", 24.0, "     72.00     24.00      30.0 0.650E-01      1.06      0.71 0.208E+03 0.465E+03",
         "    192.00     24.00      30.0 0.650E-01      0.88      0.50 0.396E+03 0.124E+04"},
    };
    for (const Case& c : cases) {
        SoilRun run;
        englishWall(run, c.wa);
        run.layer(5, 300.0, {0.065, 2.0, 30.0, 0.0, 90.0, 0.0});
        Engine e = run.engine();
        SetUpSoilModel(e);
        const std::vector<std::string> block = soiltest::stationBlock(run.report(), 3, 38);
        ASSERT_EQ(block.size(), 38u) << c.name;
        ASSERT_EQ(block[32], "         AT THE BACKFILL SIDE") << c.name;
        EXPECT_EQ(block[7], c.excavation) << c.name;
        EXPECT_EQ(block[37], c.backfill) << c.name;
    }
}

TEST(SiltGenerator, WithoutCohesionTheSandCurve) {
    const double phis[] = {28.0, 35.0, 40.0};
    for (double phi : phis) {
        std::vector<ScratchCurveFile> files;
        for (int soilType : {4, 5}) {
            SoilRun run;
            englishWall(run, 48.0);
            run.layer(soilType, 300.0, {0.065, 0.0, phi, 0.0, 90.0, 0.0});
            run.st->excavationLevel.stress = 5.0;
            Engine e = run.engine();
            SetUpSoilModel(e);
            files.push_back(readScratchCurves());
        }
        const ScratchCurveFile& sand = files[0];
        const ScratchCurveFile& silt = files[1];
        ASSERT_EQ(sand.curves.size(), 5u) << phi;
        ASSERT_EQ(silt.curves.size(), 5u) << phi;
        for (std::size_t s = 0; s < 5; ++s) {
            EXPECT_EQ(silt.curves[s].where, sand.curves[s].where);
            ASSERT_EQ(silt.curves[s].points.size(), 34u);
            ASSERT_EQ(sand.curves[s].points.size(), 34u);
            for (std::size_t i = 0; i < 34; ++i) {
                const CurvePoint& a = sand.curves[s].points[i];
                const CurvePoint& b = silt.curves[s].points[i];
                // Sand works with pi = 3.1416 (single precision), silt with 4 atan(1): the last printed
                // digit may differ by one.
                EXPECT_NEAR(b.y, a.y, 2.0 * printedTolerance(a.y)) << phi << " station " << s + 1 << " point " << i;
                EXPECT_NEAR(b.p, a.p, 2.0 * printedTolerance(a.p)) << phi << " station " << s + 1 << " point " << i;
            }
        }
    }
}

TEST(SiltGenerator, LayerResistanceAndTheSharedConstantsLeftBehind) {
    SoilRun run;
    oneSiltLayer(run);
    Engine e = run.engine();
    SetUpSoilModel(e);

    // Excavation-side pu: trapezoids between the stations, then the last station's pu down to the bottom.
    const double d[] = {0.1, 36.0, 72.0, 108.0, 143.9};
    double pu[5];
    for (int s = 0; s < 5; ++s) pu[s] = handSilt(2.0, setUpRadians(30.0), 0.065, 24.0, 90.0, d[s], d[s], false).pu;
    double expected = 0.0;
    for (int s = 1; s < 5; ++s) expected += (d[s] - d[s - 1]) * 0.5 * (pu[s] + pu[s - 1]);
    expected += (144.0 - 143.9) * pu[4];
    const SoilModel& soil = run.st->soil;
    // Single-precision table constants and station depths: 1e-6 relative.
    EXPECT_NEAR(soil.layerResistance[1], expected, 1e-6 * expected);
    // The first layer's top is its own surface.
    EXPECT_NEAR(soil.equivalentTopDepth[1], 0.0, 1e-9);
    EXPECT_EQ(soil.pi, 4.0 * std::atan(1.0));
    EXPECT_EQ(soil.threshold, 1e-14);
}

TEST(SiltGenerator, ALowerLayerWorksAtTheEquivalentDepthOfItsTop) {
    SoilRun run;
    englishWall(run, 48.0);
    run.layer(5, 180.0, {0.065, 2.0, 30.0, 0.0, 90.0, 0.0});
    run.layer(5, 300.0, {0.070, 4.0, 32.0, 0.0, 120.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);

    const SoilModel& soil = run.st->soil;
    const double top = 60.0;
    const double equivalent = soil.equivalentTopDepth[2];
    // The layer above supplies what the lower, stronger soil gives over a shallower depth.
    EXPECT_GT(equivalent, 10.0);
    EXPECT_LT(equivalent, top);
    const ScratchCurveFile file = readScratchCurves();
    ASSERT_EQ(file.curves.size(), 10u);
    const double stations[] = {60.1, 81.0, 102.0, 123.0, 143.9};
    for (int s = 0; s < 5; ++s) {
        const double d = stations[s];
        // Mean unit weight from the surface down to d.
        const double gamma = (60.0 * 0.065 + (d - 60.0) * 0.07) / d;
        const auto& curve = file.curves[5 + static_cast<std::size_t>(s)];
        ASSERT_EQ(curve.points.size(), 34u);
        for (int side = 0; side < 2; ++side) {
            const double z = (side == 0 ? 0.0 : 120.0) + d;
            const HandSilt h = handSilt(4.0, setUpRadians(32.0), gamma, 24.0, 120.0, z - top + equivalent, z, false);
            for (int i = 1; i <= 17; ++i) {
                const CurvePoint& pt = curve.points[static_cast<std::size_t>(side * 17 + i - 1)];
                const double p = kSpacingMultiplier * h.p[static_cast<std::size_t>(i)];
                EXPECT_NEAR(pt.p, p, printedTolerance(p))
                    << "station " << s + 6 << " side " << side + 1 << " point " << i;
            }
        }
    }
}

TEST(SiltGenerator, NearlyNoFrictionStopsWithTheSlopeWarning) {
    SoilRun run;
    englishWall(run, 48.0);
    // 1e-4 degrees passes the set-up's check but leaves 1 - cos^2(phi) at 3e-12.
    run.layer(5, 300.0, {0.065, 2.0, 1.0e-4, 0.0, 90.0, 0.0});
    Engine e = run.engine();
    try {
        SetUpSoilModel(e);
        ADD_FAILURE() << "the run went on";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "");
        EXPECT_EQ(std::string(stop.what()),
                  "\n\n       WARNING-------The Angle of the slope can not\n"
                  "                     be greater than the internal  \n"
                  "                     friction angle of the sand.   \n");
    }
    // No curve of the layer was written.
    const ScratchCurveFile file = readScratchCurves();
    EXPECT_TRUE(file.curves.empty());
}

}  // namespace
}  // namespace velmor::engine
