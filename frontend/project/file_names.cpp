#include "project/file_names.h"

#include <cctype>

namespace velmor::project {

namespace {
std::size_t nameStart(const std::string& Path) {
    const std::size_t slash = Path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the last "." of the file-name part, or npos.
std::size_t extensionStart(const std::string& Path) {
    const std::size_t dot = Path.rfind('.');
    return dot == std::string::npos || dot < nameStart(Path) ? std::string::npos : dot;
}
}  // namespace

std::string ExtractFileName(const std::string& Path) {
    return Path.substr(nameStart(Path));
}

std::string ExtractFileDir(const std::string& Path) {
    const std::size_t slash = Path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : Path.substr(0, slash);
}

std::string ExtractFileExt(const std::string& Path) {
    const std::size_t dot = extensionStart(Path);
    return dot == std::string::npos ? std::string() : Path.substr(dot);
}

std::string ChangeFileExt(const std::string& Path, const std::string& Extension) {
    const std::size_t dot = extensionStart(Path);
    return (dot == std::string::npos ? Path : Path.substr(0, dot)) + Extension;
}

bool SameExtension(const std::string& A, const std::string& B) {
    if (A.size() != B.size()) return false;
    for (std::size_t i = 0; i < A.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
            return false;
    }
    return true;
}

std::string DisplayFileName(const std::string& Path) {
    std::string name = ExtractFileName(Path);
    if (SameExtension(ExtractFileExt(name), ".vmd")) name = name.substr(0, name.find('.'));
    if (name.size() > 1) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::string CommandLineProjectName(const std::string& Parameter, const std::string& CurrentDir) {
    std::string name = Parameter;
    if (ExtractFileName(name).find('.') == std::string::npos) name += ".vm4d";
    if (!name.empty() && name[0] != '/' && !CurrentDir.empty())
        name = (CurrentDir.back() == '/' ? CurrentDir : CurrentDir + "/") + name;
    return name;
}

std::string RecentFileCaption(int Number, const std::string& Path, const std::string& CurrentDir) {
    std::string shown = Path;
    const std::string prefix = CurrentDir.empty() || CurrentDir.back() == '/' ? CurrentDir : CurrentDir + "/";
    if (!prefix.empty()) {
        const std::size_t at = shown.find(prefix);
        if (at != std::string::npos) shown = shown.substr(at + prefix.size());
    }
    return std::to_string(Number) + " " + shown;
}

}  // namespace velmor::project
