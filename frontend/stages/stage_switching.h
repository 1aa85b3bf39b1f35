#pragma once

#include "project/program_data.h"

namespace velmor::stages {

// What stage switching asks of the main window. The window implements it; tests fake it.
class TStageHost {
  public:
    virtual ~TStageHost() = default;
    // The project's modified state as the save question sees it (the window's flag and the tables').
    virtual bool GetModified() const = 0;
    virtual void SetModified(bool Value) = 0;
    virtual void SetStatusText(const std::string& Text) = 0;
    // The Stage Construction menu is shown only for a staged project.
    virtual void SetStageMenuVisible(bool Visible) = 0;
    // Shows and presses the five stage tool buttons for the project's stage count and current stage.
    virtual void UpdateStageButtons() = 0;
};

// Makes stage `Stage` the one being edited: the current stage is written to its stage file and the new
// one read from its own, the modified state kept as it was, the status bar told. False, and nothing done,
// when `Stage` is already current or not one of the project's stages.
bool SwitchStage(project::TProgramData& Data, TStageHost& Host, int Stage);
// SwitchStage, then the stage buttons follow when the stage changed.
void SelectStage(project::TProgramData& Data, TStageHost& Host, int Stage);
// Update Current Stage: writes the current stage to its stage file, the modified state kept as it was.
void SaveCurrentStage(project::TProgramData& Data, TStageHost& Host);

// The stage dialog's OK: makes `NewCount` (1..5) the project's stage count. The stage being edited is
// written to its stage file before any stage file is read, so its edits are kept; a raised count writes
// the new stages as copies of the stage before them; a count of 1 deletes every stage file, a lower one the
// files above it, and the first stage becomes current when the count is lowered or was or becomes 1.
void ApplyStageCount(project::TProgramData& Data, TStageHost& Host, int NewCount);

}  // namespace velmor::stages
