// The run: the project saved, the run-control file written, the engine library loaded from the program's
// directory, its entry called, the results read back, the library unloaded.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

#include "fields/exceptions.h"
#include "platform/message_service.h"
#include "project/file_names.h"
#include "project/run_control.h"
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
    // What is being typed is what is run; a refused entry stops the run before anything is saved.
    if (!CommitActiveChild()) return;
    platform::MessageService& messages = platform::messages().get();
    // A project that was not saved (Save As cancelled) is not run: the engine would read an older file.
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

    // The old results go now, so that a plot file from an earlier run is never shown as this run's.
    std::remove(names.Plot.c_str());
    std::int32_t result = 0;
    {
        WaitCursor wait;
        result = entry(kInterfaceNumber);
    }
    if (result == 1) {
        messages.information(this, kInconsistent);
    } else {
        messages.information(this, kCompleted);
        if (QFile::exists(QString::fromStdString(names.Plot))) {
            // Graph windows go before their curves are replaced: a read error's message box would let them
            // repaint half-read data.
            CloseAllChildren();
            plotLoaded_ = ReadPlotFile(names.Plot, true);
        }
    }
    UpdatePlotButtons();
    CloseAllChildren();
}

}  // namespace velmor::windows
