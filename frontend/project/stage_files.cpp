#include "project/stage_files.h"

#include <vector>

#include "fields/exceptions.h"
#include "project/text_file.h"
#include "tables/word_reader.h"

namespace velmor::project {

using components::EInOutError;

namespace {

std::string joinLines(const std::vector<std::string>& Lines, std::size_t From, std::size_t To) {
    std::string text;
    for (std::size_t i = From; i < To; ++i) text += Lines[i] + kLineEnd;
    return text;
}

// Item 8 of the control record: the title line is read whole, then the eight integers.
int declaredStageCount(const std::string& FileName) {
    components::TWordReader reader(FileName);
    std::string title;
    reader.ReadLine(title);
    int count = 0;
    for (int item = 0; item < 8; ++item) count = reader.ReadInteger();
    if (count < 1 || count > kMaxStages) {
        throw EInOutError("Error on Line " + std::to_string(reader.CurrentLine() + 1) + " Item " +
                          std::to_string(reader.CurrentItem()) +
                          "\rThe number of construction stages must be between 1 and 5.");
    }
    return count;
}

bool startsWithMarker(const std::string& Line) {
    return Line.compare(0, std::char_traits<char>::length(kStageMarker), kStageMarker) == 0;
}

}  // namespace

std::string StageFileName(const std::string& FileName, int Stage) {
    const std::size_t nameStart = FileName.find_last_of("/\\:");
    const std::size_t dot = FileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return (hasExtension ? FileName.substr(0, dot) : FileName) + ".st" + std::to_string(Stage);
}

void SplitStageFile(const std::string& FileName) {
    const int stageCount = declaredStageCount(FileName);
    const std::vector<std::string> lines = ReadTextLines(FileName);

    // starts[k] is the first line of stage k + 1; a stage whose marker never comes starts (and ends) at
    // the end of the file, so it is written empty.
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
        if (startsWithMarker(lines[i])) starts.push_back(i);
    starts.push_back(lines.size());

    for (int k = 1; k <= kMaxStages; ++k) DeleteFileIfExists(StageFileName(FileName, k));
    for (int k = 1; k <= stageCount; ++k) {
        const std::size_t from = k < static_cast<int>(starts.size()) ? starts[k - 1] : lines.size();
        const std::size_t to = k < static_cast<int>(starts.size()) ? starts[k] : lines.size();
        WriteFileReplacing(StageFileName(FileName, k), joinLines(lines, from, to));
    }
}

void JoinStageFiles(const std::string& Target, const std::string& Source, int StageCount) {
    std::string combined;
    for (int k = 1; k <= StageCount; ++k) {
        const std::vector<std::string> lines = ReadTextLines(StageFileName(Source, k));
        combined += joinLines(lines, 0, lines.size());
    }
    WriteFileReplacing(Target, combined);
    if (Target == Source) return;
    for (int k = 1; k <= StageCount; ++k)
        WriteFileReplacing(StageFileName(Target, k), ReadFileBytes(StageFileName(Source, k)));
}

}  // namespace velmor::project
