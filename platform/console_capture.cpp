#include "platform/console_capture.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace velmor::platform {

TConsoleCapture::TConsoleCapture() {
    std::error_code error;
    const std::string pattern = (std::filesystem::temp_directory_path(error) / "velmor-console-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    file_ = mkstemp(name.data());
    if (file_ < 0) return;
    unlink(name.data());
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    if (saved_ < 0 || dup2(file_, STDERR_FILENO) < 0) {
        if (saved_ >= 0) close(saved_);
        close(file_);
        saved_ = file_ = -1;
    }
}

TConsoleCapture::~TConsoleCapture() {
    Finish();
}

std::string TConsoleCapture::Finish() {
    if (file_ < 0) return {};
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    std::string text;
    char buffer[4096];
    lseek(file_, 0, SEEK_SET);
    for (ssize_t n; (n = read(file_, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    close(file_);
    saved_ = file_ = -1;
    // Passed on, so that a console that shows the program's output still shows the engine's lines.
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return text;
}

}  // namespace velmor::platform
