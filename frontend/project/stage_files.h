#pragma once

#include <string>

namespace velmor::project {

// Stage files: one construction stage each, named like the project file with the extension ".st" and the
// stage number (wall.vm4d has wall.st1 to wall.st5); the combined file is the project file itself, the stage
// files joined in stage order.
inline constexpr int kMaxStages = 5;
// A stage of 2 or more begins with this marker and its number as its whole first line.
inline constexpr const char* kStageMarker = " Stage No :";

// `FileName` with its extension replaced by ".st" and `Stage` (appended when the name has no extension).
std::string StageFileName(const std::string& FileName, int Stage);

// Cuts a combined file into its stage files. Stage 1 starts at the first line; every later line but the
// last that begins with " Stage No :" starts the next stage. The stage files 1 to 5 that exist are deleted
// first, then stage files 1 to the stage count of the file's control record (line 2, item 8) are written;
// a declared stage without a marker gets an empty file. A stage count outside 1..5 raises EInOutError.
void SplitStageFile(const std::string& FileName);

// Writes the combined file `Target` from the stage files 1 to `StageCount` of `Source`, line by line in
// stage order; when the names differ, copies each of those stage files to the stage file of `Target`.
// Every file is written whole before it replaces the previous one.
void JoinStageFiles(const std::string& Target, const std::string& Source, int StageCount);

}  // namespace velmor::project
