#include "fields/expression_evaluator.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "fields/exceptions.h"
#include "fields/utilities.h"

namespace velmor::components {

namespace {

// Marks a binary minus inside the working text. The byte never occurs in UTF-8, so no typed text holds it;
// an entry that holds it anyway is refused before the marking starts.
constexpr char kBinaryMinus = '\xFF';
constexpr char kOperatorChars[] = "^*/%+\xFF=|&";

constexpr Extended kPi = 3.141592653589793238462643383279502884L;
constexpr Extended kE = 2.718281828459045235360287471352662498L;

[[noreturn]] void raiseEntryError(const char* reason) {
    throw EAssignError(std::string("Entry could not be evaluated:") + '\r' + reason);
}

Extended finite(Extended value) {
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
    return value;
}

Extended divide(Extended numerator, Extended denominator) {
    if (denominator == 0) throw EZeroDivide();
    return finite(numerator / denominator);
}

// Domain of ln and log: a negative argument is invalid, zero is the pole.
void checkLogarithmArgument(Extended x) {
    if (x < 0) throw EInvalidOp();
    if (x == 0) throw EZeroDivide();
}

Extended wholeToInt32(Extended x) {
    if (!(x >= -2147483648.0L && x <= 2147483647.0L)) throw EInvalidOp();
    return static_cast<Extended>(static_cast<std::int32_t>(x));
}

// The functions an operand may start with, tested in this order: longer names come before the names they
// start with, so the first match is the right one. Angles are radians.
struct Function {
    const char* name;
    Extended (*apply)(Extended);
};

const Function kFunctions[] = {
    {"arctanh", [](Extended x) { return finite(std::atanh(x)); }},
    {"arctan", [](Extended x) { return std::atan(x); }},
    {"cotan", [](Extended x) { return divide(1, std::tan(x)); }},
    {"tanh", [](Extended x) { return std::tanh(x); }},
    {"tan", [](Extended x) { return finite(std::tan(x)); }},
    {"arccosh", [](Extended x) { return finite(std::acosh(x)); }},
    {"arccos", [](Extended x) { return finite(std::acos(x)); }},
    {"cosh", [](Extended x) { return finite(std::cosh(x)); }},
    {"cosec", Cosecant},
    {"cos", [](Extended x) { return std::cos(x); }},
    {"sec", Secant},
    {"arcsinh", [](Extended x) { return std::asinh(x); }},
    {"arcsin", [](Extended x) { return finite(std::asin(x)); }},
    {"sinh", [](Extended x) { return finite(std::sinh(x)); }},
    {"sin", [](Extended x) { return std::sin(x); }},
    {"csc", Cosecant},
    {"abs", Abs},
    {"frac", Frac},
    {"int", [](Extended x) { return std::trunc(x); }},
    {"ln",
     [](Extended x) {
         checkLogarithmArgument(x);
         return std::log(x);
     }},
    {"round", [](Extended x) { return static_cast<Extended>(RoundToInt64(x)); }},
    {"ceil", [](Extended x) { return wholeToInt32(std::ceil(x)); }},
    {"floor", [](Extended x) { return wholeToInt32(std::floor(x)); }},
    {"log",
     [](Extended x) {
         checkLogarithmArgument(x);
         return std::log10(x);
     }},
    {"sqrt",
     [](Extended x) {
         if (x < 0) throw EInvalidOp();
         return std::sqrt(x);
     }},
};

// Base to a whole power by squaring, stopping at the first infinite product. A negative power is the
// reciprocal of the positive one, so a product that overflows raises the overflow for either sign; a
// zero product (from a base of 0, or too small to hold) cannot be inverted.
Extended integerPower(Extended base, std::int64_t exponent) {
    std::uint64_t remaining = static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent);
    Extended result = 1;
    Extended factor = base;
    for (;;) {
        if (remaining & 1u) {
            result *= factor;
            if (std::isinf(result)) throw EOverflow();
        }
        remaining >>= 1;
        if (remaining == 0) break;
        factor *= factor;
        if (std::isinf(factor)) throw EOverflow();
    }
    if (exponent > 0) return result;
    if (result == 0) {
        if (base == 0) throw EZeroDivide();
        throw EOverflow();
    }
    return divide(1, result);
}

Extended power(Extended base, Extended exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (Frac(exponent) == 0 && Abs(exponent) <= 2147483647.0L) {
        return integerPower(base, static_cast<std::int64_t>(exponent));
    }
    checkLogarithmArgument(base);
    return finite(std::exp(exponent * std::log(base)));
}

// Whole part of a "%" operand as a 64-bit integer; beyond that range the operand cannot be truncated.
std::int64_t truncateToInt64(Extended x) {
    const Extended whole = std::trunc(x);
    if (!(whole >= -9223372036854775808.0L && whole < 9223372036854775808.0L)) throw EInvalidOp();
    return static_cast<std::int64_t>(whole);
}

std::int64_t remainder(Extended left, Extended right) {
    const std::int64_t dividend = truncateToInt64(left);
    const std::int64_t divisor = truncateToInt64(right);
    if (divisor == 0) throw EZeroDivide("Division by zero");
    // The smallest 64-bit integer divided by -1 overflows in hardware, but the remainder is 0.
    if (divisor == -1) return 0;
    return dividend % divisor;
}

// Text of a result that is written back into the expression. Rounding to 18 digits can carry a value just
// below the largest Extended past it, and such a text would no longer read as a number: the result has
// overflowed.
std::string numberText(Extended value) {
    std::string text = formatGeneral(value, kFieldDigits);
    Extended readBack = 0;
    if (std::fabs(value) > 1e4932L && !tryParseDecimal(text, readBack)) throw EOverflow();
    return text;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string withoutBlanks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t') result += c;
    }
    return result;
}

