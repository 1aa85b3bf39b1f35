// The program's own paths: from process start to the main window shown with an example project loaded,
// and a run of an example through the main window (save, names.dat, load, entry, unload, plot read,
// buttons; the completion message answered by a fake).
//
//   build/bin/velmor_program_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "windows/main_form.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace platform = velmor::platform;

fs::path scratch() {
    static const fs::path dir = [] {
        char name[] = "/tmp/velmor-program-bench-XXXXXX";
        if (mkdtemp(name) == nullptr) std::abort();
        return fs::path(name);
    }();
    return dir;
}

fs::path exampleCopy(const char* example) {
    const fs::path target = scratch() / example;
    fs::copy_file(fs::path(VELMOR_EXAMPLES_DIR) / example, target, fs::copy_options::overwrite_existing);
    return target;
}

void StartUpToShownWindow(benchmark::State& state) {
    const std::string program = VELMOR_PROGRAM;
    const std::string project = exampleCopy("cantilever-sand-english.vm4d").string();
    // The process gets its own settings directory, so the user's recent files play no part.
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "VELMOR_QUIT_WHEN_SHOWN=1",
                                    "XDG_CONFIG_HOME=" + scratch().string(), "HOME=" + scratch().string()};
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(project.c_str()), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
            state.SkipWithError("cannot start the program");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not end normally");
            return;
        }
    }
}
BENCHMARK(StartUpToShownWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void RunThroughTheProgram(benchmark::State& state) {
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    velmor::windows::TMainForm::SetProgramDirectory(QFileInfo(VELMOR_PROGRAM).absolutePath());
    velmor::windows::TMainForm form;
    form.FormShow({});
    form.OpenFileName(exampleCopy("cantilever-sand-english.vm4d").string(), 0);
    for (auto _ : state) {
        form.CompRunClick();
        if (!form.PlotLoaded()) state.SkipWithError("the run gave no results");
    }
    velmor::windows::TMainForm::SetProgramDirectory(QString());
}
BENCHMARK(RunThroughTheProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(scratch());
    return 0;
}
