#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

// A wall of 10 increments of 12 in with its head fixed and no soil, which runs to the end.
const std::string kWall =
    "Fixed head\n1 1 1 0 0 0 0 1 0\n10 12.0 100.0 0.001 60.0\n3 0 0.0 0.0\n0 10 1 1.0E9\n0\n0\n0\n";

std::string runWithNames(const std::string& names) {
    writeFile("names.dat", names);
    std::FILE* sink = std::fopen("console.txt", "w+b");
    EXPECT_EQ(RunEntry(14, sink), 0);
    std::fclose(sink);
    return readFile("console.txt");
}

TEST(RunFiles, NamesThatCannotBeUsedEndTheRunBeforeAnyFileIsOpened) {
    const std::string longPath(300, 'x');
    const struct {
        const char* what;
        std::string names;
        const char* message;  // the console line that says what is wrong
    } cases[] = {
        {"path too long", "wall.vm4d\n" + longPath + "\nwall.vm4p\nwall.vm4r\n",
         " THE REPORT FILE PATH IN LINE 2 OF names.dat IS 300 CHARACTERS LONG; AT MOST 255 ARE ALLOWED\n"},
        {"report over the input", "wall.vm4d\nwall.vm4d\nwall.vm4p\nwall.vm4r\n",
         " THE REPORT FILE AND THE INPUT FILE ARE THE SAME FILE: wall.vm4d\n"},
        {"monitor over the input by another path", "wall.vm4d\nwall.vm4o\nwall.vm4p\n./wall.vm4d\n",
         " THE MONITOR FILE AND THE INPUT FILE ARE THE SAME FILE: ./wall.vm4d\n"},
        {"plot-data over the report", "wall.vm4d\nwall.vm4o\nwall.vm4o\nwall.vm4r\n",
         " THE PLOT-DATA FILE AND THE REPORT FILE ARE THE SAME FILE: wall.vm4o\n"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        writeFile("wall.vm4d", kWall);
        const std::string console = runWithNames(c.names);
        EXPECT_EQ(console.substr(0, console.find('\n') + 1), c.message) << c.what;
        EXPECT_EQ(readFile("wall.vm4d"), kWall) << c.what;
        for (const char* result : {"wall.vm4o", "wall.vm4p", "wall.vm4r"})
            EXPECT_FALSE(std::filesystem::exists(result)) << c.what << ", " << result;
    }
}

TEST(RunFiles, TrailingBlanksDoNotCountTowardsTheLengthOfAName) {
    ScratchDir dir;
    writeFile("wall.vm4d", kWall);
    const std::string pad(400, ' ');
    runWithNames("wall.vm4d" + pad + "\nwall.vm4o" + pad + "\nwall.vm4p\nwall.vm4r" + pad + "\n");
    EXPECT_NE(readFile("wall.vm4o").find(testing::kEndOfAnalysis), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("wall.vm4r"));
}

TEST(RunFiles, ResultFileThatCannotBeWrittenIsNamedInTheReport) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to stand for a full disk";
    const struct {
        const char* what;
        const char* names;
    } cases[] = {
        {"plot-data file", "wall.vm4d\nwall.vm4o\n/dev/full\nwall.vm4r\n"},
        {"monitor file", "wall.vm4d\nwall.vm4o\nwall.vm4p\n/dev/full\n"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        writeFile("wall.vm4d", kWall);
        const std::string console = runWithNames(c.names);
        const std::string report = readFile("wall.vm4o");
        const std::string message = "     CANNOT WRITE FILE /dev/full: " + std::string(std::strerror(ENOSPC));
        const std::size_t at = report.find(message);
        ASSERT_NE(at, std::string::npos) << c.what << "\n" << report;
        EXPECT_EQ(report.find(message, at + 1), std::string::npos) << c.what;  // said once
        EXPECT_EQ(report.substr(at + message.size()), "\n" + testing::kEndOfAnalysis) << c.what;
        EXPECT_NE(console.find(message.substr(4)), std::string::npos) << c.what;
    }
}

const char* const kNames = "wall.vm4d\nwall.vm4o\nwall.vm4p\nwall.vm4r\n";

// A result file of an earlier run is replaced by a new file: another name linked to the old file keeps
// the old bytes, and nothing of them is left at the result's path.
TEST(RunFiles, EarlierResultFilesAreReplacedByNewFiles) {
    ScratchDir dir;
    writeFile("wall.vm4d", kWall);
    const std::string old(200000, '\x01');  // a byte no result file holds
    for (const char* result : {"wall.vm4o", "wall.vm4p", "wall.vm4r"}) {
        writeFile(result, old);
        std::filesystem::create_hard_link(result, std::string(result) + ".old");
    }
    runWithNames(kNames);
    for (const char* result : {"wall.vm4o", "wall.vm4p", "wall.vm4r"}) {
        EXPECT_EQ(readFile(std::string(result) + ".old"), old) << result;
        EXPECT_EQ(readFile(result).find('\x01'), std::string::npos) << result;
        EXPECT_EQ(std::filesystem::hard_link_count(result), 1u) << result;
    }
    EXPECT_NE(readFile("wall.vm4o").find(testing::kEndOfAnalysis), std::string::npos);
}

// What is not a plain writable file at a result's path is not removed but opened as it always was: a link
// is written through, a device written to, a directory refused with the same message as ever, and a file
// marked read-only (refused, or written over in place for a user the system lets write anything) stays the
// file other names link to.
TEST(RunFiles, ResultPathsThatAreNoPlainWritableFileAreOpenedAsBefore) {
    namespace fs = std::filesystem;
    const struct {
        const char* names;
        const char* path;  // the path that must keep its kind
        fs::file_type kind;
        const char* report;   // where the report is written, or null when the run stops
        const char* message;  // the console text the run ends with
    } cases[] = {
        {"wall.vm4d\nlinked.vm4o\nwall.vm4p\nwall.vm4r\n", "linked.vm4o", fs::file_type::symlink, "target.vm4o", nullptr},
        {"wall.vm4d\nwall.vm4o\nwall.vm4p\n/dev/null\n", "/dev/null", fs::file_type::character, "wall.vm4o", nullptr},
        {kNames, "wall.vm4r", fs::file_type::directory, nullptr, " CANNOT CREATE FILE wall.vm4r: "},
        {kNames, "kept.vm4r", fs::file_type::regular, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ScratchDir dir;
        writeFile("wall.vm4d", kWall);
        writeFile("target.vm4o", std::string(5000, '\x01'));
        fs::create_symlink("target.vm4o", "linked.vm4o");
        if (c.kind == fs::file_type::directory) {
            fs::create_directory("wall.vm4r");
        } else if (c.kind == fs::file_type::regular) {
            writeFile("wall.vm4r", "old");
            fs::create_hard_link("wall.vm4r", "kept.vm4r");
            fs::permissions("wall.vm4r", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        }
        const std::string console = runWithNames(c.names);
        EXPECT_EQ(fs::symlink_status(c.path).type(), c.kind);
        if (c.message) {
            EXPECT_EQ(console, c.message + std::string(std::strerror(EISDIR)) + "\n");
        }
        if (c.kind == fs::file_type::regular) {
            EXPECT_EQ(fs::hard_link_count("wall.vm4r"), 2u);
            EXPECT_EQ(readFile("kept.vm4r"), readFile("wall.vm4r"));
        }
        if (c.report) {
            EXPECT_EQ(readFile(c.report).find('\x01'), std::string::npos);
            EXPECT_NE(readFile(c.report).find(testing::kEndOfAnalysis), std::string::npos);
        }
    }
}

// Stop code 1 of the earth-pressure module comes with one line that says what is wrong.
TEST(RunFiles, StopCodeOneSaysWhyAndWhichLayer) {
    const struct {
        const char* what;
        double freeHeight;
        const char* layers;  // layer count and layers
        const char* message;
    } cases[] = {
        {"no layer", 60.0, "0\n", "     NO SOIL LAYER IS GIVEN: THE EXCAVATION LEVEL LIES IN NO LAYER"},
        {"layers end above the excavation", 60.0, "1\n4 30\n0.07 0 30 0 90 0\n0.07 0 30 0 90 0\n",
         "     THE SOIL LAYERS END AT 0.300E+02 IN (LAYER  1), NOT BELOW THE EXCAVATION LEVEL AT 0.600E+02 IN"},
        {"second layer not below the first", 60.0,
         "2\n4 30\n0.07 0 30 0 90 0\n0.07 0 30 0 90 0\n4 20\n0.07 0 30 0 90 0\n0.07 0 30 0 90 0\n",
         "     SOIL LAYER  2 ENDS AT 0.200E+02 IN, NOT BELOW THE TOP OF THE LAYER"},
        {"free height beyond the wall", 150.0, "1\n4 120\n0.07 0 30 0 90 0\n0.07 0 30 0 90 0\n",
         "     THE FREE HEIGHT OF WALL 0.150E+03 IN IS NOT ABOVE THE TIP OF THE WALL AT 0.120E+03 IN"},
    };
    for (const auto& c : cases) {
        const std::string fh = std::to_string(c.freeHeight);
        const std::string input = "Earth pressure\n1 0 1 0 2 0 0 1 0\n10 12.0 100.0 0.001 " + fh +
                                  "\n0 10 1 1.0E9\n0\n0\n" + fh + " 12 12 900 900 1 1 0\n0 0 0 0 0 0\n0\n" + c.layers +
                                  "0\n";
        const testing::WholeRun run = testing::RunWhole(input);
        const std::string expected = std::string(c.message) + "\n     RUN STOPPED WITH STOP CODE 1\n";
        EXPECT_NE(run.report.find("\n\n" + expected + testing::kEndOfAnalysis), std::string::npos) << c.what << "\n"
                                                                                                   << run.report;
        EXPECT_NE(run.console.find(expected), std::string::npos) << c.what;
    }
}

}  // namespace
}  // namespace velmor::engine
