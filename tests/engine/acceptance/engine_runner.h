#pragma once

#include <string>

namespace velmor::test {

// Runs one project file through the shared library the way the program does: names.dat in the current
// directory, the library loaded with dlopen, the entry called with the interface number, the library
// unloaded. The project is copied to `name` in the current directory first; returns the entry's result (-1
// when the library or its entry cannot be found).
int runThroughLibrary(const std::string& projectPath, const std::string& name = "wall.vm4d");

// The result files of the last run in the current directory.
std::string reportText(const std::string& name = "wall.vm4d");
std::string plotPath(const std::string& name = "wall.vm4d");

}  // namespace velmor::test
