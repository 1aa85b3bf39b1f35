#pragma once

#include <string>

namespace velmor::project {

// The run-control file that tells the engine which files to use. It lives in the current directory.
inline constexpr const char* kRunControlFileName = "names.dat";
// The engine reads each line of the run-control file into 255 characters.
inline constexpr std::size_t kRunControlLineLimit = 255;

// The four lines of the run-control file for a project: the input file and the report (.vm4o), plot-data
// (.vm4p) and monitor (.vm4r) files named after it.
struct TRunFileNames {
    std::string Input, Report, Plot, Monitor;
};
TRunFileNames RunFileNames(const std::string& InputFileName);

// Empty when the engine can read every line; otherwise the message that refuses the run, naming the path.
std::string RunControlRefusal(const TRunFileNames& Names);

// Writes `FileName` with the four lines, each ended by CR LF. A file that cannot be written raises
// EInOutError with the system's reason; the file is closed in every case.
void WriteRunControlFile(const std::string& FileName, const TRunFileNames& Names);

}  // namespace velmor::project
