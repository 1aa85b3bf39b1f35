// The wall solution alone, in process: NI = 400 on 63 chained nonlinear curves, 100 solutions in a row
// (soil springs at the current deflections, then the five-point equations), whether or not they have
// closed. Time per iteration of the benchmark = 100 solutions; items_per_second counts solutions.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine_state.h"
#include "wall_solver.h"

namespace {

using namespace velmor::engine;

void SolveHundredIterations(benchmark::State& state) {
    auto st = std::make_unique<EngineState>();
    velmor::rt::RecordIO io;
    Engine e{io, *st};
    const int ni = 400;
    const double h = 6.0;
    ProblemControl& c = st->control;
    c.ni = ni;
    c.h = h;
    DeriveStepQuantities(*st);
    c.maxDeflection = 1e6;
    c.closureTolerance = 0.0;
    c.iterationLimit = 100;
    for (int s = 0; s <= ni; ++s) st->stations.ei[position(s)] = (s == 0 || s == ni) ? 2.67e9 : 5.34e9;
    st->stations.q[position(0)] = 20000.0;
    // Curves every sixth station from 30 down, hyperbolic in shape (33 points), stiffer with depth.
    PYCurveStore& curves = st->curves;
    curves.count = 63;
    for (int k = 1; k <= 63; ++k) {
        const int station = 30 + 6 * (k - 1);
        curves.from[k] = curves.to[k] = position(station);
        curves.continuation[k] = 1;
        curves.pointCount[k] = 33;
        const double pu = 50.0 * k * h, y50 = 0.5;
        for (int j = 1; j <= 33; ++j) {
            const double y = (j - 17) * 0.25;
            curves.y[k][j] = y;
            curves.p[k][j] = -pu * y / (y50 + std::fabs(y));
        }
    }
    constexpr int kSolutions = 100;
    for (auto _ : state) {
        for (int s = 0; s <= ni + 7; ++s) st->stations.w[s] = 0.0;
        for (int i = 0; i < kSolutions; ++i) {
            AddSoilSprings(e);
            SolveDifferenceEquations(e);
        }
        benchmark::DoNotOptimize(st->stations.w[position(0)]);
    }
    state.SetItemsProcessed(state.iterations() * kSolutions);
}

BENCHMARK(SolveHundredIterations)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
