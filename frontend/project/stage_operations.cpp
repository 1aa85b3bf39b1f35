#include "project/stage_operations.h"

#include <filesystem>

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
    const int current = Data.CurrentStage;
    const int count = Data.StageCount;
    StoreCurrentStage(Data);
    try {
        for (int k = 1; k <= count; ++k) {
            Data.CurrentStage = k;
            LoadCurrentStage(Data);
            Data.SetUnits(Units);
            StoreCurrentStage(Data);
        }
    } catch (...) {
        // The stage being edited stays what it was, whatever a read or write did.
        Data.CurrentStage = current;
        throw;
    }
    Data.CurrentStage = current;
    LoadCurrentStage(Data);
}

}  // namespace velmor::project
