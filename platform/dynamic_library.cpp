#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace velmor::platform {

namespace {

class DlLibraries : public LibraryService {
  public:
    void* load(const std::string& path, Failure& failure) override {
        // RTLD_LOCAL: the engine's symbols never resolve anything of the program, nor the other way round.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        struct stat info {};
        failure = handle != nullptr                ? Failure::None
                  : stat(path.c_str(), &info) != 0 ? Failure::NotFound
                                                   : Failure::Other;
        return handle;
    }
    void* symbol(void* handle, const std::string& name) override { return dlsym(handle, name.c_str()); }
    void unload(void* handle) override { dlclose(handle); }
};

}  // namespace

ServiceSlot<LibraryService>& libraries() {
    static DlLibraries standard;
    static ServiceSlot<LibraryService> slot(standard);
    return slot;
}

void* FakeLibraries::load(const std::string& path, Failure& failure) {
    auto found = libraries.find(path);
    if (found == libraries.end()) {
        failure = failureOfMissing;
        return nullptr;
    }
    failure = Failure::None;
    ++loads;
    return &found->second;
}

void* FakeLibraries::symbol(void* handle, const std::string& name) {
    auto& table = *static_cast<std::map<std::string, void*>*>(handle);
    auto found = table.find(name);
    return found == table.end() ? nullptr : found->second;
}

void FakeLibraries::unload(void*) {
    ++unloads;
}

TDynamicLibrary::~TDynamicLibrary() {
    Close();
}

void TDynamicLibrary::SetLibraryName(const std::string& Name) {
    Close();
    libraryName_ = Name;
}

void TDynamicLibrary::Open() {
    if (IsOpen()) return;
    LibraryService::Failure failure = LibraryService::Failure::None;
    handle_ = libraries().get().load(libraryName_, failure);
    if (handle_ != nullptr) return;
    if (failure == LibraryService::Failure::NotFound) throw EFileNotFoundError();
    if (failure == LibraryService::Failure::InitFailed) throw EInitError();
}

void* TDynamicLibrary::GetProcAddress(const std::string& Name) {
    if (!IsOpen()) throw EDLLNotOpenError();
    return libraries().get().symbol(handle_, Name);
}

void TDynamicLibrary::Close() {
    if (!IsOpen()) return;
    libraries().get().unload(handle_);
    handle_ = nullptr;
}

}  // namespace velmor::platform
