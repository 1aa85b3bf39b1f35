#include "engine_errors.h"

#include <string>

#include "runtime/run_errors.h"

namespace velmor::engine {

void EndRunWithReport(Engine& e, std::string_view format, const std::vector<rt::FormatItem>& items) {
    e.io.write(kReportUnit, format, items);
    throw rt::EndRun();
}

void EndRunTooMuchData(Engine& e) {
    EndRunWithReport(e, "(/,/,'     TOO MUCH DATA FOR AVAILABLE STORAGE',/,/)");
}

void StopRun(std::string_view code, std::string_view format, const std::vector<rt::FormatItem>& items) {
    std::string text;
    bool first = true;
    for (const std::string& line : rt::formatRecords(format, items)) {
        if (!first) text += '\n';
        text += line;
        first = false;
    }
    throw rt::StopRun(std::string(code), text);
}

}  // namespace velmor::engine
