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

void TEngineClient::writeRunControl() const {
    WriteRunControlFile(kRunControlFileName, names_);
}

bool TEngineClient::load(std::string& fault) {
    // The system's loader maps a damaged file and faults when it touches what is missing: checked first.
    fault = LibraryFileFault(library_);
    if (!fault.empty()) return false;
    entry_ = loader_.Load(library_, fault);
    return entry_ != nullptr;
}

void TEngineClient::call(const TCallWrapper& wrap) {
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
    console_.clear();
    const auto enter = [this] { result_ = entry_(kInterfaceNumber); };
    if (wrap) {
        console_ = wrap(enter);
    } else {
        enter();
    }
}

TEngineRun TEngineClient::Run(const TCallWrapper& Wrap) {
    TEngineRun run;
    run.Fault = RunControlRefusal(names_);
    if (!run.Fault.empty()) {
        run.Step = TEngineRun::TStep::RunControlRefused;
        return run;
    }
    writeRunControl();
    if (loader_.Loaded()) {
        run.Step = TEngineRun::TStep::LibraryInUse;
        return run;
    }
    if (!load(run.Fault)) {
        run.Step = TEngineRun::TStep::NotLoaded;
        return run;
    }
    TPreviousFile report(names_.Report), plot(names_.Plot), monitor(names_.Monitor);
    call(Wrap);
    run.Call =
        JudgeRunCall(result_, names_.Report, report.Written(), names_.Plot, plot.Written(), ConsoleLines(console_));
    const bool ran = run.Call.End == TRunCall::TEnd::Finished || run.Call.End == TRunCall::TEnd::Stopped;
    for (TPreviousFile* previous : {&report, &plot, &monitor}) {
        if (ran)
            previous->DeletePrevious();
        else
            previous->PutBack();
    }
    return run;
}

std::int32_t RunEngineOnce(const TRunFileNames& Names, const std::string& Library) {
    TSharedLibraryLoader loader;
    TEngineClient client(Names, Library, loader);
    client.writeRunControl();
    std::string fault;
    if (!client.load(fault)) return -1;
    client.call(nullptr);
    return client.result_;
}

}  // namespace velmor::project
