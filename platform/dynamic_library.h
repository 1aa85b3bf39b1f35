#pragma once

#include <map>
#include <stdexcept>
#include <string>

#include "platform/service_slot.h"

namespace velmor::platform {

// Errors of the library loader; a caller catches `EDLLError` for the whole family.
class EDLLError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class EInitError : public EDLLError {
  public:
    EInitError() : EDLLError("Library failed to properly initialize") {}
};

class EFileNotFoundError : public EDLLError {
  public:
    EFileNotFoundError() : EDLLError("Library could not be located") {}
};

class EDLLNotOpenError : public EDLLError {
  public:
    EDLLNotOpenError() : EDLLError("Library is not open") {}
};

// Loading shared libraries (dlopen, dlsym, dlclose); tests put a fake in place.
class LibraryService {
  public:
    enum class Failure { None, NotFound, InitFailed, Other };

    virtual ~LibraryService() = default;
    // The handle of the loaded library, or null with the reason in `failure`.
    virtual void* load(const std::string& path, Failure& failure) = 0;
    // The address of an exported symbol, or null.
    virtual void* symbol(void* handle, const std::string& name) = 0;
    virtual void unload(void* handle) = 0;
};

ServiceSlot<LibraryService>& libraries();

// A fake for tests: libraries by path, each a table of symbols; counts loads and unloads.
class FakeLibraries : public LibraryService {
  public:
    void* load(const std::string& path, Failure& failure) override;
    void* symbol(void* handle, const std::string& name) override;
    void unload(void* handle) override;

    std::map<std::string, std::map<std::string, void*>> libraries;  // path -> symbol -> address
    Failure failureOfMissing = Failure::NotFound;                   // reported for a path not listed
    int loads = 0;
    int unloads = 0;

  private:
    ServiceSlot<LibraryService>::ScopedOverride override_{platform::libraries(), *this};
};

// One shared library, loaded by path on `Open` and unloaded on `Close` or destruction.
class TDynamicLibrary {
  public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    const std::string& LibraryName() const { return libraryName_; }
    // Closes the library first when it is open.
    void SetLibraryName(const std::string& Name);
    bool IsOpen() const { return handle_ != nullptr; }
    // Nothing when already open. A missing file raises EFileNotFoundError, a library whose start-up fails
    // EInitError; any other failure raises nothing and leaves the library closed.
    void Open();
    // Raises EDLLNotOpenError when the library is not open; null when it has no such export.
    void* GetProcAddress(const std::string& Name);
    void Close();

  private:
    std::string libraryName_;
    void* handle_ = nullptr;
};

}  // namespace velmor::platform
