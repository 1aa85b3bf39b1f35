#pragma once

#include <string>
#include <vector>

namespace velmor::project {

// How a run of the engine ended, as its report tells it.
struct TRunOutcome {
    // True when a problem of the run ended on an input error or a stop of the engine: the report holds a
    // message after the last results table, a problem has no results table with rows, or the report does
    // not reach "END OF ANALYSIS".
    bool Stopped = false;
    // The engine's message, one entry a line, trimmed of blanks: the last block of lines before
    // "END OF ANALYSIS". Empty for a finished run, and for a report that does not reach its end.
    std::vector<std::string> Message;
};

// Reads the lines of a report (.vm4o) as the engine wrote it.
TRunOutcome ReadRunOutcome(const std::vector<std::string>& ReportLines);

}  // namespace velmor::project
