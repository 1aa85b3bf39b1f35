#include "runtime/engine_math.h"

#include <cmath>
#include <limits>
#include <string>

#include "runtime/run_errors.h"

namespace velmor::rt {

int32_t nint(double x) {
    double r = std::round(x);
    if (!(r >= double(std::numeric_limits<int32_t>::min()) && r <= double(std::numeric_limits<int32_t>::max()))) {
        throw RecordFault("NEAREST INTEGER OF A VALUE OUTSIDE THE INTEGER RANGE: " + std::to_string(x));
    }
    return static_cast<int32_t>(r);
}

int32_t nintOfQuotient(double a, double b) {
    const double q = a / b;
    const double half = std::floor(q) + 0.5;
    return nint(sameLength(q, half) ? half : q);
}

double anint(double x) {
    return std::round(x);
}

double ipow(double x, int n) {
    bool invert = n < 0;
    // Work with an unsigned magnitude so that the most negative int does not overflow when negated.
    unsigned long long m =
        invert ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(n)) : static_cast<unsigned long long>(n);
    double result = 1.0;
    double base = x;
    while (m != 0) {
        if (m & 1ULL) result *= base;
        m >>= 1;
        if (m != 0) base *= base;
    }
    return invert ? 1.0 / result : result;
}

}  // namespace velmor::rt
