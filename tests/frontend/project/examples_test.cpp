#include <gtest/gtest.h>

#include "acceptance/engine_runner.h"
#include "project/program_data.h"
#include "project/stage_files.h"
#include "project/stage_operations.h"
#include "support/test_support.h"

namespace velmor::project {
namespace {

using test::readFile;
using test::ScratchDir;

struct Example {
    const char* file;
    int stages;
};

const Example kExamples[] = {
    {"cantilever-sand-english.vm4d", 1},
    {"cantilever-sand-si.vm4d", 1},
    {"anchored-soft-clay.vm4d", 1},
    {"stiff-clay-sloping-backfill.vm4d", 1},
    {"user-curves-and-pressure-profile.vm4d", 1},
    {"long-term-pair.vm4d", 1},
    {"three-stages.vm4d", 3},
    {"rock-socket-under-silt.vm4d", 1},
};

std::string examplePath(const char* File) {
    return std::string(VELMOR_SOURCE_DIR) + "/examples/" + File;
}

// Reads an example as the program opens it and writes it back as the program saves it: a project file
// directly, a staged one by splitting it, loading and storing every stage and joining the stage files.
void openAndSave(const std::string& Source, int Stages, const std::string& Target) {
    test::writeFile(Target, readFile(Source));
    auto data = TProgramData::CreateFromFile(Target, kFormatCurrent);
    if (Stages == 1) {
        data->SaveToFile();
        return;
    }
    SplitStageFile(Target);
    const int count = data->StageCount;
    for (int k = 1; k <= count; ++k) {
        data->CurrentStage = k;
        LoadCurrentStage(*data);
        data->StageCount = count;
        StoreCurrentStage(*data);
    }
    JoinStageFiles(Target, Target, count);
}

TEST(Examples, WriterGivesBackEveryExampleByteForByte) {
    for (const Example& x : kExamples) {
        ScratchDir dir;
        openAndSave(examplePath(x.file), x.stages, "saved.vm4d");
        EXPECT_EQ(readFile("saved.vm4d"), readFile(examplePath(x.file))) << x.file;
        // And once more from what the writer wrote.
        openAndSave("saved.vm4d", x.stages, "again.vm4d");
        EXPECT_EQ(readFile("again.vm4d"), readFile("saved.vm4d")) << x.file;
    }
}

// The report and the plot-data file of one run of the project under the name wall.vm4d.
std::pair<std::string, std::string> run(const std::string& Project) {
    ScratchDir dir;
    if (test::runThroughLibrary(Project) != 0) return {};
    return {test::reportText(), readFile(test::plotPath())};
}

TEST(Examples, EngineRunsEveryWrittenFileToTheEndWithTheExamplesResults) {
    for (const Example& x : kExamples) {
        ScratchDir dir;
        openAndSave(examplePath(x.file), x.stages, "saved.vm4d");
        const auto written = run(dir.file("saved.vm4d"));
        const auto example = run(examplePath(x.file));
        EXPECT_NE(written.first.find("END OF ANALYSIS"), std::string::npos) << x.file;
        EXPECT_EQ(written.first, example.first) << x.file;
        EXPECT_EQ(written.second, example.second) << x.file;
    }
}

}  // namespace
}  // namespace velmor::project
