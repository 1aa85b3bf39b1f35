// The run: the project saved, the run-control file written, the engine library loaded from the program's
// directory, its entry called, the results read back, the library unloaded.
#include <QApplication>
#include <QDir>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fields/exceptions.h"
#include "platform/console_capture.h"
#include "platform/message_service.h"
#include "project/engine_client.h"
#include "project/file_names.h"
#include "project/run_control.h"
#include "project/run_report.h"
#include "windows/main_form.h"

namespace velmor::windows {

namespace {

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

// The program's loader: its one library object, loaded through the replaceable library service. Every
// failure, a library without the entry included, ends as one that does not load.
class ProgramLoader : public project::TEngineLoader {
  public:
    explicit ProgramLoader(std::unique_ptr<platform::TDynamicLibrary>& Library) : library_(Library) {}
    project::TEngineEntry Load(const std::string& Path, std::string&) override {
        project::TEngineEntry entry = nullptr;
        try {
            library_ = std::make_unique<platform::TDynamicLibrary>();
            library_->SetLibraryName(Path);
            library_->Open();
            entry = reinterpret_cast<project::TEngineEntry>(library_->GetProcAddress(project::kEngineEntryName));
        } catch (const platform::EDLLError&) {
            entry = nullptr;
        }
        if (entry == nullptr) library_.reset();
        return entry;
    }
    void Unload() override { library_.reset(); }
    bool Loaded() const override { return library_ != nullptr; }

  private:
    std::unique_ptr<platform::TDynamicLibrary>& library_;
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
    ProgramLoader loader(engineLibrary_);
    project::TEngineClient engine(names, (programDir + "/" + project::kEngineLibraryFile).toStdString(), loader);
    // The run is judged by the files this call writes alone; the previous ones come back when it writes none,
    // before the buttons are updated, so the buttons follow the files as they stand.
    const project::TEngineRun run = engine.Run([](const std::function<void()>& Enter) {
        WaitCursor wait;
        platform::TConsoleCapture capture;
        Enter();
        return capture.Finish();
    });
    switch (run.Step) {
        case project::TEngineRun::TStep::RunControlRefused:
            messages.information(this, QString::fromStdString(run.Fault));
            return;
        case project::TEngineRun::TStep::LibraryInUse:
            messages.information(this, "Attempt to reinitialize DLL");
            return;
        case project::TEngineRun::TStep::NotLoaded:
            // A damaged library file (never handed to the system's loader) says what is wrong with it.
            messages.information(this, QString("Attempt to initialize DLL failed") +
                                           (run.Fault.empty() ? "" : "\r" + QString::fromStdString(run.Fault)));
            return;
        case project::TEngineRun::TStep::Called:
            break;
    }
    const project::TRunCall& call = run.Call;
    using End = project::TRunCall::TEnd;
    const bool ran = call.End == End::Finished || call.End == End::Stopped;
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
