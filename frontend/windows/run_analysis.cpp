// The run: the project saved, the run-control file written, the engine library loaded from the program's
// directory, its entry called, the results read back, the library unloaded.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <string>
#include <vector>

#include "fields/exceptions.h"
#include "platform/console_capture.h"
#include "platform/message_service.h"
#include "project/file_names.h"
#include "project/previous_file.h"
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

// The lines of a message as one text of the message box.
QString joined(const std::vector<std::string>& Lines) {
    QString text;
    for (const std::string& line : Lines) text += (text.isEmpty() ? "" : "\r") + QString::fromStdString(line);
    return text;
}

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
    // A library without the entry ends as one that does not load; a damaged file (which was never loaded:
    // the loader would have faulted on it) says what is wrong with it.
    if (entry == nullptr) {
        const std::string damaged = engineLibrary_ ? engineLibrary_->DamagedFile() : std::string();
        engineLibrary_.reset();
        messages.information(this, QString("Attempt to initialize DLL failed") +
                                       (damaged.empty() ? "" : "\r" + QString::fromStdString(damaged)));
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

    // The run is judged by the files this call writes alone; the previous ones come back when it writes none,
    // before the buttons are updated, so the buttons follow the files as they stand.
    project::TPreviousFile previousReport(names.Report), previousPlot(names.Plot);
    std::int32_t result = 0;
    std::string console;
    {
        WaitCursor wait;
        platform::TConsoleCapture capture;
        result = entry(kInterfaceNumber);
        console = capture.Finish();
    }
    const project::TRunCall call = project::JudgeRunCall(result, names.Report, previousReport.Written(), names.Plot,
                                                         previousPlot.Written(), project::ConsoleLines(console));
    using End = project::TRunCall::TEnd;
    const bool ran = call.End == End::Finished || call.End == End::Stopped;
    for (project::TPreviousFile* previous : {&previousReport, &previousPlot}) {
        if (ran)
            previous->Keep();
        else
            previous->PutBack();
    }
    // A finished run's warnings stand below the completion message: its numbers are no converged solution.
    std::vector<std::string> lines = call.Lines;
    if (call.End == End::Finished) lines.insert(lines.begin(), kCompleted);
    messages.information(this, call.End == End::Refused ? QString(kInconsistent) : joined(lines));
    if (ran) {
        // Graph windows go before their curves are replaced: a read error's message box would let them
        // repaint half-read data. A stopped run leaves a plot file cut where the engine stopped: the stop's
        // message has said why, a reading error would only add a second, misleading one.
        CloseAllChildren();
        plotLoaded_ = ReadPlotFile(names.Plot, call.End == End::Finished);
    }
    UpdatePlotButtons();
    CloseAllChildren();
}

}  // namespace velmor::windows
