#include "project/stage_files.h"

#include <gtest/gtest.h>

#include "fake_hooks.h"
#include "fields/exceptions.h"
#include "project/program_data.h"
#include "project/stage_operations.h"
#include "project/text_file.h"
#include "support/test_support.h"

namespace velmor::project {
namespace {

using test::readFile;
using test::ScratchDir;
using test::splitLines;
using test::writeFile;

// A combined file of `Lines` lines that declares `Stages` stages, with stage markers at the given lines.
std::string combined(int Lines, int Stages, std::vector<int> Markers) {
    std::string text;
    for (int i = 1; i <= Lines; ++i) {
        std::string line = "line " + std::to_string(i);
        if (i == 2) line = "1 0\t1\t0\t2\t2 0 " + std::to_string(Stages) + " 0";
        for (std::size_t k = 0; k < Markers.size(); ++k)
            if (Markers[k] == i) line = std::string(kStageMarker) + " " + std::to_string(k + 2);
        if (i == 100) line = "a title that holds Stage No : 7";
        if (i == 101) line = "x" + std::string(kStageMarker) + " 8";
        text += line + "\r\n";
    }
    return text;
}

TEST(StageFiles, StageFileNamesReplaceTheExtension) {
    EXPECT_EQ(StageFileName("wall.vm4d", 1), "wall.st1");
    EXPECT_EQ(StageFileName("/walls/a.b/wall.vm4d", 5), "/walls/a.b/wall.st5");
    EXPECT_EQ(StageFileName("/walls/a.b/wall", 2), "/walls/a.b/wall.st2");
}

TEST(StageFiles, SplitCutsAtMarkersThatBeginALineAndWritesUnmarkedStagesEmpty) {
    struct Case {
        int lines, stages;
        std::vector<int> markers;
        std::vector<std::size_t> expected;  // lines per stage file
    };
    const Case cases[] = {
        {200, 3, {60, 130}, {59, 70, 71}},
        {200, 4, {60, 130}, {59, 70, 71, 0}},
        {200, 2, {60, 130}, {59, 70}},
        {120, 2, {120}, {120, 0}},  // a marker on the last line starts nothing
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFile("wall.vm4d", combined(c.lines, c.stages, c.markers));
        writeFile("wall.st5", "stale");
        SplitStageFile("wall.vm4d");
        for (std::size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_EQ(ReadTextLines(StageFileName("wall.vm4d", k + 1)).size(), c.expected[k]) << "stage " << k + 1;
        EXPECT_EQ(FileExists("wall.st5"), c.expected.size() == 5);
    }
}

TEST(StageFiles, JoinAfterSplitGivesTheCombinedFileBackAndCopiesTheStages) {
    ScratchDir dir;
    const std::string text = combined(200, 3, {60, 130});
    writeFile("wall.vm4d", text);
    SplitStageFile("wall.vm4d");
    JoinStageFiles("copy.vm4d", "wall.vm4d", 3);
    EXPECT_EQ(readFile("copy.vm4d"), text);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(readFile(StageFileName("copy.vm4d", k)), readFile(StageFileName("wall.vm4d", k)));
    EXPECT_THROW(JoinStageFiles("copy.vm4d", "wall.vm4d", 4), components::EInOutError);
    EXPECT_EQ(readFile("copy.vm4d"), text);  // a failed join leaves the combined file as it was
}

TEST(StageFiles, HigherStagesAreTitledWithTheirNumberAndEndWithIt) {
    ScratchDir dir;
    FakeHooks hooks;
    TProgramData data(hooks);
    data.FileName = "wall.vm4d";
    data.StageCount = 3;
    data.EarthPressureMethod = 3;
    data.GenerateEarthPressure = 1;
    for (int k = 1; k <= 3; ++k) {
        data.CurrentStage = k;
        StoreCurrentStage(data);
    }
    const std::vector<std::string> stage1 = splitLines(readFile("wall.st1"));
    const std::vector<std::string> stage2 = splitLines(readFile("wall.st2"));
    EXPECT_EQ(stage1.front(), "New Wall");
    EXPECT_EQ(stage2.front(), " Stage No : 2");
    EXPECT_EQ(stage2.back(), "2");
    EXPECT_EQ(stage2[1], "1 0\t1\t0\t2\t2 0 3 0");  // stages use the triangular method

    data.CurrentStage = 2;
    data.Title = "changed";
    LoadCurrentStage(data);
    EXPECT_EQ(data.Title, " Stage No : 2");
    EXPECT_EQ(data.EndFlag, 2);
    EXPECT_FALSE(data.ShortAndLongTerm);
    EXPECT_EQ(data.StageFileName, "wall.st2");

    // An empty stage file (a declared stage without its marker) keeps the data in memory.
    writeFile("wall.st3", "");
    data.CurrentStage = 3;
    LoadCurrentStage(data);
    EXPECT_EQ(data.Title, " Stage No : 2");
    EXPECT_TRUE(hooks.messages.empty());

    data.CurrentStage = 2;
    writeFile("wall.st2", " Stage No : 2\r\n1 0 1 0 2 2 0 3 0\r\n40 6 oops\r\n");
    LoadCurrentStage(data);
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_EQ(hooks.messages[0], "Error on Line 3 Item 3\rA floating point number was expected but not found.");
    EXPECT_EQ(data.Tables().PYMod().RowCount(), 2);  // the tables are filled to their minimum rows all the same
}

TEST(StageFiles, CycleStagesConvertsStageFilesOfTheOlderLayout) {
    ScratchDir dir;
    FakeHooks hooks;
    TProgramData data(hooks);
    data.FileName = "wall.vm4d";
    data.StageCount = 2;
    // Layout 3.0: eight control items, the older surcharge line, no surcharge record.
    for (int k = 1; k <= 2; ++k)
        writeFile(StageFileName("wall.vm4d", k),
                  (k == 1 ? std::string("Old") : " Stage No : 2") +
                      "\r\n1 0 1 0 2 2 0 2\r\n40 6 20 0.001 120\r\n0 40 1 5E9\r\n0\r\n0\r\n"
                      "120 12 12 600 600 1 1 0\r\n0 24 100 0 0 0\r\n1\r\n4 30 \r\n"
                      "0.07 0 32 0 90 0\r\n0.07 0 32 0 90 0\r\n" +
                      std::to_string(k) + "\r\n");
    CycleStages(data);
    EXPECT_EQ(hooks.status, (std::vector<std::string>{"Construction Stage Number: 1", "Construction Stage Number: 2"}));
    EXPECT_EQ(data.CurrentStage, 1);
    EXPECT_TRUE(data.FullFormat);
    EXPECT_EQ(data.Title, "Old");
    const std::vector<std::string> stage2 = splitLines(readFile("wall.st2"));
    EXPECT_EQ(stage2[1], "1 0\t1\t0\t2\t2 0 2 0");
    EXPECT_EQ(stage2[7], "0\t24\t100\t0\t0\t0");
    // The single surcharges at a distance above 0 became one row per load type.
    EXPECT_EQ(stage2[8], "3");
    EXPECT_EQ(stage2[9], "1\t100\t24\t0");
    EXPECT_EQ(stage2[10], "2\t0\t24\t0");
}

}  // namespace
}  // namespace velmor::project
