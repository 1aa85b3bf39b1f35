#include "project/run_control.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fields/exceptions.h"
#include "project/file_names.h"

namespace velmor::project {

using components::EInOutError;

TRunFileNames RunFileNames(const std::string& InputFileName) {
    return {InputFileName, ChangeFileExt(InputFileName, ".vm4o"), ChangeFileExt(InputFileName, ".vm4p"),
            ChangeFileExt(InputFileName, ".vm4r")};
}

std::string RunControlRefusal(const TRunFileNames& Names) {
    for (const std::string* line : {&Names.Input, &Names.Report, &Names.Plot, &Names.Monitor}) {
        if (line->size() > kRunControlLineLimit)
            return "The path " + *line + " is longer than " + std::to_string(kRunControlLineLimit) +
                   " characters; the analysis cannot read it. Please save the project under a shorter path.";
    }
    return std::string();
}

void WriteRunControlFile(const std::string& FileName, const TRunFileNames& Names) {
    errno = 0;
    std::FILE* file = std::fopen(FileName.c_str(), "wb");
    if (file == nullptr) throw EInOutError("Cannot create " + FileName + ": " + std::strerror(errno));
    bool ok = true;
    for (const std::string* line : {&Names.Input, &Names.Report, &Names.Plot, &Names.Monitor}) {
        const std::string record = *line + "\r\n";
        ok = ok && std::fwrite(record.data(), 1, record.size(), file) == record.size();
    }
    const int writeError = ok ? 0 : errno;
    const bool closed = std::fclose(file) == 0;
    if (!ok || !closed)
        throw EInOutError("Cannot write " + FileName + ": " + std::strerror(writeError != 0 ? writeError : errno));
}

}  // namespace velmor::project
