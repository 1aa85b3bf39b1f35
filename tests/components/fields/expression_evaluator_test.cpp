#include "fields/expression_evaluator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <iomanip>
#include <string>

#include "components/comma_locale.h"
#include "fields/exceptions.h"

namespace velmor::components {
namespace {

struct ValueCase {
    const char* text;
    Extended expected;
};

// Results that the evaluator gives exactly: small whole numbers and binary fractions.
const ValueCase exactCases[] = {
    {"2+3*4", 14},
    {"2^3^2", 64},
    {"10-4-3", 3},
    {"7%3", 1},
    {"-7%3", -1},
    {"7%-3", 1},
    {"7.9%3", 1},
    {"-2^2", 4},
    {"2*(3-5)", -4},
    {"5-(0-3)", 8},
    {"2^(0-1)", 0.5L},
    {"2^-2", 0.25L},
    {"0^0", 1},
    {"0^3", 0},
    {"2*(0-1)^2", 2},
    {"10/4", 2.5L},
    {"2*-3", -6},
    {"5--3", 8},
    {"5---3", 2},
    {"--5", 5},
    {"  1 +\t2 ", 3},
    // Blanks go before anything else is looked at, so the digits on either side join.
    {"1 2", 12},
    {"1\t2 3", 123},
    {"((2))", 2},
    {"(1+2)*(3+4)", 21},
    {"1e-5*2", 2e-5L},
    {"1e20*10", 1e21L},
    {"(1e-7)-1", -0.9999999L},
    {"1|x", 1},
    {"0|0", 0},
    {"3&0", 0},
    {"2&3", 1},
    {"1+1=2", 1},
    {"1=2", 0},
    {"3=3=1", 1},
    {"0.1+0.2=0.3", 1},
    {"0!", 1},
    {"5!", 120},
    {"3!+1", 7},
    {"-3!", -6},
    {"$1F", 31},
    {"$ff", 255},
    // Eight hexadecimal digits are a 32-bit integer whose top bit is the sign.
    {"$FFFFFFFF", -1},
    {"sqrt$10", 4},
    {"sqrt(16)", 4},
    {"abs(0-3)", 3},
    {"int(0-2.75)", -2},
    {"frac(0-2.75)", -0.75L},
    {"round(2.5)", 2},
    {"round(3.5)", 4},
    {"round(0-2.5)", -2},
    {"ceil(1.2)", 2},
    {"ceil(0-1.2)", -1},
    {"floor(0-1.2)", -2},
    {"cos(0)", 1},
    {"sec(0)", 1},
    {"cosh0", 1},
    {"tanh0", 0},
    {"sinh0", 0},
    {"arccos1", 0},
    {"arcsinh0", 0},
    {"arccosh1", 0},
    {"arctanh0", 0},
    {"PI=pi", 1},
    {"Pi=pi", 1},
    {"cosec(1)=csc(1)", 1},
    {"2^(0-3)", 0.125L},
    {"(0-2)^(0-3)", -0.125L},
    {"abs(abs(0-2))", 2},
    {"abs-3!", 6},
    {"sqrt sqrt 16", 2},
    {"3!!", 720},
    {"-9223372036854775808%-1", 0},
};

TEST(ExpressionEvaluator, ExactResults) {
    for (const ValueCase& c : exactCases) {
        try {
            EXPECT_EQ(EvaluateExpression(c.text), c.expected) << c.text;
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.text << " raised " << e.what();
        }
    }
}

// Transcendental results against closed forms worked out to 25 digits. A result that passed through a
// written-back intermediate carries at most half a unit of its 18th digit (5e-18 relative); the library's
// functions add a few units of the 64-bit mantissa (1.1e-19 each). A relative 1e-17 allows both and still
// fails for any computation carried in double precision (1.1e-16).
constexpr Extended kRelativeTolerance = 1e-17L;

const ValueCase nearCases[] = {
    {"sin(0-1)", -0.8414709848078965066525023L},
    {"sin5!", 0.580611184212314289282407L},
    {"2*pi", 6.283185307179586476925287L},
    {"pi", 3.141592653589793238462643L},
    {"-pi", -3.141592653589793238462643L},
    {"e", 2.718281828459045235360287L},
    {"-e", -2.718281828459045235360287L},
    {"ln(e)", 1},
    {"log(1000)", 3},
    {"ln10", 2.302585092994045684017991L},
    {"log2", 0.3010299956639811952137389L},
    {"arctan(1)*4", 3.141592653589793238462643L},
    {"arcsin1", 1.570796326794896619231322L},
    {"arccos0.5", 1.047197551196597746154214L},
    {"tan1", 1.557407724654902230506975L},
    {"cotan(1)", 0.64209261593433070300642L},
    {"csc(1)", 1.188395105778121216261599L},
    {"sec1", 1.850815717680925617911753L},
    {"sinh1", 1.175201193643801456882382L},
    {"cosh1", 1.543080634815243778477906L},
    {"tanh1", 0.7615941559557648881194583L},
    {"arcsinh1", 0.8813735870195430252326093L},
    {"arccosh2", 1.316957896924816708625046L},
    {"arctanh0.5", 0.5493061443340548456976226L},
    {"sqrt2", 1.414213562373095048801689L},
    {"2^0.5", 1.414213562373095048801689L},
    // pi held in 64 bits lies 5.0165576e-20 above the true pi, and the sine there is minus that distance.
    {"sinpi", -5.016557612668332023557327e-20L},
};

TEST(ExpressionEvaluator, TranscendentalResultsAtExtendedPrecision) {
    for (const ValueCase& c : nearCases) {
        try {
            const Extended actual = EvaluateExpression(c.text);
            EXPECT_LE(std::fabs(actual - c.expected), std::fabs(c.expected) * kRelativeTolerance)
                << c.text << ": " << std::setprecision(21) << actual << " against " << c.expected;
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.text << " raised " << e.what();
        }
    }
}

struct ErrorCase {
    const char* text;
    const char* reason;
};

const ErrorCase syntaxErrors[] = {
    {"", "entry cannot be blank"},
    {"()", "entry cannot be blank"},
    {"2*()", "entry cannot be blank"},
    {"5)", "() (parentheses) do not match"},
    {")(", "() (parentheses) do not match"},
    {"(1))", "() (parentheses) do not match"},
    {"5+", "invalid expression"},
    {"   ", "invalid expression"},
    {"(5", "invalid character(s) in expression"},
    {"+5", "invalid character(s) in expression"},
    {"2*sin(0-1)", "invalid character(s) in expression"},
    {"-sin(1)", "invalid character(s) in expression"},
    {"1e+5", "invalid character(s) in expression"},
    {"0|x", "invalid character(s) in expression"},
    {"0&x", "invalid character(s) in expression"},
    {"1,5", "invalid character(s) in expression"},
    {"abc", "invalid character(s) in expression"},
    {"sin", "invalid character(s) in expression"},
    // The minus after the letter e is kept as an exponent sign, so "e-1" is one operand that is no number.
    {"e-1", "invalid character(s) in expression"},
    {"2.5!", "! (factoral) applicable to integers only"},
    {"$G", "invalid use of $ (hex function)"},
    {"$", "invalid use of $ (hex function)"},
    {"$100000000", "invalid use of $ (hex function)"},
    // The byte that marks a binary minus inside the evaluator is refused when the entry brings it along.
    {"5\xFF"
     "3",
     "invalid character(s) in expression"},
    {"\xFF", "invalid character(s) in expression"},
    {"(5\xFF"
     "3)",
     "invalid character(s) in expression"},
    {"!!", "invalid character(s) in expression"},
    {"absabs", "invalid character(s) in expression"},
    {"2.5!!", "! (factoral) applicable to integers only"},
};

TEST(ExpressionEvaluator, SyntaxErrorsCarryTheirReason) {
    for (const ErrorCase& c : syntaxErrors) {
        try {
            EvaluateExpression(c.text);
            ADD_FAILURE() << '"' << c.text << "\" did not raise";
        } catch (const EAssignError& e) {
            EXPECT_EQ(e.message(), std::string("Entry could not be evaluated:\r") + c.reason) << '"' << c.text << '"';
        }
    }
}

struct FaultCase {
    const char* text;
    std::function<void(const std::string&)> expectRaise;
};

template <class E>
std::function<void(const std::string&)> raises() {
    return [](const std::string& text) { EXPECT_THROW(EvaluateExpression(text), E) << text; };
}

TEST(ExpressionEvaluator, ArithmeticFaultsRaiseMathErrors) {
    const FaultCase cases[] = {
        {"1/0", raises<EZeroDivide>()},
        {"0/0", raises<EZeroDivide>()},
        {"5%0", raises<EZeroDivide>()},
        {"5%0.5", raises<EZeroDivide>()},
        {"ln0", raises<EZeroDivide>()},
        {"ln(0-1)", raises<EInvalidOp>()},
        {"log(0-1)", raises<EInvalidOp>()},
        {"sqrt(0-4)", raises<EInvalidOp>()},
        {"(0-8)^0.5", raises<EInvalidOp>()},
        {"0^(0-1)", raises<EZeroDivide>()},
        {"0^(0-0.5)", raises<EZeroDivide>()},
        {"10^5000", raises<EOverflow>()},
        {"0.5^(0-20000)", raises<EOverflow>()},
        {"2^1e10", raises<EOverflow>()},
        {"1e4000*1e4000", raises<EOverflow>()},
        {"1e4932+1e4932", raises<EOverflow>()},
        {"1e4000/1e-4000", raises<EOverflow>()},
        {"2000!", raises<EOverflow>()},
        {"1e30!", raises<EOverflow>()},
        {"1e20%3", raises<EInvalidOp>()},
        {"3%1e20", raises<EInvalidOp>()},
        {"round(1e19)", raises<EInvalidOp>()},
        {"ceil(3e9)", raises<EInvalidOp>()},
        {"floor(0-3e9)", raises<EInvalidOp>()},
        {"arcsin2", raises<EInvalidOp>()},
        {"arccosh0", raises<EInvalidOp>()},
        {"cotan0", raises<EZeroDivide>()},
        {"csc0", raises<EZeroDivide>()},
        {"sinh(20000)", raises<EOverflow>()},
        // The product of a negative power overflows before its reciprocal is taken.
        {"10^(0-5000)", raises<EOverflow>()},
        {"(0-10)^(0-5001)", raises<EOverflow>()},
        // The largest Extended rounded to 18 digits no longer reads back when it is written into the text.
        {"1.18973149535723176502e4932*1", raises<EOverflow>()},
        {"(1.18973149535723176502e4932)", raises<EOverflow>()},
        {"3!!!!", raises<EOverflow>()},
    };
    for (const FaultCase& c : cases) c.expectRaise(c.text);
}

std::string repeated(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

// Long entries are evaluated in time proportional to their length and without a recursion as deep as the
// entry is long. An evaluator that searches or erases from the front of the text for every operator takes
// minutes on these under the sanitizers; one that recurses per "!" or per function name overflows the
// stack.
TEST(ExpressionEvaluator, LongEntriesEvaluateQuickly) {
    constexpr int n = 100000;
    struct Case {
        const char* what;
        std::string text;
        Extended expected;
    };
    const Case cases[] = {
        {"factorials of one", "1" + repeated("!", 32766), 1},
        {"factorials of two", "2" + repeated("!", n), 2},
        {"function names", repeated("abs", n) + "2", 2},
        {"function names around factorials", repeated("int", n) + "3" + repeated("!", 2), 720},
        {"sums", repeated("1+", n) + "1", n + 1},
        {"differences", "1" + repeated("-1", n), 1 - n},
        {"products", repeated("1*", n) + "1", 1},
        {"powers", "1" + repeated("^2", n), 1},
        {"equalities", repeated("1=", n) + "1", 1},
        {"nested groups", repeated("(", n) + "1" + repeated(")", n), 1},
        {"groups side by side", repeated("(1)+", n) + "(1)", n + 1},
        {"signs", repeated("-", n + 1) + "5", -5},
        {"blanks", repeated(" ", n) + "7" + repeated("\t", n), 7},
    };
    // Linear work on these takes well under a second in a plain build; quadratic work takes minutes. A
    // sanitizer build on a machine busy with the parallel test run is ten to twenty times slower.
#if defined(__SANITIZE_ADDRESS__)
    constexpr double kBudgetSeconds = 30;
#else
    constexpr double kBudgetSeconds = 5;
#endif
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        try {
            EXPECT_EQ(EvaluateExpression(c.text), c.expected) << c.what;
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.what << " raised " << e.what();
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed.count(), kBudgetSeconds) << c.what;
    }
}

// Intermediate results are written back and read again with a point whatever the user's regional setting.
TEST(ExpressionEvaluator, IgnoresACommaLocale) {
    const test::CommaLocale comma;
    EXPECT_EQ(EvaluateExpression("2.5*2"), 5);
    EXPECT_EQ(EvaluateExpression("0.1+0.2=0.3"), 1);
    EXPECT_EQ(EvaluateExpression("(1.5)*(0.5)"), 0.75L);
    EXPECT_THROW(EvaluateExpression("1,5"), EAssignError);
}

TEST(ExpressionEvaluator, MathErrorsAreNotEntryErrors) {
    EXPECT_THROW(EvaluateExpression("1/0"), EMathError);
    try {
        EvaluateExpression("1/0");
    } catch (const EAssignError&) {
        ADD_FAILURE() << "an arithmetic fault must not look like an entry error";
    } catch (const EMathError&) {
    }
}

TEST(ExpressionEvaluator, FactorialBounds) {
    EXPECT_EQ(Factorial(0), 1);
    EXPECT_EQ(Factorial(1), 1);
    EXPECT_EQ(Factorial(10), 3628800);
    EXPECT_EQ(Factorial(-4), -24);
    // 1754! (about 1.98e4930) is the largest factorial an Extended holds.
    EXPECT_TRUE(std::isfinite(Factorial(1754)));
    EXPECT_THROW(Factorial(1755), EOverflow);
    EXPECT_THROW(Factorial(0.5L), EAssignError);
}

TEST(ExpressionEvaluator, SecantAndCosecant) {
    EXPECT_EQ(Secant(0), 1);
    // 1 / sin 0.5 to 25 digits; one division after the library's sine, a few units of the mantissa.
    EXPECT_LE(std::fabs(Cosecant(0.5L) - 2.085829642933488185772502L), 2.1L * kRelativeTolerance);
    EXPECT_LE(std::fabs(Secant(1) - 1.850815717680925617911753L), 1.9L * kRelativeTolerance);
    EXPECT_THROW(Cosecant(0), EZeroDivide);
}

TEST(ExpressionEvaluator, FunctionNames) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"sin", true},  {"SIN", true}, {"ArcTanh", true}, {"sqrt", true}, {"!", true},
                          {"$", true},    {"si", false}, {"sine", false},   {"", false},    {"pi", false},
                          {"exp", false}, {"sec", true}, {"csc", true},     {"floor", true}};
    for (const Case& c : cases) EXPECT_EQ(IsFunctionName(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace velmor::components