// Deleting "--" pairs from the left until none is left leaves one minus of an odd run of minus signs and
// none of an even run, and never joins two runs; one pass does that without erasing from the text.
std::string withoutDoubledSigns(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::size_t run = 0;
    for (char c : text) {
        if (c == '-') {
            ++run;
            continue;
        }
        if (run % 2 != 0) result += '-';
        run = 0;
        result += c;
    }
    if (run % 2 != 0) result += '-';
    return result;
}

// A minus after one of these (or after another minus) is the sign of the operand that follows. "E" and
// "e" keep the exponent sign of a number such as 1e-5.
bool keepsSign(char previous) {
    switch (previous) {
        case '%':
        case '&':
        case '*':
        case '+':
        case '/':
        case '=':
        case 'E':
        case '^':
        case 'e':
        case '|':
        case '-':
        case kBinaryMinus:
            return true;
        default:
            return false;
    }
}

bool nonZero(const std::string& operand) {
    return EvaluateTerm(operand) != 0;
}

// Result text of one binary operator, operands evaluated left first.
std::string applyOperator(char op, const std::string& left, const std::string& right) {
    if (op == '|') {
        if (nonZero(left)) return "1";
        return nonZero(right) ? "1" : "0";
    }
    const Extended a = EvaluateTerm(left);
    const Extended b = EvaluateTerm(right);
    switch (op) {
        case '^':
            return numberText(power(a, b));
        case '*':
            return numberText(finite(a * b));
        case '/':
            return numberText(divide(a, b));
        case '%':
            return std::to_string(remainder(a, b));
        case '&':
            return a != 0 && b != 0 ? "1" : "0";
        case '+':
            return numberText(finite(a + b));
        case kBinaryMinus:
            return numberText(finite(a - b));
        default:
            return a == b ? "1" : "0";
    }
}

// Hexadecimal digits after "$" read as a 32-bit integer: up to 32 bits, the top bit being the sign.
bool tryParseHex(const std::string& digits, Extended& value) {
    if (digits.empty()) return false;
    std::uint64_t result = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        result = result * 16 + static_cast<std::uint64_t>(digit);
        if (result > 0xFFFFFFFFu) return false;
    }
    value = static_cast<Extended>(static_cast<std::int32_t>(static_cast<std::uint32_t>(result)));
    return true;
}

// Number of bytes of the longest function name: a longer text before a minus cannot be a function name.
constexpr std::size_t kLongestName = 7;

// The function whose name the operand begins with, the first in table order; none when it begins with none.
const Function* functionPrefix(std::string_view text) {
    for (const Function& function : kFunctions) {
        const std::string_view name = function.name;
        if (text.substr(0, name.size()) == name) return &function;
    }
    return nullptr;
}

bool constantValue(std::string_view text, Extended& value) {
    if (text == "pi") {
        value = kPi;
    } else if (text == "-pi") {
        value = -kPi;
    } else if (text == "e") {
        value = kE;
    } else if (text == "-e") {
        value = -kE;
    } else {
        return false;
    }
    return true;
}

// A constant, a hexadecimal or a decimal number: an operand without function name and without "!" at its
// end.
Extended plainTerm(std::string_view text) {
    Extended value = 0;
    if (constantValue(text, value)) return value;
    if (!text.empty() && text.front() == '$') {
        if (!tryParseHex(std::string(text.substr(1)), value)) raiseEntryError("invalid use of $ (hex function)");
        return value;
    }
    if (!tryParseDecimal(text, value)) raiseEntryError("invalid character(s) in expression");
    return value;
}

// An operand without function name in front (lower case, doubled signs removed). "x!!" is the factorial of
// "x!": the run of "!" at the end is counted and applied from the innermost, so a long run needs no
// recursion.
Extended termWithoutFunction(std::string_view text) {
    std::size_t bangs = 0;
    while (bangs < text.size() && text[text.size() - 1 - bangs] == '!') ++bangs;
    Extended value = plainTerm(text.substr(0, text.size() - bangs));
    for (; bangs > 0; --bangs) value = Factorial(value);
    return value;
}

