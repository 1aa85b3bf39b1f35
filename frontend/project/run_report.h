#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::project {

// How a run of the engine ended, as its report tells it.
struct TRunOutcome {
    // True when the report reaches "END OF ANALYSIS", as every finished or stopped run writes it. A report
    // that does not (empty, or cut short when the disk filled or the engine died) is no whole report.
    bool Ended = false;
    // True when a problem of the run ended on an input error or a stop of the engine: the report holds a
    // message after the last results table, a problem has no results table with rows, or the report does
    // not reach "END OF ANALYSIS".
    bool Stopped = false;
    // The engine's message, one entry a line, trimmed of blanks: the last block of lines before
    // "END OF ANALYSIS". Empty for a finished run, and for a report that does not reach its end.
    std::vector<std::string> Message;
    // The solver's warnings of any problem (a solution not closed within the tolerance, the allowable
    // deflection exceeded, a deflection off the curves), trimmed, each different line once, in report order.
    // They end the iterations without stopping the run: the results are then no converged solution.
    std::vector<std::string> Warnings;
};

// Reads the lines of a report (.vm4o) as the engine wrote it.
TRunOutcome ReadRunOutcome(const std::vector<std::string>& ReportLines);

// How one call of the engine's entry ended, judged only by its value and by the files this call wrote.
struct TRunCall {
    enum class TEnd {
        Finished,  // every problem produced its results; `Lines` holds the report's warnings
        Stopped,   // the report tells of a stop; `Lines` is the message to show, line by line
        Refused,   // the entry returned 1: program and library do not share the interface number
        NotRun,    // another value, no new report or plot-data file, or a report not whole; `Lines` says which
    };
    TEnd End = TEnd::NotRun;
    std::vector<std::string> Lines;
};

// Judges a call from its value, the report and plot-data files named (`ReportWritten` and `PlotWritten` tell
// whether this call wrote them) and the lines the engine wrote to its console, which are added to the lines
// of a call that was not run. A report that cannot be read, or does not reach "END OF ANALYSIS", counts as
// not written.
TRunCall JudgeRunCall(std::int32_t Result, const std::string& ReportFile, bool ReportWritten,
                      const std::string& PlotFile, bool PlotWritten, const std::vector<std::string>& Console);

// The non-blank lines of a console text, trimmed of blanks.
std::vector<std::string> ConsoleLines(const std::string& Text);

}  // namespace velmor::project
