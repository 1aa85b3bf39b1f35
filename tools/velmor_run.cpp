// Runs one project through the engine library as the program does: writes names.dat in the current
// directory, loads Velmor2013_DLL from beside this executable, calls the entry with the interface number,
// unloads the library, removes names.dat and judges the run by the report this call wrote. The engine's
// scratch files land in the current directory.
//
// Exit status: 0 the analysis finished (its warnings, if any, on stderr); 1 it stopped (the report's message
// on stderr); 2 it was not run (no library, a damaged one, a refused interface, a failed call, no new report
// or plot-data file, or a report that does not reach its end; the earlier result files are then kept).

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "fields/exceptions.h"
#include "project/engine_client.h"
#include "project/run_control.h"
#include "project/run_report.h"

namespace {

namespace fs = std::filesystem;
using velmor::project::TRunCall;

constexpr int kFinished = 0, kStopped = 1, kNotRun = 2;

fs::path ownDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

int notRun(const std::string& message) {
    std::cerr << "velmor-run: " << message << "\n";
    return kNotRun;
}

void printLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) std::cerr << line << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    namespace project = velmor::project;
    if (argc != 2) return notRun("usage: velmor-run PROJECT.vm4d");
    std::error_code ec;
    const std::string input = fs::absolute(argv[1], ec).lexically_normal().string();
    if (ec || !fs::is_regular_file(input)) return notRun(std::string("no project file ") + argv[1]);
    const project::TRunFileNames names = project::RunFileNames(input);
    const std::string library = (ownDirectory() / project::kEngineLibraryFile).string();
    project::TSharedLibraryLoader loader;
    project::TEngineClient engine(names, library, loader);
    // The engine's console lines go to this process's stderr as they are written.
    project::TEngineRun run;
    try {
        run = engine.Run();
    } catch (const velmor::components::EInOutError& e) {
        return notRun(e.what());  // names.dat could not be written
    }
    if (run.Step != project::TEngineRun::TStep::Called) return notRun(run.Fault);
    const TRunCall& call = run.Call;
    std::cout << "report: " << names.Report << "\n"
              << "return code: " << engine.Result() << "\n";
    printLines(call.Lines);
    switch (call.End) {
        case TRunCall::TEnd::Finished:
            return kFinished;
        case TRunCall::TEnd::Stopped:
            return kStopped;
        case TRunCall::TEnd::Refused:
            return notRun(library + " does not take the interface number " + std::to_string(velmor::kInterfaceNumber) +
                          " of this program");
        case TRunCall::TEnd::NotRun:
            break;
    }
    return kNotRun;
}
