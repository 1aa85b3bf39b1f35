#include "stages/stage_switching.h"

#include <algorithm>
#include <utility>

#include "project/stage_files.h"
#include "project/stage_operations.h"
#include "project/text_file.h"

namespace velmor::stages {

namespace {

void deleteStageFiles(const project::TProgramData& Data, int From) {
    for (int k = From; k <= project::kMaxStages; ++k) {
        project::DeleteFileIfExists(project::StageFileName(Data.FileName, k));
    }
}

}  // namespace

bool SwitchStage(project::TProgramData& Data, TStageHost& Host, int Stage) {
    // A stage outside the project's count has no stage file of this project to switch to.
    if (Stage == Data.CurrentStage || Stage < 1 || Stage > Data.StageCount) return false;
    const bool modified = Host.GetModified();
    project::StoreCurrentStage(Data);
    Data.CurrentStage = Stage;
    project::LoadCurrentStage(Data);
    Host.SetModified(modified);
    Host.SetStatusText(project::StageStatusText(Stage));
    return true;
}

void SelectStage(project::TProgramData& Data, TStageHost& Host, int Stage) {
    if (SwitchStage(Data, Host, Stage)) Host.UpdateStageButtons();
}

void SaveCurrentStage(project::TProgramData& Data, TStageHost& Host) {
    const bool modified = Host.GetModified();
    project::StoreCurrentStage(Data);
    Host.SetModified(modified);
}

void ApplyStageCount(project::TProgramData& Data, TStageHost& Host, int NewCount) {
    NewCount = std::clamp(NewCount, 1, project::kMaxStages);
    const int oldCount = Data.StageCount;
    const int oldStage = Data.CurrentStage;
    const bool rewrite = NewCount > 1 && NewCount != oldCount;
    // The stage being edited goes to its file first: the stages are read back from their files below.
    if (rewrite) project::StoreCurrentStage(Data);

    Data.StageCount = NewCount;
    if (NewCount == 1 || oldCount == 1 || NewCount < oldCount) Data.CurrentStage = 1;
    if (NewCount == 1) {
        Host.SetStatusText(std::string());
        Host.SetStageMenuVisible(false);
    } else {
        Host.SetStatusText(project::StageStatusText(Data.CurrentStage));
        Host.SetStageMenuVisible(true);
    }
    Host.UpdateStageButtons();

    if (NewCount == 1) {
        // The stage being edited stays in memory, but under the project's own title: a later stage's first
        // line is only its stage marker, and the next save would write that over the title.
        if (oldCount > 1 && oldStage > 1) {
            if (auto title = project::ProjectTitleOfStageFiles(Data)) Data.Title = std::move(*title);
        }
        deleteStageFiles(Data, 1);
    }
    if (rewrite) {
        const int current = Data.CurrentStage;
        for (int k = 1; k <= NewCount; ++k) {
            Data.CurrentStage = k;
            // A stage without a file starts as a copy of the stage before it, which is still in memory.
            const std::string name = project::StageFileName(Data.FileName, k);
            if (project::StageFileHoldsData(name)) project::ReadStageFile(Data, name);
            Data.StageCount = NewCount;
            project::StoreCurrentStage(Data);
        }
        Data.CurrentStage = current;
        project::LoadCurrentStage(Data);
        Host.SetModified(true);
    }
    if (NewCount > 1) deleteStageFiles(Data, NewCount + 1);
}

}  // namespace velmor::stages
