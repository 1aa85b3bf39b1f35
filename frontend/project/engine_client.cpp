#include "project/engine_client.h"

#include <dlfcn.h>

#include <cstdio>
#include <utility>

#include "project/library_file.h"
#include "project/previous_file.h"

namespace velmor::project {

TSharedLibraryLoader::~TSharedLibraryLoader() {
    Unload();
}

TEngineEntry TSharedLibraryLoader::Load(const std::string& Path, std::string& Fault) {
    Unload();
    // RTLD_LOCAL: the engine's symbols never resolve anything of the caller, nor the other way round.
    handle_ = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        Fault = "cannot load " + Path + ": " + dlerror();
        return nullptr;
    }
    auto entry = reinterpret_cast<TEngineEntry>(dlsym(handle_, kEngineEntryName));
    if (entry == nullptr) {
        Unload();
        Fault = Path + " has no entry " + kEngineEntryName;
    }
    return entry;
}

void TSharedLibraryLoader::Unload() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
}

TEngineClient::TEngineClient(TRunFileNames Names, std::string Library, TEngineLoader& Loader)
    : names_(std::move(Names)), library_(std::move(Library)), loader_(Loader) {}

TEngineClient::~TEngineClient() {
    if (entry_ != nullptr) loader_.Unload();
}

void TEngineClient::WriteRunControl() const {
    WriteRunControlFile(kRunControlFileName, names_);
}

bool TEngineClient::Load(std::string& Fault) {
    // The system's loader maps a damaged file and faults when it touches what is missing: checked first.
    Fault = LibraryFileFault(library_);
    if (!Fault.empty()) return false;
    entry_ = loader_.Load(library_, Fault);
    return entry_ != nullptr;
}

std::int32_t TEngineClient::Call(const TCallWrapper& Wrap) {
    // The library is unloaded and the run-control file deleted however the call ends, so a later run can start.
    struct End {
        TEngineClient& client;
        ~End() {
            client.entry_ = nullptr;
            client.loader_.Unload();
            std::remove(kRunControlFileName);
        }
    } end{*this};
    result_ = 0;
    const auto enter = [this] { result_ = entry_(kInterfaceNumber); };
    if (Wrap) {
        console_ = Wrap(enter);
    } else {
        enter();
    }
    return result_;
}

TRunCall TEngineClient::Run(const TCallWrapper& Wrap) {
    TPreviousFile previousReport(names_.Report), previousPlot(names_.Plot);
    const std::int32_t result = Call(Wrap);
    TRunCall call = JudgeRunCall(result, names_.Report, previousReport.Written(), names_.Plot, previousPlot.Written(),
                                 ConsoleLines(console_));
    const bool ran = call.End == TRunCall::TEnd::Finished || call.End == TRunCall::TEnd::Stopped;
    for (TPreviousFile* previous : {&previousReport, &previousPlot}) {
        if (ran)
            previous->Keep();
        else
            previous->PutBack();
    }
    return call;
}

std::int32_t RunEngineOnce(const TRunFileNames& Names, const std::string& Library) {
    TSharedLibraryLoader loader;
    TEngineClient client(Names, Library, loader);
    client.WriteRunControl();
    std::string fault;
    if (!client.Load(fault)) return -1;
    return client.Call();
}

}  // namespace velmor::project
