#pragma once

#include <memory>
#include <string>

#include "project/main_window_hooks.h"
#include "project/plot_data_reader.h"
#include "project/program_data.h"

namespace velmor::windows {

// What the main window needs of the current project: its input file, its construction stages, saving,
// and what the plot-data reader takes from it. File names are as stored (normally absolute paths).
class TProjectDocument {
  public:
    virtual ~TProjectDocument() = default;

    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& Name) = 0;
    virtual int StageCount() const = 0;
    virtual int CurrentStage() const = 0;
    // True when a table of the project reports a change.
    virtual bool TablesChanged() const = 0;
    // Clears the change flags of every table, chart tables included.
    virtual void ClearTablesChanged() = 0;
    virtual project::TPlotProject PlotProject() const = 0;
    virtual project::TPlotArrays& PlotArrays() = 0;
    virtual int& PlotPointCount() = 0;

    // Writes the project (one stage) to FileName. A failed write raises and leaves the previous file.
    virtual void SaveToFile() = 0;
    // Staged projects: writes the current stage to its stage file; joins the stage files of `Source` into
    // the combined file `Target` (copying them to Target's stage names when the names differ); cuts a
    // combined file into stage files; converts stage files of the older layout.
    virtual void StoreCurrentStage() = 0;
    virtual void JoinStageFiles(const std::string& Target, const std::string& Source) = 0;
    virtual void SplitStageFile(const std::string& Name) = 0;
    virtual void CycleStages() = 0;

    // The project data itself, for the dialogs and commands that edit it.
    virtual project::TProgramData& Data() = 0;
};

// Makes projects: a new default one ("NewWall.vm4d"), or one read from a file in a layout (1 current,
// 2 the older 3.0, anything else 2.0). A read that fails raises EInOutError with the reader's message.
class TProjectFactory {
  public:
    virtual ~TProjectFactory() = default;
    virtual std::unique_ptr<TProjectDocument> NewProject(project::TMainWindowHooks& Hooks) = 0;
    virtual std::unique_ptr<TProjectDocument> ReadProject(const std::string& FileName, int Format,
                                                          project::TMainWindowHooks& Hooks) = 0;
};

// The project factory of the program.
TProjectFactory& DefaultProjectFactory();

}  // namespace velmor::windows
