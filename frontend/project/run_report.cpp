#include "project/run_report.h"

#include <cctype>

namespace velmor::project {

namespace {

// Landmarks of the report, compared without their surrounding blanks.
const char* const kEndOfAnalysis = "END OF ANALYSIS";
const char* const kBanner = "VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES";
const char* const kResultsHeading = "RESULTS -- ITERATION";

std::string trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A row of the results table starts with its station number, followed by the values.
bool isResultRow(const std::string& line) {
    const std::string text = trimmed(line);
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    return digits > 0 && digits < text.size() && text[digits] == ' ';
}

// Whether the problem whose report lines are [begin, end) ends with its results table: the table has rows
// (after the dashed line under its heading) and nothing but blank lines follows them.
bool problemFinished(const std::vector<std::string>& lines, std::size_t begin, std::size_t end) {
    std::size_t i = begin;
    while (i < end && !startsWith(trimmed(lines[i]), kResultsHeading)) ++i;
    if (i == end) return false;
    // The heading is underlined by dashes too; the table's own dashed line follows its column headings.
    ++i;
    while (i < end && !startsWith(trimmed(lines[i]), "------")) ++i;
    ++i;
    while (i < end && !startsWith(trimmed(lines[i]), "------")) ++i;
    if (i >= end) return false;
    ++i;
    const std::size_t firstRow = i;
    while (i < end && isResultRow(lines[i])) ++i;
    if (i == firstRow) return false;
    for (; i < end; ++i)
        if (!trimmed(lines[i]).empty()) return false;
    return true;
}

}  // namespace

TRunOutcome ReadRunOutcome(const std::vector<std::string>& ReportLines) {
    TRunOutcome outcome;
    std::size_t end = ReportLines.size();
    while (end > 0 && trimmed(ReportLines[end - 1]) != kEndOfAnalysis) --end;
    if (end == 0) {
        outcome.Stopped = true;
        return outcome;
    }
    --end;  // the closing line itself

    // Each problem starts with the banner; an error in the first control record comes before any banner.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < end; ++i)
        if (trimmed(ReportLines[i]) == kBanner) starts.push_back(i);
    outcome.Stopped = starts.empty();
    for (std::size_t k = 0; k < starts.size() && !outcome.Stopped; ++k)
        outcome.Stopped = !problemFinished(ReportLines, starts[k], k + 1 < starts.size() ? starts[k + 1] : end);
    if (!outcome.Stopped) return outcome;

    // The message: the last block of lines before the closing line. Every message starts after two empty
    // lines; a single empty line inside one (before "RUN STOPPED") belongs to it.
    const auto blank = [&](std::size_t i) { return trimmed(ReportLines[i]).empty(); };
    std::size_t last = end;
    while (last > 0 && blank(last - 1)) --last;
    std::size_t first = last;
    for (;;) {
        while (first > 0 && !blank(first - 1)) --first;
        if (first < 2 || blank(first - 2)) break;
        --first;
    }
    for (std::size_t i = first; i < last; ++i) {
        const std::string line = trimmed(ReportLines[i]);
        if (!line.empty()) outcome.Message.push_back(line);
    }
    return outcome;
}

}  // namespace velmor::project
