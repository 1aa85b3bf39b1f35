#pragma once

#include <optional>
#include <string>

#include "project/program_data.h"

namespace velmor::project {

// The construction-stage operations that need no window, on the project that holds the stage being edited.

// StageFileName := stage file of CurrentStage; the project's current stage is written there.
void StoreCurrentStage(TProgramData& Data);
// StageFileName := stage file of CurrentStage; when that file exists and is not empty it is read into the
// project.
void LoadCurrentStage(TProgramData& Data);
// True when the stage file exists and is not empty. A stage that the combined file declared but never marked
// is split into an empty file: like a missing stage, it keeps the data in memory.
bool StageFileHoldsData(const std::string& FileName);
// The first line of stage file 1, the project's own title, as its bytes; nothing when that file holds no data.
std::optional<std::string> ProjectTitleOfStageFiles(const TProgramData& Data);
// Reads one stage file into the project (the current layout, or 3.0 while FullFormat is cleared). A read
// error is shown through the hooks and leaves what was read so far; then every empty plain table gets its
// MinRows rows and the modified state is cleared.
void ReadStageFile(TProgramData& Data, const std::string& FileName);
// Loads every stage in the older layout and stores it in the current one, then loads stage 1.
void CycleStages(TProgramData& Data);
// Converts every stage to the unit system Units: the stage being edited is stored, each stage is read and
// converted apart from the project, every stage file is replaced, and the stage being edited is loaded back.
// The stages of one project are analysed and graphed together, so they must never hold different unit
// systems: a stage that cannot be read or written raises EInOutError (a write error names the file), a stage
// with a value the analysis could not read in the new units raises EMathError (as SetUnits), every stage
// file keeps its previous units, and the project still holds the stage being edited, as stored.
void SetUnitsOfEveryStage(TProgramData& Data, int Units);

// "Construction Stage Number: " and the stage.
std::string StageStatusText(int Stage);

}  // namespace velmor::project
