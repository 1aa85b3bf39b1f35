// Reading and writing the largest project the tables allow: every plain table at its row limit, 10 soil
// layers, 30 p-y curve sets of 17 points and 20 moment-EI sets of 100 points. Each must stay within 5 ms.
// The variant /1 adds a long-term problem (10 more layers, 100 rows of long-term pressure and every shared
// table once more), which doubles the file.
//
//   build/bin/velmor_project_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "project/program_data.h"

namespace {

using velmor::project::TGridTable;
using velmor::project::TGridTableChart;
using velmor::project::TProgramData;

void fillRows(TGridTable& Table, int Rows) {
    Table.SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Table.ColumnCount(); ++c) {
            const std::string kind = Table.Columns(c)->ClassType().Name;
            if (kind.find("Float") != std::string::npos) Table.Cell(c, r).SetFloat(1.25L * (r + 1) + c);
        }
}

void fillLayers(TGridTable& Layers) {
    Layers.SetRowCount(10);
    for (int r = 0; r < 10; ++r) {
        Layers.Cell(0, r).SetInteger(1 + r % 7);
        Layers.Cell(1, r).SetFloat(3.5L * (r + 1));
        fillRows(*Layers.Cell(2, r).AsTable(), 2);
    }
}

void fillCurves(TGridTableChart& Sets, int SetCount, int TableColumn, int Points) {
    Sets.SetRowCount(SetCount);
    for (int r = 0; r < SetCount; ++r) {
        Sets.Cell(0, r).SetInteger(r + 1);
        TGridTableChart& points = *Sets.Cell(TableColumn, r).AsTable();
        points.SetRowCount(Points);
        for (int p = 0; p < Points; ++p) {
            points.Cell(0, p).SetFloat(-1.0L + 0.125L * p);
            points.Cell(1, p).SetFloat(1000.0L / (p + 1));
        }
    }
}

std::unique_ptr<TProgramData> largestProject(const std::string& FileName, bool LongTerm) {
    auto data = std::make_unique<TProgramData>();
    data->FileName = FileName;
    data->NumIncrements = 300;
    data->IncrementLength = 1.5L;
    data->FreeHeight = 120;
    data->UseRestraints = data->UseConcentratedLoads = data->UseSprings = data->UsePYModification = true;
    data->UseUserEarthPressure = data->UseSurcharges = data->UseExternalPYCurves = data->UseMEICurves = true;
    data->ShortAndLongTerm = LongTerm;
    auto& t = data->Tables();
    for (TGridTable* table : {&t.PileSect(), &t.Soillayer(), &t.SoilStrength(), &t.PYMod(), &t.DistLoad(),
                              &t.BoundCond(), &t.SurchargeTable()})
        fillRows(*table, table->MaxRows());
    fillRows(t.LongDist(), 100);
    fillLayers(t.NewSoil());
    fillLayers(t.LongSoil());
    fillCurves(t.PYCurves2(), 30, 1, 17);
    fillCurves(t.MEICurves2(), 20, 2, 100);
    return data;
}

const std::string& benchFile() {
    static const std::string name = (std::filesystem::temp_directory_path() / "velmor-project-bench.vm4d").string();
    return name;
}

void BM_WriteLargestProject(benchmark::State& state) {
    auto data = largestProject(benchFile(), state.range(0) != 0);
    for (auto _ : state) data->SaveToFile();
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(benchFile()));
}
BENCHMARK(BM_WriteLargestProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadLargestProject(benchmark::State& state) {
    largestProject(benchFile(), state.range(0) != 0)->SaveToFile();
    for (auto _ : state) {
        auto data = TProgramData::CreateFromFile(benchFile(), 1);
        benchmark::DoNotOptimize(data.get());
    }
    std::filesystem::remove(benchFile());
}
BENCHMARK(BM_ReadLargestProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_NewProject(benchmark::State& state) {
    for (auto _ : state) {
        TProgramData data;
        benchmark::DoNotOptimize(&data);
    }
}
BENCHMARK(BM_NewProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
