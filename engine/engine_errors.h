#pragma once

#include <string_view>
#include <vector>

#include "engine_state.h"
#include "runtime/edit_format.h"

namespace velmor::engine {

// Input errors: the report line(s) by edit descriptors, then the run ends through the finish.
[[noreturn]] void EndRunWithReport(Engine& e, std::string_view format, const std::vector<rt::FormatItem>& items = {});

// "TOO MUCH DATA FOR AVAILABLE STORAGE", for every input beyond a capacity.
[[noreturn]] void EndRunTooMuchData(Engine& e);

// A fatal stop: the console text by edit descriptors and the stop code ("1", "2", "4" or empty); the
// driver writes both to the console and the report and finishes the run.
[[noreturn]] void StopRun(std::string_view code, std::string_view format,
                          const std::vector<rt::FormatItem>& items = {});

}  // namespace velmor::engine
