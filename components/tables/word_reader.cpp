#include "tables/word_reader.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "fields/exceptions.h"
#include "fields/utilities.h"

namespace velmor::components {

namespace {

const char* const kIncomplete = "This file either invalid or incomplete.";
const char* const kFloatExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";

bool isSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string openErrorMessage(int error) {
    switch (error) {
        case ENOENT:
            return "File not found";
        case ENOTDIR:
            return "Path not found";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case EACCES:
        case EPERM:
        case EISDIR:
            return "File access denied";
        default:
            return "I/O error " + std::to_string(error);
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

TWordReader::TWordReader(const std::string& FileName) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(FileName.c_str(), "rb"));
    if (!file) throw EInOutError(openErrorMessage(errno));

    std::string content;
    char buffer[65536];
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
        content.append(buffer, count);
        if (count < sizeof buffer) break;
    }
    if (std::ferror(file.get())) throw EInOutError(openErrorMessage(errno));

    // One line is read before the end is tested, so an empty file is one empty line and a final line end
    // adds nothing.
    std::size_t start = 0;
    for (;;) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        AddLine(content.substr(start, end - start));
        if (end == content.size()) break;
        const bool crLf = content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
        if (start == content.size()) break;
    }
}

void TWordReader::AddLine(const std::string& S) {
    auto* container = new TWordContainer;
    lines_.Add(container);
    container->Line = S;

    std::size_t first = 0;
    std::size_t last = S.size();
    while (first < last && isSpaceOrControl(S[first])) ++first;
    while (last > first && isSpaceOrControl(S[last - 1])) --last;
    while (first < last) {
        std::size_t end = first;
        while (end < last && S[end] != ' ' && S[end] != '\t') ++end;
        container->Strings.push_back(S.substr(first, end - first));
        first = end;
        while (first < last && isSpaceOrControl(S[first])) ++first;
    }
}

bool TWordReader::Eof() const {
    return currentLine_ == lines_.Count();
}

void TWordReader::ReadWord(std::string& S, const char* Expected) {
    // Past the last line nothing is left to read. The cursor moves on by at most one line per word; a line
    // without words where a word is expected is a fault at that line, reported with its line and item.
    if (Eof()) throw EInOutError(kIncomplete);
    if (currentItem_ == lines_.Items(currentLine_)->Count()) {
        currentItem_ = 0;
        ++currentLine_;
    }
    if (Eof()) throw EInOutError(kIncomplete);
    const TWordContainer* line = lines_.Items(currentLine_);
    if (currentItem_ == line->Count()) raiseItemError(currentItem_ + 1, Expected);
    S = line->Strings[static_cast<std::size_t>(currentItem_)];
    ++currentItem_;
}

void TWordReader::raiseItemError(int item, const char* expected) const {
    throw EInOutError("Error on Line " + std::to_string(currentLine_ + 1) + " Item " + std::to_string(item) + '\r' +
                      expected);
}

Extended TWordReader::ReadFloat() {
    std::string word;
    ReadWord(word, kFloatExpected);
    Extended value = 0;
    if (!tryParseDecimal(word, value)) raiseItemError(currentItem_, kFloatExpected);
    return value;
}

int TWordReader::ReadInteger() {
    std::string word;
    ReadWord(word, kIntegerExpected);
    Extended value = 0;
    if (!tryParseDecimal(word, value) || !IsIntegral(value)) raiseItemError(currentItem_, kIntegerExpected);
    return static_cast<int>(value);
}

void TWordReader::ReadLine(std::string& S) {
    if (Eof()) throw EInOutError(kIncomplete);
    S = lines_.Items(currentLine_)->Line;
    ++currentLine_;
    currentItem_ = 0;
}

}  // namespace velmor::components
