// libFuzzer target: every input is written as the project file and run through the engine entry in
// process. Stops unwind to the driver, so a run can end any way the input makes it; what must never
// happen is a crash, a sanitizer report, a hang, a NaN or infinity handed to a result file, or a value in
// the plot-data file that the program cannot parse.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "run_driver.h"
#include "runtime/edit_format.h"
#include "velmor/version.h"

namespace {

std::FILE* g_console = nullptr;
char g_directory[] = "/tmp/velmor-fuzz-XXXXXX";

void removeDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(g_directory, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!mkdtemp(g_directory)) std::abort();
    std::atexit(removeDirectory);
    std::filesystem::current_path(g_directory);
    std::ofstream("names.dat") << "wall.vm4d\nwall.vm4o\nwall.vm4p\nwall.vm4r\n";
    g_console = std::fopen("/dev/null", "w");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream project("wall.vm4d", std::ios::binary | std::ios::trunc);
        project.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (velmor::engine::RunEntry(velmor::kInterfaceNumber, g_console) != 0) std::abort();
    if (velmor::rt::nonFiniteValuesFormatted() != 0) {
        std::fprintf(stderr, "a NaN or infinity reached a result file\n");
        std::abort();
    }
    // The program parses the plot-data file: no field overflowed to asterisks, no exponent without its
    // letter (a mantissa digit followed directly by the exponent's sign).
    std::ifstream plot("wall.vm4p", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(plot)), std::istreambuf_iterator<char>());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digitSign =
            i + 1 < text.size() && text[i] >= '0' && text[i] <= '9' && (text[i + 1] == '+' || text[i + 1] == '-');
        if (text[i] == '*' || digitSign) {
            std::fprintf(stderr, "the plot-data file holds a value the program cannot read\n");
            std::abort();
        }
    }
    return 0;
}
