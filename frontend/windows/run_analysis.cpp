// The run: the project saved, the run-control file written, the engine library loaded from the program's
// directory, its entry called, the results read back, the library unloaded.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "fields/exceptions.h"
#include "platform/message_service.h"
#include "project/file_names.h"
#include "project/run_control.h"
#include "project/run_report.h"
#include "project/text_file.h"
#include "windows/main_form.h"

namespace velmor::windows {

namespace {

// The engine's entry and the interface number this program was built for.
using EngineEntryFunction = std::int32_t (*)(std::int32_t);
constexpr std::int32_t kInterfaceNumber = 14;
const char* const kEngineEntry = "_IVELMOR";
const char* const kEngineLibrary = "Velmor2013_DLL.so";

const char* const kInconsistent =
    "Computations can not be performed. Executable files are not consistent.\r"
    "You may need to reinstall the program.\r"
    "If problem persist please contact MORVEX support at\r"
    "support@morvex.com";
const char* const kCompleted = "Computations are completed. Please, check output file for results or error messages.";

// Empty when every problem of the run produced its results; otherwise the message of a stopped run: what
// the report says, and where the report is. A report that cannot be read is no sign of a finished run.
QString stoppedRunMessage(const std::string& ReportFile) {
    std::vector<std::string> lines;
    try {
        const project::TRunOutcome outcome = project::ReadRunOutcome(project::ReadTextLines(ReportFile));
        if (!outcome.Stopped) return {};
        lines = outcome.Message;
        if (lines.empty()) lines.push_back("The output file does not reach END OF ANALYSIS.");
    } catch (const components::EInOutError&) {
        lines = {"The output file could not be read."};
    }
    QString text = "The analysis stopped:";
    for (const std::string& line : lines) text += "\r" + QString::fromStdString(line);
    return text + "\rPlease, check output file " + QString::fromStdString(ReportFile);
}

// The plot-data file of the previous run, moved aside for the length of the engine call: put back when
// the engine ran nothing, deleted when it ran, so an earlier plot file is never taken for this run's.
class PreviousPlotFile {
  public:
    explicit PreviousPlotFile(std::string Plot) : plot_(std::move(Plot)), aside_(plot_ + ".previous") {
        std::remove(aside_.c_str());
        asideHeld_ = std::rename(plot_.c_str(), aside_.c_str()) == 0;
    }
    ~PreviousPlotFile() {
        if (asideHeld_) std::rename(aside_.c_str(), plot_.c_str());
    }
    PreviousPlotFile(const PreviousPlotFile&) = delete;
    PreviousPlotFile& operator=(const PreviousPlotFile&) = delete;
    // The engine ran: the previous results are gone for good.
    void Discard() {
        if (asideHeld_) std::remove(aside_.c_str());
        asideHeld_ = false;
    }

  private:
    std::string plot_, aside_;
    bool asideHeld_ = false;
};

// The wait cursor for the length of the engine call, the previous cursor back afterwards.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void TMainForm::CompRunClick() {
    platform::MessageService& messages = platform::messages().get();
    // Saving stores what is being typed first, so it is what is run; a refused entry stops the run before
    // anything is saved. A project that was not saved (Save As cancelled) is not run: the engine would
    // read an older file.
    if (!FileSaveClick() || project_->FileName() == kNewFileName) return;

    const QString programDir = ProgramDirectory();
    if (!QDir::setCurrent(programDir))
        throw components::EInOutError("Cannot make " + programDir.toStdString() + " the current directory.");

    const project::TRunFileNames names = project::RunFileNames(project_->FileName());
    const std::string refusal = project::RunControlRefusal(names);
    if (!refusal.empty()) {
        messages.information(this, QString::fromStdString(refusal));
        return;
    }
    project::WriteRunControlFile(project::kRunControlFileName, names);

    if (engineLibrary_) {
        messages.information(this, "Attempt to reinitialize DLL");
        return;
    }
    EngineEntryFunction entry = nullptr;
    try {
        engineLibrary_ = std::make_unique<platform::TDynamicLibrary>();
        engineLibrary_->SetLibraryName((programDir + "/" + kEngineLibrary).toStdString());
        engineLibrary_->Open();
        entry = reinterpret_cast<EngineEntryFunction>(engineLibrary_->GetProcAddress(kEngineEntry));
    } catch (const platform::EDLLError&) {
        entry = nullptr;
    }
    // A library without the entry ends as one that does not load.
    if (entry == nullptr) {
        engineLibrary_.reset();
        messages.information(this, "Attempt to initialize DLL failed");
        return;
    }

    // The library is unloaded and "names.dat" deleted however the run ends, so that a later run can start.
    struct RunEnd {
        std::unique_ptr<platform::TDynamicLibrary>& library;
        ~RunEnd() {
            library.reset();
            QFile::remove(project::kRunControlFileName);
        }
    } runEnd{engineLibrary_};

    PreviousPlotFile previousPlot(names.Plot);
    std::int32_t result = 0;
    {
        WaitCursor wait;
        result = entry(kInterfaceNumber);
    }
    if (result == 1) {
        messages.information(this, kInconsistent);
    } else {
        previousPlot.Discard();
        // A stopped run says so and why; its plot-data file still holds what the engine got to.
        const QString stopped = stoppedRunMessage(names.Report);
        messages.information(this, stopped.isEmpty() ? QString(kCompleted) : stopped);
        if (QFile::exists(QString::fromStdString(names.Plot))) {
            // Graph windows go before their curves are replaced: a read error's message box would let them
            // repaint half-read data.
            CloseAllChildren();
            // A stopped run leaves a plot file cut where the engine stopped: the stop's message has said
            // why, a reading error would only add a second, misleading one.
            plotLoaded_ = ReadPlotFile(names.Plot, stopped.isEmpty());
        }
    }
    UpdatePlotButtons();
    CloseAllChildren();
}

}  // namespace velmor::windows
