#include "stages/stage_switching.h"

#include <gtest/gtest.h>

#include "project/stage_files.h"
#include "project/text_file.h"
#include "support/test_support.h"

namespace velmor::stages {
namespace {

using project::FileExists;
using project::StageFileName;
using test::readFile;
using test::ScratchDir;
using test::splitLines;

// The window as the project and the stage operations see it: reading a stage clears the modified state.
class FakeHost : public TStageHost, public project::TMainWindowHooks {
  public:
    bool GetModified() const override { return modified; }
    void SetModified(bool Value) override { modified = Value; }
    void SetStatusText(const std::string& Text) override { status.push_back(Text); }
    void SetStageMenuVisible(bool Visible) override { menuVisible = Visible; }
    void UpdateStageButtons() override { ++buttonUpdates; }
    void ShowMessage(const std::string& Text) override { messages.push_back(Text); }

    bool modified = false;
    bool menuVisible = false;
    int buttonUpdates = 0;
    std::vector<std::string> status;
    std::vector<std::string> messages;
};

// A project "wall.vm4d" in a scratch directory with a wall of 10 increments of 12 in.
class StageSwitchingTest : public ::testing::Test {
  protected:
    StageSwitchingTest() {
        data.FileName = dir.file("wall.vm4d");
        data.NumIncrements = 10;
        data.IncrementLength = 12;
        data.FreeHeight = 60;
    }
    std::string stage(int k) const { return StageFileName(data.FileName, k); }
    std::vector<std::string> lines(int k) const { return splitLines(readFile(stage(k))); }

    ScratchDir dir;
    FakeHost host;
    project::TProgramData data{host};
};

TEST_F(StageSwitchingTest, RaisingTheCountWritesEachStageAsACopy) {
    ApplyStageCount(data, host, 3);
    EXPECT_EQ(data.StageCount, 3);
    EXPECT_EQ(data.CurrentStage, 1);
    EXPECT_TRUE(host.modified);
    EXPECT_TRUE(host.menuVisible);
    EXPECT_EQ(host.status.front(), "Construction Stage Number: 1");
    EXPECT_EQ(host.buttonUpdates, 1);
    const auto first = lines(1);
    EXPECT_EQ(first.front(), "New Wall");
    EXPECT_EQ(first.back(), "1");
    for (int k = 2; k <= 3; ++k) {
        const auto text = lines(k);
        ASSERT_EQ(text.size(), first.size());
        EXPECT_EQ(text.front(), " Stage No : " + std::to_string(k));
        EXPECT_EQ(text.back(), std::to_string(k));
        // The same problem in between, the stage count included.
        EXPECT_EQ(std::vector<std::string>(text.begin() + 1, text.end() - 1),
                  std::vector<std::string>(first.begin() + 1, first.end() - 1));
    }
    EXPECT_FALSE(FileExists(stage(4)));
}

TEST_F(StageSwitchingTest, LoweringTheCountMakesStageOneCurrentAndDeletesTheFilesAbove) {
    ApplyStageCount(data, host, 4);
    SwitchStage(data, host, 3);
    ApplyStageCount(data, host, 2);
    EXPECT_EQ(data.CurrentStage, 1);
    EXPECT_EQ(data.StageCount, 2);
    EXPECT_TRUE(FileExists(stage(1)) && FileExists(stage(2)));
    EXPECT_FALSE(FileExists(stage(3)) || FileExists(stage(4)));
    EXPECT_EQ(data.Title, "New Wall");  // stage 1 was loaded

    ApplyStageCount(data, host, 1);
    EXPECT_EQ(data.StageCount, 1);
    EXPECT_FALSE(host.menuVisible);
    EXPECT_EQ(host.status.back(), "");
    for (int k = 1; k <= 5; ++k) EXPECT_FALSE(FileExists(stage(k))) << k;
}

TEST_F(StageSwitchingTest, SwitchingAndUpdateCurrentStageKeepEachStagesDataAndTheModifiedState) {
    ApplyStageCount(data, host, 2);
    ASSERT_TRUE(SwitchStage(data, host, 2));
    EXPECT_EQ(data.Title, " Stage No : 2");
    data.FreeHeight = 48;
    host.modified = true;
    SaveCurrentStage(data, host);
    EXPECT_TRUE(host.modified);
    EXPECT_NE(readFile(stage(2)).find("\t48\r\n"), std::string::npos);  // the free height, written
    data.FreeHeight = 84;
    const int updates = host.buttonUpdates;
    SelectStage(data, host, 1);
    EXPECT_EQ(host.buttonUpdates, updates + 1);
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(host.status.back(), "Construction Stage Number: 1");
    EXPECT_EQ(data.FreeHeight, 60);
    SwitchStage(data, host, 2);
    EXPECT_EQ(data.FreeHeight, 84);
}

TEST_F(StageSwitchingTest, SwitchingToTheCurrentStageDoesNothing) {
    ApplyStageCount(data, host, 2);
    project::DeleteFileIfExists(stage(1));
    data.FreeHeight = 72;
    host.status.clear();
    SelectStage(data, host, 1);
    EXPECT_FALSE(SwitchStage(data, host, 3));  // beyond the stage count
    EXPECT_FALSE(FileExists(stage(1)));        // not saved
    EXPECT_EQ(data.FreeHeight, 72);            // not loaded
    EXPECT_TRUE(host.status.empty());
}

TEST_F(StageSwitchingTest, ChangingTheCountKeepsTheEditsOfTheStageBeingEdited) {
    ApplyStageCount(data, host, 2);
    SwitchStage(data, host, 2);
    data.FreeHeight = 96;  // edited, not yet stored
    ApplyStageCount(data, host, 3);
    EXPECT_EQ(data.CurrentStage, 2);
    EXPECT_EQ(data.FreeHeight, 96);
    SwitchStage(data, host, 3);  // the new stage is a copy of the edited one
    EXPECT_EQ(data.FreeHeight, 96);
    SwitchStage(data, host, 1);
    EXPECT_EQ(data.FreeHeight, 60);
}

TEST_F(StageSwitchingTest, AnEmptyStageFileKeepsTheDataAndLeavingStagesKeepsTheProjectsTitle) {
    data.Title = "Quay wall \xE9 \xB0";
    ApplyStageCount(data, host, 3);
    SwitchStage(data, host, 2);
    data.FreeHeight = 72;
    test::writeFile(stage(3), "");  // a stage the combined file never marked
    ApplyStageCount(data, host, 4);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(data.FreeHeight, 72);
    SwitchStage(data, host, 4);
    EXPECT_EQ(data.FreeHeight, 72);  // stages 3 and 4 are copies of stage 2

    ApplyStageCount(data, host, 1);  // from stage 4, whose first line is its marker
    EXPECT_EQ(data.Title, "Quay wall \xE9 \xB0");
    EXPECT_EQ(data.FreeHeight, 72);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace velmor::stages
