#include <cmath>
#include <cstdint>
#include <string>

#include "project/program_data.h"

namespace velmor::project {

namespace {

using u128 = unsigned __int128;

constexpr int kDigits = components::kCellDigits;
constexpr std::uint64_t kLow = 10000000;    // 10^(digits - 1)
constexpr std::uint64_t kHigh = 100000000;  // 10^digits

std::uint64_t powerOfTen(int N) {
    std::uint64_t p = 1;
    while (N-- > 0) p *= 10;
    return p;
}

// Q / D rounded to nearest, an exact half to the even neighbour (as the library's conversion rounds).
u128 roundedQuotient(u128 Q, u128 D) {
    const u128 quotient = Q / D;
    const u128 remainder = Q % D;
    const u128 twice = remainder * 2;  // remainder < D < 2^127 wherever this is used
    if (twice > D || (twice == D && (quotient & 1) != 0)) return quotient + 1;
    return quotient;
}

// The digits of M x 2^S x 10^P rounded to an integer, or false when the exact arithmetic would leave 128
// bits. M < 2^64.
bool scaledDigits(std::uint64_t M, int S, int P, u128& N) {
    if (P >= 0) {
        if (P > 19 || S >= 0 || -S >= 127) return false;
        N = roundedQuotient(static_cast<u128>(M) * powerOfTen(P), static_cast<u128>(1) << -S);
        return true;
    }
    if (-P > 19) return false;
    const std::uint64_t divisor = powerOfTen(-P);
    if (S >= 0) {
        if (S > 63) return false;
        N = roundedQuotient(static_cast<u128>(M) << S, divisor);
        return true;
    }
    if (-S > 62) return false;
    N = roundedQuotient(M, static_cast<u128>(divisor) << -S);
    return true;
}

}  // namespace

// The general format at 8 significant digits of components::formatGeneral, with the digits found by exact
// integer arithmetic on the value's 64-bit significand: the library's long-double conversion costs about
// a microsecond a number, which a large project file pays ten thousand times. Values whose exact scaling
// would leave 128 bits (beyond about 1E26 or below about 1E-19) take the library's way.
std::string FloatToText(Extended Value) {
    if (!std::isfinite(Value) || Value == 0) return components::formatGeneral(Value, kDigits);
    const Extended magnitude = std::fabs(Value);
    int binaryExponent = 0;
    const Extended fraction = std::frexp(magnitude, &binaryExponent);  // magnitude = fraction x 2^exp
    const std::uint64_t significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    const int shift = binaryExponent - 64;

    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    u128 digits = 0;
    for (int attempt = 0;; ++attempt) {
        if (attempt == 3 || !scaledDigits(significand, shift, kDigits - 1 - exponent, digits))
            return components::formatGeneral(Value, kDigits);
        if (digits >= kHigh) {
            ++exponent;
        } else if (digits < kLow) {
            --exponent;
        } else {
            break;
        }
    }

    std::string mantissa = std::to_string(static_cast<std::uint64_t>(digits));
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    return components::generalText(Value < 0, mantissa, exponent, kDigits);
}

}  // namespace velmor::project
