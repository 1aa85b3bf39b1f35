#pragma once

#include <string>

namespace velmor::project {

// File-name rules of the program on Linux: the file-name part of a path is what follows its last "/".

// The file-name part of `Path` (the whole text when it holds no "/").
std::string ExtractFileName(const std::string& Path);
// Everything before the last "/" (empty when there is none; "/" for a file in the root directory).
std::string ExtractFileDir(const std::string& Path);
// The extension of the file-name part, from its last "." on ("" when it has none).
std::string ExtractFileExt(const std::string& Path);
// The path with the extension of its file-name part replaced by `Extension` (which carries its "."); a
// name without a dot gets it appended. A dot in a directory name is never taken for the extension.
std::string ChangeFileExt(const std::string& Path, const std::string& Extension);
// True when the two extensions are the same apart from the case of ASCII letters.
bool SameExtension(const std::string& A, const std::string& B);

// The name shown in the window caption: the file-name part; a ".vmd" file loses everything from the
// first "." of its name on; a result longer than one character starts with an upper-case letter.
// "/walls/wall1.vm4d" shows as "Wall1.vm4d", "/walls/old.vmd" as "Old".
std::string DisplayFileName(const std::string& Path);

// The project named by the first command-line parameter: ".vm4d" is appended when the file-name part has
// no dot, and a relative name is made absolute against `CurrentDir`.
std::string CommandLineProjectName(const std::string& Parameter, const std::string& CurrentDir);

// A recent-file entry as the File menu shows it: "3 /data/wall.vm4d", with everything up to and including
// the first occurrence of `CurrentDir` + "/" left out, so files in the current directory show by name.
std::string RecentFileCaption(int Number, const std::string& Path, const std::string& CurrentDir);

}  // namespace velmor::project