// Evaluates every parenthesised group, innermost first, and writes its value in its place. The group that
// ends at the first ")" starts at the last "(" before it; after it is replaced the next ")" is searched
// again. One pass from the left does the same, keeping the positions of the open "(" in the text written
// so far, so the text is never searched from its start again.
std::string withGroupsEvaluated(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::vector<std::size_t> open;
    for (char c : text) {
        if (c == ')') {
            if (open.empty()) raiseEntryError("() (parentheses) do not match");
            const std::size_t at = open.back();
            open.pop_back();
            const Extended group = EvaluateExpression(result.substr(at + 1));
            result.resize(at);
            result += numberText(group);
            continue;
        }
        if (c == '(') open.push_back(result.size());
        result += c;
    }
    return result;
}

}  // namespace

bool IsFunctionName(const std::string& Text) {
    const std::string lower = lowerCase(Text);
    if (lower == "!" || lower == "$") return true;
    for (const Function& function : kFunctions) {
        if (lower == function.name) return true;
    }
    return false;
}

Extended Factorial(Extended X) {
    if (!std::isfinite(X) || Frac(X) != 0) raiseEntryError("! (factoral) applicable to integers only");
    const Extended n = Abs(X);
    Extended result = n == 0 ? 1 : n;
    // A factor too large to count down by one (from 2^64) overflows the product within a few steps.
    for (Extended factor = n - 1; factor >= 1; factor -= 1) {
        result *= factor;
        if (std::isinf(result)) throw EOverflow();
    }
    return X < 0 ? -result : result;
}

Extended Secant(Extended X) {
    return divide(1, std::cos(X));
}

Extended Cosecant(Extended X) {
    return divide(1, std::sin(X));
}

Extended CheckEntryRange(Extended Value) {
    // Compared in Extended: converting a value beyond the double range is itself undefined.
    const Extended magnitude = std::fabs(Value);
    if (magnitude > std::numeric_limits<double>::max()) throw EOverflow();
    // Below the smallest normal double the engine's value keeps fewer digits than the file holds (three at
    // 1E-320, none from 2.5E-324) and dividing by it overflows: such a value is refused as lost. Every value
    // from the smallest normal double up is written with 8 digits that read back as a normal double.
    if (magnitude != 0 && magnitude < Extended(std::numeric_limits<double>::min())) throw EUnderflow();
    return Value;
}

Extended EvaluateTerm(const std::string& Text) {
    const std::string text = lowerCase(withoutDoubledSigns(Text));
    // "sinabs-2" is the sine of the absolute value of -2. The names in front are collected first and
    // applied from the last, so a long chain of names needs no deep recursion.
    std::vector<const Function*> functions;
    std::string_view rest = text;
    for (const Function* function = functionPrefix(rest); function != nullptr; function = functionPrefix(rest)) {
        functions.push_back(function);
        rest.remove_prefix(std::string_view(function->name).size());
    }
    Extended value = termWithoutFunction(rest);
    for (auto function = functions.rbegin(); function != functions.rend(); ++function) {
        value = (*function)->apply(value);
    }
    return value;
}

Extended EvaluateExpression(const std::string& Text) {
    if (Text.empty()) raiseEntryError("entry cannot be blank");
    // The marker of a binary minus is set below; it must never come from the entry itself.
    if (Text.find(kBinaryMinus) != std::string::npos) raiseEntryError("invalid character(s) in expression");
    std::string text = withGroupsEvaluated(withoutBlanks(Text));

    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-') continue;
        const bool sign = i == 0 || (i <= kLongestName && IsFunctionName(text.substr(0, i))) || keepsSign(text[i - 1]);
        if (!sign) text[i] = kBinaryMinus;
    }

    std::vector<std::string> operands;
    std::vector<char> operators;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t at = text.find_first_of(kOperatorChars, from);
        if (at == std::string::npos) {
            operands.push_back(text.substr(from));
            break;
        }
        operands.push_back(text.substr(from, at - from));
        operators.push_back(text[at]);
        from = at + 1;
    }
    if (operands.size() != operators.size() + 1) raiseEntryError("invalid expression");

    // Four levels from the tightest binding; each level left to right. One pass per level moves the
    // operators of other levels, with the operands between them, into the lists of the next level.
    constexpr std::string_view levels[] = {"^", "*/%&", "+\xFF|", "="};
    for (const std::string_view level : levels) {
        std::vector<std::string> nextOperands;
        std::vector<char> nextOperators;
        nextOperands.push_back(std::move(operands.front()));
        for (std::size_t i = 0; i < operators.size(); ++i) {
            if (level.find(operators[i]) == std::string_view::npos) {
                nextOperators.push_back(operators[i]);
                nextOperands.push_back(std::move(operands[i + 1]));
            } else {
                nextOperands.back() = applyOperator(operators[i], nextOperands.back(), operands[i + 1]);
            }
        }
        operands = std::move(nextOperands);
        operators = std::move(nextOperators);
    }
    return EvaluateTerm(operands.front());
}

}  // namespace velmor::components
