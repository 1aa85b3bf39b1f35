// libFuzzer target: every input is an entry typed into a numeric field. The evaluator may refuse it with
// an entry error or stop at an arithmetic fault; anything else it raises, a crash, a sanitizer report, a
// hang or a result that is not finite is a finding.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fields/exceptions.h"
#include "fields/expression_evaluator.h"
#include "fields/number_text.h"

using velmor::components::EAssignError;
using velmor::components::EMathError;
using velmor::components::Extended;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string entry(reinterpret_cast<const char*>(data), size);
    Extended value = 0;
    try {
        value = velmor::components::EvaluateExpression(entry);
    } catch (const EAssignError&) {
        return 0;
    } catch (const EMathError&) {
        return 0;
    }
    if (!std::isfinite(value)) {
        std::fprintf(stderr, "the entry gave a value that is not finite\n");
        std::abort();
    }
    // A result shown in a field is its 18-digit text; typed in again, that text must give the value it reads
    // as, unless it lies beyond the largest Extended after rounding.
    const std::string shown = velmor::components::formatGeneral(value, velmor::components::kFieldDigits);
    Extended readBack = 0;
    if (velmor::components::tryParseDecimal(shown, readBack)) {
        try {
            if (velmor::components::EvaluateExpression(shown) != readBack) {
                std::fprintf(stderr, "the text %s does not evaluate to the value it reads as\n", shown.c_str());
                std::abort();
            }
        } catch (const EAssignError&) {
            std::fprintf(stderr, "the text %s of a result is no valid entry\n", shown.c_str());
            std::abort();
        }
    }
    return 0;
}
