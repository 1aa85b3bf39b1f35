// Whole engine runs through the library entry: each example project and the largest legal problem.
//   WholeRun/...  as the program runs the engine: write names.dat, load the library, call the entry, unload
//                 it and delete names.dat, every run. Side by side with each run it times the run's floor:
//                 the same names.dat written and deleted, the library loaded and unloaded without a call,
//                 and the bytes the run wrote to the report, plot-data and monitor files written as new
//                 files. Counters: run_ms and floor_ms (medians) and x_floor, their ratio;
//   Run/...       the library loaded once and the entry called again and again in one process;
//   Memory/...    the growth of resident memory over 1000 runs in one process, which must stay flat.
// Reports time per run and the peak resident memory.
//
//   build/bin/velmor_engine_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "project/engine_client.h"
#include "project/library_file.h"

namespace {

namespace fs = std::filesystem;
using velmor::project::TSharedLibraryLoader;

const char* const kProjectFile = "wall.vm4d";

// The run-control file of the benchmark's project, as the program's engine client writes it.
void writeRunControl() {
    velmor::project::WriteRunControlFile(velmor::project::kRunControlFileName,
                                         velmor::project::RunFileNames(kProjectFile));
}

// The engine library loaded for as long as it lives, through the program's engine client; unloaded again
// after it, so that the next load maps it afresh.
class Library {
  public:
    Library() : entry_(loader_.Load(VELMOR_ENGINE_LIBRARY, fault_)) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    int32_t run() const { return entry_ ? entry_(velmor::kInterfaceNumber) : -1; }
    const std::string& fault() const { return fault_; }

