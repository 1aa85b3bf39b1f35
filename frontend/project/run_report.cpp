#include "project/run_report.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "fields/exceptions.h"
#include "project/text_file.h"
#include "tables/number_import.h"

namespace velmor::project {

namespace {

// Landmarks of the report, compared without their surrounding blanks.
const char* const kEndOfAnalysis = "END OF ANALYSIS";
const char* const kBanner = "VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES";
const char* const kResultsHeading = "RESULTS -- ITERATION";
// The solver's warnings above a results table, as far as their wording is fixed.
const char* const kWarnings[] = {"***** DEFLECTION OFF Q - W CURVES", "***** MAX ALLOWABLE DEFLECTION EXCEEDED AT",
                                 "***** SOLUTION NOT CLOSED WITHIN SPECIFIED"};

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
    for (const std::string& line : ReportLines) {
        const std::string text = trimmed(line);
        for (const char* warning : kWarnings)
            if (startsWith(text, warning) &&
                std::find(outcome.Warnings.begin(), outcome.Warnings.end(), text) == outcome.Warnings.end())
                outcome.Warnings.push_back(text);
    }
    std::size_t end = ReportLines.size();
    while (end > 0 && trimmed(ReportLines[end - 1]) != kEndOfAnalysis) --end;
    outcome.Ended = end > 0;
    if (!outcome.Ended) {
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

TRunCall JudgeRunCall(std::int32_t Result, const std::string& ReportFile, bool ReportWritten,
                      const std::string& PlotFile, bool PlotWritten, const std::vector<std::string>& Console) {
    TRunCall call;
    if (Result == 1) {
        call.End = TRunCall::TEnd::Refused;
        return call;
    }
    // A call that wrote nothing whole of its own is no run, whatever files an earlier run left.
    TRunOutcome outcome;
    const auto readReport = [&] {
        try {
            outcome = ReadRunOutcome(ReadTextLines(ReportFile));
            return true;
        } catch (const components::EInOutError&) {
            return false;
        }
    };
    if (Result != 0)
        call.Lines = {"The analysis failed: the engine library returned " + std::to_string(Result) + "."};
    else if (!ReportWritten)
        call.Lines = {"The analysis wrote no output file " + ReportFile};
    else if (!readReport())
        call.Lines = {"The output file " + ReportFile + " could not be read."};
    else if (!outcome.Ended)
        call.Lines = {"The analysis could not write the output file " + ReportFile + " whole."};
    else if (!PlotWritten)
        call.Lines = {"The analysis wrote no plot-data file " + PlotFile};
    if (!call.Lines.empty()) {
        call.End = TRunCall::TEnd::NotRun;
        call.Lines.insert(call.Lines.end(), Console.begin(), Console.end());
        return call;
    }

    if (!outcome.Stopped) {
        call.End = TRunCall::TEnd::Finished;
        call.Lines = std::move(outcome.Warnings);
        return call;
    }
    call.End = TRunCall::TEnd::Stopped;
    call.Lines.push_back("The analysis stopped:");
    if (outcome.Message.empty()) outcome.Message.push_back("The output file holds nothing before END OF ANALYSIS.");
    call.Lines.insert(call.Lines.end(), outcome.Message.begin(), outcome.Message.end());
    call.Lines.push_back("Please, check output file " + ReportFile);
    return call;
}

std::vector<std::string> ConsoleLines(const std::string& Text) {
    std::vector<std::string> lines;
    for (const std::string& line : components::SplitLines(Text))
        if (std::string text = trimmed(line); !text.empty()) lines.push_back(std::move(text));
    return lines;
}

}  // namespace velmor::project
