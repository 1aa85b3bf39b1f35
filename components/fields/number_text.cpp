#include "fields/number_text.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace velmor::components {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal digits and decimal exponent of a finite non-zero magnitude rounded to `digits` significant
// digits: value = d.ddd x 10^exponent. std::to_chars rounds correctly and never consults the locale.
void decimalDigits(Extended magnitude, int digits, std::string& mantissa, int& exponent) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, digits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    mantissa.clear();
    for (std::size_t i = 0; i < e; ++i) {
        if (isDigit(text[i])) mantissa += text[i];
    }
    exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
}

// The "C" locale as an object of its own, so reading never depends on the locale the process has set.
// Created once and kept for the life of the process.
locale_t classicLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

std::string formatGeneral(Extended value, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    if (digits < 1) digits = 1;
    if (digits > kFieldDigits) digits = kFieldDigits;

    std::string mantissa;
    int exponent = 0;
    decimalDigits(std::fabs(value), digits, mantissa, exponent);

    return generalText(value < 0, mantissa, exponent, digits);
}

std::string generalText(bool negative, const std::string& mantissa, int exponent, int digits) {
    std::string text = negative ? "-" : "";
    if (exponent < -4 || exponent >= digits) {
        text += mantissa[0];
        if (mantissa.size() > 1) text += "." + mantissa.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else {
        const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= integerDigits) {
            text += mantissa + std::string(integerDigits - mantissa.size(), '0');
        } else {
            text += mantissa.substr(0, integerDigits) + "." + mantissa.substr(integerDigits);
        }
    }
    return text;
}

bool tryParseDecimal(std::string_view text, Extended& value) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t start = i;

    std::size_t digitCount = 0;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digitCount;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digitCount == 0) return false;

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && isDigit(text[i])) ++i;
        if (i == exponentStart) return false;
    }
    if (i != text.size()) return false;

    // The form is checked above, so the library reader sees only plain decimal text (no hexadecimal, no
    // "inf", no blanks). It rounds to nearest, subnormal results included, and reports a result beyond
    // the largest Extended as HUGE_VALL with ERANGE; a result below the smallest subnormal comes back as
    // zero, which is the nearest value.
    if (classicLocale() == static_cast<locale_t>(nullptr)) return false;
    const std::string digits(text.substr(start));
    char* end = nullptr;
    errno = 0;
    const Extended magnitude = strtold_l(digits.c_str(), &end, classicLocale());
    if (end != digits.c_str() + digits.size()) return false;
    if (errno == ERANGE && std::isinf(magnitude)) return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace velmor::components
