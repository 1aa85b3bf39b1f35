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
    // Whether a library loaded by Load is still loaded.
    virtual bool Loaded() const = 0;
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
    bool Loaded() const override { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

// Wraps the call of the entry (a wait cursor, the engine's console captured): runs `Enter` and answers what
// the engine wrote to its console meanwhile, empty where that is not captured.
using TCallWrapper = std::function<std::string(const std::function<void()>& Enter)>;

// How far one run of the engine went, and how the call ended when it was made.
struct TEngineRun {
    enum class TStep {
        // The engine could not read a path of the run-control file: nothing written; `Fault` is the message
        // naming the path.
        RunControlRefused,
        // The loader still holds a library: nothing loaded, the run-control file left in place.
        LibraryInUse,
        // The library file is damaged or did not load: the run-control file left in place, with what is known
        // of why in `Fault`.
        NotLoaded,
        // The entry was called: `Call` judges the call.
        Called,
    };
    TStep Step = TStep::Called;
    std::string Fault;
    TRunCall Call;
};

// One run of the engine as the program and velmor-run make it, in the current directory.
class TEngineClient {
  public:
    // `Library` is the path of the engine library file.
    TEngineClient(TRunFileNames Names, std::string Library, TEngineLoader& Loader);
    // Unloads a library still loaded (a run that raised between loading and calling).
    ~TEngineClient();
    TEngineClient(const TEngineClient&) = delete;
    TEngineClient& operator=(const TEngineClient&) = delete;

    // The whole run, in this order: the paths checked against what the engine reads, the run-control file
    // "names.dat" written (a file that cannot be written raises EInOutError), the library file checked (a
    // file the system's loader would fault on is never handed to it) and loaded, the previous report,
    // plot-data and monitor files moved aside, the entry called with the interface number (through `Wrap`
    // when there is one, which answers the engine's console lines), the library unloaded and the run-control
    // file deleted, the call judged only by what it wrote. The previous files are put back when the call
    // was refused, failed or wrote nothing whole, deleted when it ran; they are put back too when the call
    // raises. The engine's console lines join the message of a call that was not run.
    TEngineRun Run(const TCallWrapper& Wrap = nullptr);
    // The entry's value of the last call.
    std::int32_t Result() const { return result_; }

  private:
    friend std::int32_t RunEngineOnce(const TRunFileNames& Names, const std::string& Library);
    void writeRunControl() const;
    bool load(std::string& fault);
    // Calls the loaded entry, then unloads the library and deletes the run-control file, however the call
    // ends.
    void call(const TCallWrapper& wrap);

    TRunFileNames names_;
    std::string library_;
    TEngineLoader& loader_;
    TEngineEntry entry_ = nullptr;
    std::int32_t result_ = 0;
    std::string console_;
};

// The entry's value of one call made as Run makes it, from the run-control file to the unloading, but
// neither judged nor with earlier files moved aside: engine tests and benchmarks look at what the engine
// wrote, whatever it is. -1 when the library did not load.
std::int32_t RunEngineOnce(const TRunFileNames& Names, const std::string& Library);

}  // namespace velmor::project
