#pragma once

// Scratch files of a fuzz target: one private directory under /tmp per process, removed at exit.

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmor::fuzz {

inline std::string& scratchDirectory() {
    static std::string path;
    return path;
}

inline void removeScratchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(scratchDirectory(), ec);
}

// Makes the directory from APattern (ending in "XXXXXX") and removes it at exit; aborts when it cannot be
// made. Returns its path.
inline std::string MakeScratchDirectory(const char* APattern) {
    std::string path(APattern);
    if (!mkdtemp(path.data())) std::abort();
    scratchDirectory() = path;
    std::atexit(removeScratchDirectory);
    return path;
}

// Writes ASize bytes to APath; false when the file cannot be written.
inline bool WriteScratchFile(const std::string& APath, const void* AData, std::size_t ASize) {
    std::FILE* file = std::fopen(APath.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = ASize == 0 || std::fwrite(AData, 1, ASize, file) == ASize;
    std::fclose(file);
    return written;
}

}  // namespace velmor::fuzz
