#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::test {

// Creates a fresh temporary directory, makes it current for the lifetime of the object and restores the
// previous current directory afterwards. Engine scratch files live in the current directory, so every
// engine test runs inside one of these.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return dir_; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
std::vector<std::string> splitLines(const std::string& text);

// Compares two whole texts line by line; the failure message names the first differing line and the
// line counts, so a golden-file mismatch is readable.
::testing::AssertionResult sameText(const std::string& expected, const std::string& actual);

}  // namespace velmor::test