  private:
    std::string fault_;
    TSharedLibraryLoader loader_;
    velmor::project::TEngineEntry entry_;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double residentMiB() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The largest problem the engine takes: 407 increments, 10 soil layers generating curves, 30 user
// curves, the trapezoidal earth pressure with a tieback, five construction stages.
std::string largestProblem() {
    std::ostringstream f;
    const int ni = 407;
    const double h = 6.0;
    for (int stage = 1; stage <= 5; ++stage) {
        const double freeHeight = 48.0 * stage;
        f << (stage == 1 ? std::string("Largest legal problem") : " Stage No : " + std::to_string(stage)) << "\r\n";
        f << "1 0\t1\t0\t3\t2 30 5 0\r\n";
        f << ni << " " << h << "\t100\t0.001\t" << freeHeight << "\r\n";
        f << "0\t" << ni << "\t1\t5.34E9\r\n";
        f << "0\r\n";
        f << "1\r\n6\t6\t1\t50000\t0\r\n";
        f << freeHeight << "\t12\t12\t600\t600\t1\t1\t0\r\n0\t0\t0\t0\t0\t0\r\n0\r\n10\r\n";
        for (int layer = 1; layer <= 10; ++layer) {
            const double bottom = layer * 260.0;
            if (layer % 2 == 1) {
                f << "4 " << bottom << " \r\n";
                for (int row = 0; row < 2; ++row) f << "0.066550926 0.0  32 0.0  90 0.0  \r\n";
            } else {
                f << "2 " << bottom << " \r\n";
                for (int row = 0; row < 2; ++row) f << "0.069444444 13.888889 0.0  0.005 500 0.0  \r\n";
            }
        }
        for (int curve = 1; curve <= 30; ++curve) {
            const int node = 10 * curve;
            const double pu = 40.0 * curve;
            f << node << "\t5\t1\t1\r\n";
            f << "-1\t" << pu << "\r\n-0.2\t" << 0.6 * pu << "\r\n0\t0\r\n0.2\t" << -0.6 * pu << "\r\n1\t" << -pu
              << "\r\n";
        }
        f << stage << "\r\n";
    }
    return f.str();
}

// A scratch directory made current for one benchmark, holding the project as wall.vm4d; removed after it.
class ScratchProject {
  public:
    explicit ScratchProject(const std::string& project)
        : dir_(fs::temp_directory_path() / ("velmor-bench-" + std::to_string(getpid()))),
          previous_(fs::current_path()) {
        fs::create_directories(dir_);
        fs::current_path(dir_);
        writeAll(kProjectFile, project);
    }
    ~ScratchProject() {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    ScratchProject(const ScratchProject&) = delete;
    ScratchProject& operator=(const ScratchProject&) = delete;

  private:
    fs::path dir_, previous_;
};

// A file written as a new file, as the engine writes its result files.
void writeNew(const char* path, const std::string& text) {
    std::remove(path);
    if (std::FILE* out = std::fopen(path, "wb")) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The program's way: names.dat written, the library loaded, the entry called, the library unloaded and
// names.dat deleted, for every run. Each run is followed by its floor (see above); the benchmark's time is
// the runs' alone.
void wholeRun(benchmark::State& state, const std::string& project) {
    using Clock = std::chrono::steady_clock;
    ScratchProject scratch(project);
    auto runOnce = [&state] {
        if (velmor::project::RunEngineOnce(velmor::project::RunFileNames(kProjectFile), VELMOR_ENGINE_LIBRARY) != 0)
            state.SkipWithError("the entry did not run");
    };
    runOnce();
    const char* const results[] = {"wall.vm4o", "wall.vm4p", "wall.vm4r"};
    std::string written[3];
    for (int i = 0; i < 3; ++i) written[i] = readAll(results[i]);

    std::vector<double> runs, floors;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        runOnce();
        const Clock::time_point ran = Clock::now();
        {
            writeRunControl();
            velmor::project::LibraryFileFault(VELMOR_ENGINE_LIBRARY);  // the check before every load
            Library library;
        }
        for (int i = 0; i < 3; ++i) writeNew(results[i], written[i]);
        std::remove("names.dat");
        const Clock::time_point floorDone = Clock::now();
        const double run = std::chrono::duration<double>(ran - start).count();
        state.SetIterationTime(run);
        runs.push_back(run * 1e3);
        floors.push_back(std::chrono::duration<double>(floorDone - ran).count() * 1e3);
    }
    runOnce();
    if (readAll("wall.vm4o") != written[0] || readAll("wall.vm4p") != written[1] || readAll("wall.vm4r") != written[2])
        state.SkipWithError("the runs did not write the same files");
    if (written[0].find("END OF ANALYSIS") == std::string::npos) state.SkipWithError("no report");
    if (dlopen(VELMOR_ENGINE_LIBRARY, RTLD_NOW | RTLD_NOLOAD)) state.SkipWithError("the library stayed loaded");
    const double runMs = median(runs), floorMs = median(floors);
    state.counters["run_ms"] = runMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = floorMs > 0.0 ? runMs / floorMs : 0.0;
    state.counters["peak_MiB"] = peakResidentMiB();
}

void runProject(benchmark::State& state, const std::string& project) {
    ScratchProject scratch(project);
    writeRunControl();
    Library library;
    if (library.run() != 0) state.SkipWithError("the entry did not run");
    if (readAll("wall.vm4o").find("END OF ANALYSIS") == std::string::npos) state.SkipWithError("no report");
    for (auto _ : state) benchmark::DoNotOptimize(library.run());
    state.SetItemsProcessed(state.iterations());
    state.counters["peak_MiB"] = peakResidentMiB();
}

void repeatedRuns(benchmark::State& state, const std::string& project) {
    ScratchProject scratch(project);
    writeRunControl();
    Library library;
    double growth = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) library.run();
        const double before = residentMiB();
        for (int i = 0; i < 1000; ++i) library.run();
        growth = residentMiB() - before;
    }
    state.counters["growth_MiB_per_1000_runs"] = growth;
}

}  // namespace

int main(int argc, char** argv) {
    {
        Library library;
        if (library.run() == -1) {
            std::fprintf(stderr, "%s\n", library.fault().c_str());
            return 1;
        }
    }
    // The engine writes its console lines to standard error; keep the benchmark's table readable.
    if (!std::freopen("/dev/null", "w", stderr)) return 1;

    std::vector<fs::path> examples;
    for (const auto& entry : fs::directory_iterator(VELMOR_EXAMPLES_DIR))
        if (entry.path().extension() == ".vm4d") examples.push_back(entry.path());
    std::sort(examples.begin(), examples.end());
    std::vector<std::pair<std::string, std::string>> projects;  // name, input text
    for (const fs::path& path : examples) projects.emplace_back(path.stem().string(), readAll(path));
    const std::string largest = largestProblem();
    projects.emplace_back("largest-legal-problem", largest);
    const std::pair<const char*, void (*)(benchmark::State&, const std::string&)> kinds[] = {{"WholeRun/", wholeRun},
                                                                                             {"Run/", runProject}};
    for (const auto& [prefix, run] : kinds) {
        for (const auto& [name, text] : projects) {
            benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(
                (prefix + name).c_str(), [run = run, text = text](benchmark::State& s) { run(s, text); });
            b->Unit(benchmark::kMillisecond);
            if (run == wholeRun) b->UseManualTime();
        }
    }
    benchmark::RegisterBenchmark("Memory/1000-runs-largest",
                                 [largest](benchmark::State& s) { repeatedRuns(s, largest); })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
