#include "windows/project_document.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "fields/exceptions.h"
#include "project/plot_arrays_interim.h"

namespace velmor::windows {

namespace {

using components::EInOutError;

// The project as the text of its input file, written back unchanged: the main window's file commands and
// the run work on it while the project model is not part of the program.
class TTextProject : public TProjectDocument {
  public:
    TTextProject(std::string fileName, std::string text) : fileName_(std::move(fileName)), text_(std::move(text)) {
        std::istringstream lines(text_);
        std::string line, last;
        for (int number = 1; std::getline(lines, line); ++number) {
            if (number == 2) std::istringstream(line) >> units_;
            if (line.rfind(" Stage No :", 0) == 0 && stages_ < 5) ++stages_;
            if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
        }
        std::istringstream(last) >> endFlag_;
    }

    std::string FileName() const override { return fileName_; }
    void SetFileName(const std::string& Name) override { fileName_ = Name; }
    int StageCount() const override { return stages_; }
    int CurrentStage() const override { return 1; }
    bool TablesChanged() const override { return false; }
    void ClearTablesChanged() override {}
    project::TPlotProject PlotProject() const override {
        project::TPlotProject plot;
        plot.Units = units_;
        plot.EndFlag = endFlag_;
        return plot;
    }
    project::TPlotArrays& PlotArrays() override { return *arrays_; }
    int& PlotPointCount() override { return plotPointCount_; }

    void SaveToFile() override { write(fileName_); }
    void StoreCurrentStage() override {}
    void JoinStageFiles(const std::string& Target, const std::string&) override { write(Target); }
    void SplitStageFile(const std::string&) override {}
    void CycleStages() override {}

  private:
    void write(const std::string& name) const {
        const std::string temporary = name + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary);
            out << text_;
            if (!out.flush()) throw EInOutError("Cannot write " + name);
        }
        if (std::rename(temporary.c_str(), name.c_str()) != 0) {
            std::remove(temporary.c_str());
            throw EInOutError("Cannot write " + name);
        }
    }

    std::string fileName_;
    std::string text_;
    int units_ = 1;
    int stages_ = 1;
    int endFlag_ = 0;
    std::unique_ptr<project::TPlotArrays> arrays_ = std::make_unique<project::TPlotArrays>();
    int plotPointCount_ = 0;
};

class TTextProjectFactory : public TProjectFactory {
  public:
    std::unique_ptr<TProjectDocument> NewProject() override {
        return std::make_unique<TTextProject>("NewWall.vm4d", "New Wall\r\n");
    }
    std::unique_ptr<TProjectDocument> ReadProject(const std::string& FileName, int) override {
        std::ifstream in(FileName, std::ios::binary);
        if (!in) throw EInOutError("File not found");
        std::ostringstream text;
        text << in.rdbuf();
        return std::make_unique<TTextProject>(FileName, text.str());
    }
};

}  // namespace

TProjectFactory& DefaultProjectFactory() {
    static TTextProjectFactory factory;
    return factory;
}

}  // namespace velmor::windows
