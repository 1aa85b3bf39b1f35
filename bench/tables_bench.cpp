// Grid-table operations on a table of 10 000 rows and 5 float columns with unit codes: filling every cell
// through the cell accessor, a change of unit system, and inserting and deleting a row group in the middle.
// Each must stay well under 10 ms: no cell access may search its column.

#include <benchmark/benchmark.h>

#include <memory>

#include "tables/grid_table.h"

namespace {

using namespace velmor::components;

constexpr int kRows = 10000;
constexpr int kColumns = 5;

std::unique_ptr<TGridTable> makeTable(TTableSpace& space) {
    auto table = std::make_unique<TGridTable>(space);
    const char* codes[kColumns] = {"L2", "F/L2^3", "F/L2^2", "", "F/L^3"};
    for (const char* code : codes) {
        auto column = std::make_unique<TFloatColumn>(table.get());
        column->Header = {"Value"};
        column->UnitString = code;
        table->AddColumn(std::move(column));
    }
    table->SetRowCount(kRows);
    return table;
}

void FillEveryCell(benchmark::State& state) {
    TTableSpace space;
    auto table = makeTable(space);
    for (auto _ : state) {
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) table->Cell(c, r).SetFloat(r + c);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FillEveryCell)->Unit(benchmark::kMillisecond);

void SetUnits(benchmark::State& state) {
    TTableSpace space;
    auto table = makeTable(space);
    int units = 1;
    for (auto _ : state) {
        units = 3 - units;
        table->SetUnits(units);
    }
}
BENCHMARK(SetUnits)->Unit(benchmark::kMillisecond);

void InsertAndDeleteRowGroupInTheMiddle(benchmark::State& state) {
    TTableSpace space;
    auto table = makeTable(space);
    for (auto _ : state) {
        table->InsertRowGroup(kRows / 2);
        table->DeleteRowGroup(kRows / 2);
    }
}
BENCHMARK(InsertAndDeleteRowGroupInTheMiddle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
