#include "windows/project_document.h"

#include "project/stage_files.h"
#include "project/stage_operations.h"

namespace velmor::windows {

namespace {

using project::TProgramData;

// The main window's view of a project held in a TProgramData.
class TProgramDocument : public TProjectDocument {
  public:
    explicit TProgramDocument(std::unique_ptr<TProgramData> data) : data_(std::move(data)) {
        if (!data_->PlotArrays) data_->PlotArrays = std::make_unique<project::TPlotArrays>();
    }

    std::string FileName() const override { return data_->FileName; }
    void SetFileName(const std::string& Name) override { data_->FileName = Name; }
    int StageCount() const override { return data_->StageCount; }
    int CurrentStage() const override { return data_->CurrentStage; }
    // Chart tables are project data too: an edit in one must not be lost without the save question.
    bool TablesChanged() const override {
        if (data_->TablesChanged()) return true;
        for (const components::TGridTableChart* chart : data_->Tables().ChartTables()) {
            if (chart->GetChanged()) return true;
        }
        return false;
    }
    void ClearTablesChanged() override {
        data_->Tables().ClearChanged();
        for (components::TGridTableChart* chart : data_->Tables().ChartTables()) chart->SetChanged(false);
    }
    project::TPlotProject PlotProject() const override {
        project::TPlotProject plot;
        plot.Units = data_->Units;
        plot.EndFlag = data_->EndFlag;
        const components::TGridTable& layers = data_->Tables().NewSoil();
        for (int r = 0; r < layers.RowCount(); ++r)
            plot.Layers.push_back({layers.Cell(0, r).AsInteger(), layers.Cell(1, r).AsFloat()});
        plot.WallLength = data_->NumIncrements * data_->IncrementLength;
        plot.FreeHeight = data_->FreeHeight;
        return plot;
    }
    project::TPlotArrays& PlotArrays() override { return *data_->PlotArrays; }
    int& PlotPointCount() override { return data_->PlotPointCount; }

    void SaveToFile() override { data_->SaveToFile(); }
    void StoreCurrentStage() override { project::StoreCurrentStage(*data_); }
    void JoinStageFiles(const std::string& Target, const std::string& Source) override {
        project::JoinStageFiles(Target, Source, data_->StageCount);
    }
    void SplitStageFile(const std::string& Name) override { project::SplitStageFile(Name); }
    void CycleStages() override { project::CycleStages(*data_); }
    TProgramData& Data() override { return *data_; }

  private:
    std::unique_ptr<TProgramData> data_;
};

class TProgramFactory : public TProjectFactory {
  public:
    std::unique_ptr<TProjectDocument> NewProject(project::TMainWindowHooks& Hooks) override {
        return std::make_unique<TProgramDocument>(std::make_unique<TProgramData>(Hooks));
    }
    std::unique_ptr<TProjectDocument> ReadProject(const std::string& FileName, int Format,
                                                  project::TMainWindowHooks& Hooks) override {
        return std::make_unique<TProgramDocument>(TProgramData::CreateFromFile(FileName, Format, Hooks));
    }
};

}  // namespace

TProjectFactory& DefaultProjectFactory() {
    static TProgramFactory factory;
    return factory;
}

}  // namespace velmor::windows
