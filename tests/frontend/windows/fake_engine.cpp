// Stand-ins for the engine library, each built into a loadable file of its own: the entry returns
// FAKE_RESULT after writing FAKE_WRITES of the run files that names.dat names (0 none, and a line to the
// console instead; 1 the report; 2 the report and the plot-data file). With FAKE_REPORT_BYTES the report
// holds only its first bytes, as on a disk that filled, and the console says so; with FAKE_CRASH the
// process then dies inside the call. Built without FAKE_RESULT, the library has no entry at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifdef FAKE_RESULT
namespace {

// Line `Number` (1 input, 2 report, 3 plot-data file) of names.dat in the current directory.
std::string runFile(int Number) {
    std::ifstream names("names.dat", std::ios::binary);
    std::string line;
    for (int k = 0; k < Number; ++k) std::getline(names, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t _IVELMOR(std::int32_t) {
    std::string report = "     END OF ANALYSIS\n";
#ifdef FAKE_REPORT_BYTES
    report.resize(FAKE_REPORT_BYTES);
    std::fputs((" CANNOT WRITE FILE " + runFile(2) + ": No space left on device\n").c_str(), stderr);
#endif
    if (FAKE_WRITES == 0) std::fputs(" FAKE ENGINE WROTE NOTHING\n", stderr);
    if (FAKE_WRITES >= 1) std::ofstream(runFile(2), std::ios::binary) << report;
    if (FAKE_WRITES >= 2) std::ofstream(runFile(3), std::ios::binary) << " 0\n";
#ifdef FAKE_CRASH
    std::abort();
#endif
    return FAKE_RESULT;
}
#endif
