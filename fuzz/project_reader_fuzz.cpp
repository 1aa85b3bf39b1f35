// libFuzzer target: the first byte of an input chooses the layout (current, 3.0 or 2.0), the rest is the
// content of a project file. Reading may refuse the file with EInOutError only. A project that was read is
// written; the writer may refuse it with EInOutError only (a layer of an unknown soil type). A written file
// must read back in the current layout and write again to the same bytes. Anything else, a crash, a
// sanitizer report or a hang is a finding.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fields/exceptions.h"
#include "project/program_data.h"
#include "scratch_files.h"

using velmor::components::EInOutError;
using velmor::project::TProgramData;

namespace {

std::string g_input;
std::string g_output;

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void writeFile(const std::string& path, const std::string& text) {
    if (!velmor::fuzz::WriteScratchFile(path, text.data(), text.size())) finding("cannot write a file");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string directory = velmor::fuzz::MakeScratchDirectory("/tmp/velmor-project-fuzz-XXXXXX");
    g_input = directory + "/input.vm4d";
    g_output = directory + "/output.vm4d";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int format = 1 + data[0] % 3;
    writeFile(g_input, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

    std::unique_ptr<TProgramData> project;
    try {
        project = TProgramData::CreateFromFile(g_input, format);
    } catch (const EInOutError&) {
        return 0;
    }
    std::string first;
    try {
        first = project->ProblemText(false);
    } catch (const EInOutError&) {
        return 0;
    }
    // A value beyond what 8 digits can carry back (an overflow to infinity) is not a finding of the reader.
    if (first.find("INF") != std::string::npos || first.find("NAN") != std::string::npos) return 0;
    writeFile(g_output, first);
    try {
        auto again = TProgramData::CreateFromFile(g_output, 1);
        if (again->ProblemText(false) != first) finding("a written project did not write again to the same bytes");
    } catch (const EInOutError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        finding("a written project did not read back");
    }
    return 0;
}
