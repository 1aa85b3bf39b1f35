#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/test_support.h"

namespace {

using velmor::test::readFile;
using velmor::test::ScratchDir;
using velmor::test::writeFile;

std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
        pclose(pipe);
    }
    return out;
}

TEST(SharedLibrary, ExportsExactlyTheTwoEntryNames) {
    std::istringstream table(commandOutput(std::string("nm -D --defined-only ") + VELMOR_ENGINE_LIBRARY));
    std::set<std::string> names;
    std::string address, kind, name;
    while (table >> address >> kind >> name) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"IVELMOR", "_IVELMOR"}));
}

// Bytes of address space the process has mapped.
std::uintmax_t mappedBytes() {
    std::istringstream maps(readFile("/proc/self/maps"));
    std::uintmax_t total = 0;
    std::string line;
    while (std::getline(maps, line)) {
        std::uintmax_t begin = 0, end = 0;
        char dash = 0;
        if (std::istringstream(line) >> std::hex >> begin >> dash >> end) total += end - begin;
    }
    return total;
}

TEST(SharedLibrary, LoadsRunsAndUnloadsRepeatedly) {
    ScratchDir dir;
    writeFile("names.dat", "wall.vm4d\r\nwall.vm4o\r\nwall.vm4p\r\nwall.vm4r\r\n");
    writeFile("wall.vm4d", "Loaded wall\r\n1 0 0 0 0 0 0 1 0\r\n0\r\n");
    std::string first;
    std::uintmax_t mappedAfterFirst = 0;
    for (const char* entryName : {"_IVELMOR", "IVELMOR", "_IVELMOR"}) {
        void* handle = dlopen(VELMOR_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        using Entry = int32_t (*)(int32_t);
        auto entry = reinterpret_cast<Entry>(dlsym(handle, entryName));
        ASSERT_NE(entry, nullptr) << entryName;
        EXPECT_EQ(entry(13), 1);
        EXPECT_EQ(entry(14), 0);
        EXPECT_EQ(dlsym(handle, "RunAnalysis"), nullptr);
        dlclose(handle);
        std::string report = readFile("wall.vm4o");
        if (first.empty()) first = report;
        EXPECT_EQ(report, first);
        if (mappedAfterFirst == 0) mappedAfterFirst = mappedBytes();
    }
    // The unloaded library leaves no memory of its runs behind: its work window alone maps 4 MiB a load
    // (a sanitizer's own bookkeeping grows by a little each load).
    EXPECT_LT(mappedBytes() - mappedAfterFirst, std::uintmax_t(1) << 20);
    EXPECT_NE(first.find("Loaded wall"), std::string::npos);
}

TEST(RunTool, RunsAProjectBesideTheResultFiles) {
    ScratchDir dir;
    std::filesystem::create_directories("my.projects");
    writeFile("my.projects/wall", "Run tool wall\n1 0 0 0 0 0 0 1 0\n0\n");
    std::string out = commandOutput(std::string(VELMOR_RUN_TOOL) + " my.projects/wall 2>&1");
    std::string report = (dir.path() / "my.projects/wall.vm4o").string();
    EXPECT_NE(out.find("report: " + report), std::string::npos) << out;
    EXPECT_NE(out.find("return code: 0"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists("names.dat"));
    std::string text = readFile(report);
    EXPECT_NE(text.find(" VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES"), std::string::npos);
    EXPECT_NE(text.find("      Run tool wall"), std::string::npos);
    EXPECT_NE(text.find("     END OF ANALYSIS"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("my.projects/wall.vm4p"));
    EXPECT_TRUE(std::filesystem::exists("my.projects/wall.vm4r"));
}

}  // namespace
