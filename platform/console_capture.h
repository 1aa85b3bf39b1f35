#pragma once

#include <string>

namespace velmor::platform {

// Collects what is written to the process's standard error while it exists (the engine's console lines,
// written from inside the library call), and passes it on to the real standard error when it ends, so the
// console still shows it. Without a temporary file the standard error is left as it was.
class TConsoleCapture {
  public:
    TConsoleCapture();
    ~TConsoleCapture();
    TConsoleCapture(const TConsoleCapture&) = delete;
    TConsoleCapture& operator=(const TConsoleCapture&) = delete;

    // Restores the standard error and answers what was written meanwhile; empty after the first call.
    std::string Finish();

  private:
    int saved_ = -1;  // the real standard error, duplicated
    int file_ = -1;   // the temporary file that takes its place
};

}  // namespace velmor::platform
