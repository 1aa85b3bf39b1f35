#include "project/stage_operations.h"

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "fields/exceptions.h"
#include "project/input_file_reader.h"
#include "project/stage_files.h"
#include "project/text_file.h"

namespace velmor::project {

std::string StageStatusText(int Stage) {
    return "Construction Stage Number: " + std::to_string(Stage);
}

void StoreCurrentStage(TProgramData& Data) {
    Data.StageFileName = StageFileName(Data.FileName, Data.CurrentStage);
    Data.SaveStageFile();
    // Writing empties the tables of the options that are off.
    Data.Tables().ShowRowsInEditors();
}

bool StageFileHoldsData(const std::string& FileName) {
    std::error_code error;
    return FileExists(FileName) && std::filesystem::file_size(FileName, error) > 0 && !error;
}

std::optional<std::string> ProjectTitleOfStageFiles(const TProgramData& Data) {
    const std::string first = StageFileName(Data.FileName, 1);
    if (!StageFileHoldsData(first)) return std::nullopt;
    const std::vector<std::string> lines = ReadTextLines(first);
    if (lines.empty()) return std::nullopt;
    return lines.front();
}

void LoadCurrentStage(TProgramData& Data) {
    Data.StageFileName = StageFileName(Data.FileName, Data.CurrentStage);
    if (StageFileHoldsData(Data.StageFileName)) ReadStageFile(Data, Data.StageFileName);
}

void ReadStageFile(TProgramData& Data, const std::string& FileName) {
    try {
        TInputFileReader reader(Data, FileName);
        reader.ReadStage();
    } catch (const components::EInOutError& error) {
        Data.Hooks().ShowMessage(error.message());
    }
    Data.Tables().FillEmptyTables();
    Data.Tables().ShowRowsInEditors();
    Data.ClearModified();
}

void CycleStages(TProgramData& Data) {
    // Reading a stage replaces StageCount; the loop runs over the count the project had when it started.
    const int count = Data.StageCount;
    for (int k = 1; k <= count; ++k) {
        Data.CurrentStage = k;
        Data.FullFormat = false;
        LoadCurrentStage(Data);
        StoreCurrentStage(Data);
        Data.Hooks().SetStatusText(StageStatusText(k));
    }
    Data.FullFormat = true;
    Data.CurrentStage = 1;
    LoadCurrentStage(Data);
}

void SetUnitsOfEveryStage(TProgramData& Data, int Units) {
    StoreCurrentStage(Data);
    // Each stage is read and converted in a project of its own, as switching to it would read it (a stage
    // without a file is a copy of the one before): the project being edited, and the editors open on its
    // tables, only ever hold the stage being edited. A stage that cannot be read stops the change here.
    TProgramData stage;
    stage.FileName = Data.FileName;
    const auto read = [&stage](const std::string& Name) {
        if (!StageFileHoldsData(Name)) return;
        TInputFileReader(stage, Name).ReadStage();
        stage.Tables().FillEmptyTables();
    };
    read(StageFileName(Data.FileName, Data.CurrentStage));
    std::vector<std::pair<std::string, std::string>> converted;  // stage file, its text in the new units
    for (int k = 1; k <= Data.StageCount; ++k) {
        const std::string name = StageFileName(Data.FileName, k);
        read(name);
        stage.CurrentStage = k;
        stage.StageCount = Data.StageCount;
        stage.SetUnits(Units);
        converted.emplace_back(name, stage.ProblemText(true));
    }
    // The stages of one project must never hold different unit systems: when a file cannot be written, those
    // already replaced get their previous text back and the error (naming the file) passes on.
    std::vector<std::pair<std::string, std::optional<std::string>>> replaced;
    try {
        for (const auto& [name, text] : converted) {
            std::optional<std::string> previous;
            if (FileExists(name)) previous = ReadFileBytes(name);
            WriteFileReplacing(name, text);
            replaced.emplace_back(name, std::move(previous));
        }
    } catch (...) {
        for (const auto& [name, previous] : replaced) {
            try {
                if (previous)
                    WriteFileReplacing(name, *previous);
                else
                    DeleteFileIfExists(name);
            } catch (...) {
                // The first error is the one to report.
            }
        }
        throw;
    }
    LoadCurrentStage(Data);
}

}  // namespace velmor::project
