#include "tables/widgets/chart_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmor::components {

namespace {

// The value's decimal digits (18 significant, as the program's extended numbers carry) and the decimal
// exponent of the first digit: value = 0.d1d2d3... x 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value) && value != 0;
    // to_chars: a "." whatever the process locale.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 17);
    const std::string text(buffer, written.ptr);
    const std::size_t e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.exponent = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Keeps `count` leading digits, rounding half away from zero; a carry out of the first digit raises the
// exponent. A count of 0 or less keeps only what rounds up into a new leading digit.
void roundDigits(Decimal& d, int count) {
    if (count < 0) {
        d.digits = "0";
        d.exponent = 1;
        return;
    }
    if (count >= static_cast<int>(d.digits.size())) return;
    const bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    if (d.digits.find_first_not_of('0') == std::string::npos) {
        d.digits = "0";
        d.exponent = 1;
        d.negative = false;
    }
}

std::string grouped(double value) {
    Decimal d = toDecimal(value);
    roundDigits(d, d.exponent + 3);  // three decimals
    std::string integer;
    std::string fraction;
    for (int i = 0; i < static_cast<int>(d.digits.size()); ++i) {
        (i < d.exponent ? integer : fraction) += d.digits[i];
    }
    if (d.exponent < 0) fraction.insert(0, static_cast<std::size_t>(-d.exponent), '0');
    while (static_cast<int>(integer.size()) < d.exponent) integer += '0';
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.empty()) integer = "0";
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string text;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) text += ',';
        text += integer[i];
    }
    if (!fraction.empty()) text += "." + fraction;
    return (d.negative ? "-" : "") + text;
}

std::string exponent(double value) {
    if (value == 0) return "0.0E0";
    Decimal d = toDecimal(value);
    roundDigits(d, 4);  // one digit before the point, three after
    while (d.digits.size() < 2) d.digits += '0';
    std::string fraction = d.digits.substr(1);
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    return (d.negative ? "-" : "") + d.digits.substr(0, 1) + "." + fraction + "E" + std::to_string(d.exponent - 1);
}

}  // namespace

AxisFormat chooseAxisFormat(double minimum, double maximum) {
    const double low = std::fabs(minimum);
    const double high = std::fabs(maximum);
    if (minimum == 0 && maximum == 0) return AxisFormat::Grouped;
    if (low > 100000 || high > 100000 || (low < 0.001 && high < 0.001)) return AxisFormat::Exponent;
    return AxisFormat::Grouped;
}

std::string formatAxisValue(double value, AxisFormat format) {
    if (!std::isfinite(value)) return value != value ? "NAN" : (value < 0 ? "-INF" : "INF");
    return format == AxisFormat::Grouped ? grouped(value) : exponent(value);
}

AxisRange constantAxisRange(double value) {
    if (value == 0) return {-1, 1};
    return {std::min(0.9 * value, 1.1 * value), std::max(0.9 * value, 1.1 * value)};
}

AxisRange dataAxisRange(const std::vector<double>& values) {
    if (values.empty()) return {0, 1};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    if (*low == *high) return constantAxisRange(*low);
    return {*low, *high};
}

std::vector<double> axisTicks(AxisRange range, int maxTicks) {
    std::vector<double> ticks;
    const double span = range.maximum - range.minimum;
    if (!(span > 0) || !std::isfinite(span) || maxTicks < 1) return ticks;
    const double raw = span / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= raw) break;
    }
    // A tick within a millionth of a step of a range end counts as on it (rounding of the step products).
    const double tolerance = step * 1e-6;
    for (double k = std::ceil((range.minimum - tolerance) / step); k * step <= range.maximum + tolerance; k += 1) {
        const double tick = k * step;
        ticks.push_back(std::fabs(tick) < tolerance ? 0.0 : tick);
    }
    return ticks;
}

}  // namespace velmor::components
