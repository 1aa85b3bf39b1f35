#include "project/text_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "fields/exceptions.h"

namespace velmor::project {

using components::EInOutError;

namespace {

std::string reason(int error) {
    return error ? std::system_category().message(error) : "I/O error";
}

[[noreturn]] void fail(const std::string& action, const std::string& fileName, int error) {
    throw EInOutError(action + " \"" + fileName + "\": " + reason(error));
}

}  // namespace

std::string ReadFileBytes(const std::string& FileName) {
    errno = 0;
    std::ifstream in(FileName, std::ios::binary);
    if (!in) fail("Cannot read", FileName, errno);
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) fail("Cannot read", FileName, errno);
    return content.str();
}

std::vector<std::string> ReadTextLines(const std::string& FileName) {
    const std::string content = ReadFileBytes(FileName);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        lines.push_back(content.substr(start, end - start));
        if (end == content.size()) break;
        start = end + (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

void WriteFileReplacing(const std::string& FileName, const std::string& Content) {
    // Same directory as the target, so the rename never crosses file systems.
    const std::string temporary = FileName + ".tmp~";
    errno = 0;
    std::FILE* raw = std::fopen(temporary.c_str(), "wb");
    if (!raw) fail("Cannot create", FileName, errno);
    errno = 0;
    bool written = std::fwrite(Content.data(), 1, Content.size(), raw) == Content.size();
    written = std::fflush(raw) == 0 && written;
    const int writeError = errno;
    const bool closed = std::fclose(raw) == 0;
    const int closeError = errno;
    std::error_code ignored;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ignored);
        fail("Cannot write", FileName, written ? closeError : writeError);
    }
    std::error_code error;
    std::filesystem::rename(temporary, FileName, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        fail("Cannot write", FileName, error.value());
    }
}

bool FileExists(const std::string& FileName) {
    std::error_code error;
    return std::filesystem::is_regular_file(FileName, error);
}

void DeleteFileIfExists(const std::string& FileName) {
    std::error_code error;
    std::filesystem::remove(FileName, error);
    if (error) fail("Cannot delete", FileName, error.value());
}

}  // namespace velmor::project
