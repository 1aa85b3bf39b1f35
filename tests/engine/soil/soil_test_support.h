#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "engine_state.h"
#include "runtime/record_io.h"
#include "support/test_support.h"

namespace velmor::engine::soiltest {

// An engine state of its own and a report on unit 6 in a fresh scratch directory, with the console
// captured in a file.
class SoilRun {
  public:
    SoilRun() : st(std::make_unique<EngineState>()) {
        console_ = std::fopen("console.txt", "w+b");
        io.setConsole(console_);
        io.open(kReportUnit, "report.txt", rt::Access::Write);
    }
    ~SoilRun() {
        io.closeAll();
        if (console_) std::fclose(console_);
    }
    SoilRun(const SoilRun&) = delete;
    SoilRun& operator=(const SoilRun&) = delete;

    Engine engine() { return Engine{io, *st}; }

    std::string report() {
        io.close(kReportUnit);
        return test::readFile("report.txt");
    }
    std::string console() {
        std::fflush(console_);
        return test::readFile("console.txt");
    }

    // Wall, run control and geometry of an English-unit problem: NI increments of h, free height, WA, WP.
    void wall(int ni, double h, double freeHeight, double wa, double wp, int unitSystem = 1) {
        st->geometry.ni = ni;
        st->geometry.h = h;
        st->geometry.freeHeight = freeHeight;
        st->geometry.unitCode = unitSystem;
        st->run.h = h;
        st->run.wallLength = ni * h;
        st->run.wa = wa;
        st->run.unitSystem = unitSystem;
        st->wallSoil.freeHeight = freeHeight;
        st->wallSoil.wa = wa;
        st->wallSoil.wp = wp;
        st->wallSoil.waterTableBackfill = 1.0e6;
    }

    // An input layer whose bottom lies `bottomBelowTop` below the top of the wall; the six values are unit
    // weight, c or qu, friction angle in degrees, E50 or krm, k or Er, RQD.
    void layer(int soilType, double bottomBelowTop, const std::array<double, 6>& topValues,
               const std::array<double, 6>& bottomValues) {
        WallSoilInput& w = st->wallSoil;
        const int i = ++w.layerCount;
        w.soilType[i] = soilType;
        w.thickness[i] = bottomBelowTop - previousBottom_;
        previousBottom_ = bottomBelowTop;
        for (int v = 0; v < 6; ++v) {
            w.top[i][v + 1] = topValues[v];
            w.bottom[i][v + 1] = bottomValues[v];
        }
    }
    void layer(int soilType, double bottomBelowTop, const std::array<double, 6>& values) {
        layer(soilType, bottomBelowTop, values, values);
    }

    // A row of the p-y modification factors: depth below the top of the wall, p- and y-factor.
    void factorRow(double depthBelowTop, double pFactor, double yFactor) {
        WallSoilInput& w = st->wallSoil;
        const int i = ++w.pFactorCount;
        w.yFactorCount = i;
        w.factorDepth[i] = depthBelowTop;
        w.pFactor[i] = pFactor;
        w.yFactor[i] = yFactor;
    }

    std::unique_ptr<EngineState> st;
    rt::RecordIO io;

  private:
    test::ScratchDir dir_;
    std::FILE* console_ = nullptr;
    double previousBottom_ = 0.0;
};

// The SI wall of the generator tests (unit system 2): 20 increments of 0.3 m, free height 3.0 m, WP = 0.8 m and
// WA = `wa`; the toe cut ends the soil model 3.6 m below the excavation, so a layer reaching below it has its
// stations at 0.01, 0.9, 1.8, 2.7 and 3.59 m (0.01 m inside its ends). The water table at the top of the wall
// puts the whole layer below it: an input unit weight of 19.81 kN/m^3 less the 9.81 of water leaves 10.
inline void siWall(SoilRun& run, double wa) {
    run.wall(20, 0.3, 3.0, wa, 0.8, 2);
    run.st->wallSoil.waterTableBackfill = 0.0;
}

// Degrees in radians as the soil model converts them, with pi = 3.1416 in single precision.
inline double setUpRadians(double degrees) {
    return degrees * double(3.1416f) / 180.0;
}

// Typical soil values: a soft clay, a stiff clay, a sand, a rock (English units).
inline constexpr std::array<double, 6> kSoftClay = {0.07, 5.0, 0.0, 0.02, 0.0, 0.0};
inline constexpr std::array<double, 6> kStiffClay = {0.07, 10.0, 0.0, 0.005, 500.0, 0.0};
inline constexpr std::array<double, 6> kSand = {0.065, 0.0, 35.0, 0.0, 90.0, 0.0};
inline constexpr std::array<double, 6> kRock = {0.08, 1000.0, 0.0, 0.0005, 1.0e5, 50.0};

}  // namespace velmor::engine::soiltest
