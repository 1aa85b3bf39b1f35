#pragma once

#include <string>
#include <vector>

namespace velmor::project {

// Line end of every file the program writes (project, stage and combined files), as Windows users' files
// have it.
inline constexpr const char* kLineEnd = "\r\n";

// The lines of a text file without their line ends. Lines may end in LF, CR LF or CR and the last one may
// lack its end; a final line end adds no empty line, so an empty file has no line. Bytes pass unchanged.
// A file that cannot be read raises EInOutError naming it.
std::vector<std::string> ReadTextLines(const std::string& FileName);

// Writes `Content` to a temporary file beside `FileName` and renames it over `FileName` only after it was
// written and closed whole, so a failed write (no access, disk full) leaves the previous file as it was.
// Raises EInOutError naming the file and the reason.
void WriteFileReplacing(const std::string& FileName, const std::string& Content);

// The whole file as bytes; a file that cannot be read raises EInOutError naming it.
std::string ReadFileBytes(const std::string& FileName);

bool FileExists(const std::string& FileName);
// Deletes the file when it exists; a failure raises EInOutError.
void DeleteFileIfExists(const std::string& FileName);

}  // namespace velmor::project
