#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "project/run_control.h"
#include "project/run_report.h"
#include "velmor/version.h"

namespace velmor::project {

// The engine library beside the program and the one entry it exports.
inline constexpr const char* kEngineLibraryFile = "Velmor2013_DLL.so";
inline constexpr const char* kEngineEntryName = "_IVELMOR";
using TEngineEntry = std::int32_t (*)(std::int32_t);

// Loads the engine library for a run and unloads it after. The program loads through its replaceable library
// service (tests put fakes there); TSharedLibraryLoader loads with the system's loader directly.
class TEngineLoader {
  public:
    virtual ~TEngineLoader() = default;
    // The entry of the library at `Path`, which is now loaded; or null, nothing loaded, with what is known of
    // why in `Fault` (empty when nothing is).
    virtual TEngineEntry Load(const std::string& Path, std::string& Fault) = 0;
    // Unloads what Load loaded; nothing when nothing is loaded.
    virtual void Unload() = 0;
};

// The system's loader, the library's symbols kept to itself; unloads at the latest when it goes. Its faults
// name the loader's refusal and a library without the entry.
class TSharedLibraryLoader : public TEngineLoader {
  public:
    TSharedLibraryLoader() = default;
    ~TSharedLibraryLoader() override;
    TSharedLibraryLoader(const TSharedLibraryLoader&) = delete;
    TSharedLibraryLoader& operator=(const TSharedLibraryLoader&) = delete;

    TEngineEntry Load(const std::string& Path, std::string& Fault) override;
    void Unload() override;

  private:
    void* handle_ = nullptr;
};

// Wraps the call of the entry (a wait cursor, the engine's console captured): runs `Enter` and answers what
// the engine wrote to its console meanwhile, empty where that is not captured.
using TCallWrapper = std::function<std::string(const std::function<void()>& Enter)>;

// One run of the engine as the program makes it, in the current directory: the run-control file written, the
// library file checked and loaded, its entry called with the interface number, the library unloaded and the
// run-control file deleted. The steps are the caller's to order, so that the program can refuse between them.
class TEngineClient {
  public:
    // `Library` is the path of the engine library file.
    TEngineClient(TRunFileNames Names, std::string Library, TEngineLoader& Loader);
    // Unloads a library still loaded.
    ~TEngineClient();
    TEngineClient(const TEngineClient&) = delete;
    TEngineClient& operator=(const TEngineClient&) = delete;

    const TRunFileNames& Names() const { return names_; }
    // Writes "names.dat" naming the run's files; a file that cannot be written raises EInOutError.
    void WriteRunControl() const;
    // Loads the library and finds its entry: false, the run-control file left in place, with what is known
    // of why in `Fault`. A file the system's loader would fault on (cut short, not a library for this machine)
    // is never handed to it: `Fault` says what is wrong with it.
    bool Load(std::string& Fault);
    // Calls the loaded entry with the interface number, through `Wrap` when there is one, then unloads the
    // library and deletes the run-control file. Answers the entry's value.
    std::int32_t Call(const TCallWrapper& Wrap = nullptr);
    // Call, judged only by what this call wrote: the previous report and plot-data file are moved aside for
    // the call and put back when it was refused, failed or wrote neither, deleted when it ran. The engine's
    // console lines join the message of a call that wrote nothing.
    TRunCall Run(const TCallWrapper& Wrap = nullptr);
    // The entry's value of the last call.
    std::int32_t Result() const { return result_; }

  private:
    TRunFileNames names_;
    std::string library_;
    TEngineLoader& loader_;
    TEngineEntry entry_ = nullptr;
    std::int32_t result_ = 0;
    std::string console_;
};

// WriteRunControl, Load and Call of one client with the system's loader: the entry's value, or -1 when the
// library did not load.
std::int32_t RunEngineOnce(const TRunFileNames& Names, const std::string& Library);

}  // namespace velmor::project
