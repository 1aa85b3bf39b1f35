#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "input_test_harness.h"
#include "runtime/edit_format.h"

namespace velmor::engine {
namespace {

using rt::EditFormat;
using rt::FieldRange;
using rt::FieldRangeFault;
using rt::FormatItem;

// Fields of a file the program parses: no asterisks, no exponent of three digits; a NaN or an infinity
// is refused in every file.
TEST(FieldRange, ReadableFieldsRefuseWhatTheReaderCannotParse) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* format;
        double value;
        FieldRange range;
        const char* written;  // nullptr: refused
    } cases[] = {
        {"(E13.4)", 2.5e98, FieldRange::Readable, "   0.2500E+99"},
        {"(E13.4)", 1.0e99, FieldRange::Readable, nullptr},
        {"(E13.4)", -9.99996e98, FieldRange::Readable, nullptr},  // rounds to 0.1000E+100
        {"(E10.3)", 1.0e-99, FieldRange::Readable, " 0.100E-98"},
        {"(E10.3)", -3.0e-150, FieldRange::Readable, " 0.000E+00"},  // far below anything the file measures
        {"(F10.2)", 9999999.99, FieldRange::Readable, "9999999.99"},
        {"(F10.2)", 1.0e8, FieldRange::Readable, nullptr},
        {"(E13.4)", 1.0e99, FieldRange::Print, "   0.1000+100"},
        {"(F10.2)", 1.0e8, FieldRange::Print, "**********"},
        {"(E10.3)", inf, FieldRange::Print, nullptr},
        {"(F7.3)", std::nan(""), FieldRange::Print, nullptr},
    };
    const unsigned long before = rt::nonFiniteValuesFormatted();
    for (const auto& c : cases) {
        std::string out = "kept";
        const FormatItem item(c.value);
        try {
            EditFormat(c.format).apply(&item, 1, out, c.range);
            EXPECT_NE(c.written, nullptr) << c.format << " " << c.value << ": " << out;
            if (c.written) {
                EXPECT_EQ(out, std::string("kept") + c.written + "\n") << c.format << " " << c.value;
            }
        } catch (const FieldRangeFault& fault) {
            EXPECT_EQ(c.written, nullptr) << c.format << " " << c.value << ": " << fault.message();
            EXPECT_EQ(out, "kept") << c.format;  // nothing of the refused record is written
        }
    }
    EXPECT_EQ(rt::nonFiniteValuesFormatted(), before);
}

// Inputs that pass every check but overflow later: the run ends with a message naming the file, the line
// and the value, and no file gets an infinity, asterisks or a three-digit exponent where it is read back.
TEST(FieldRange, HugeInputsEndTheRunWithAMessage) {
    // A 30 ft cantilever in sand (English units) with one value replaced.
    const std::vector<std::string> base = {"Cantilever",
                                           "1 0 1 0 2 2 0 1 0",
                                           "60 6 20 0.001 120",
                                           "0 60 1 5.34E9",
                                           "0",
                                           "0",
                                           "120 12 12 600 600 1 1 0",
                                           "0 0 0 0 0 0",
                                           "0",
                                           "1",
                                           "4 480",
                                           "0.0666 0 32 0 90 0",
                                           "0.0666 0 32 0 90 0",
                                           "0"};
    const struct {
        const char* what;
        std::size_t line;
        const char* replacement;
        const char* message;
    } cases[] = {
        {"increment length", 2, "60 1E308 20 0.001 120", "IS NOT A FINITE NUMBER"},
        {"unit weight", 11, "1E306 0 32 0 90 0", "IS NOT A FINITE NUMBER"},
        {"active-pressure factor", 6, "120 12 12 600 600 1E308 1 0", "IS NOT A FINITE NUMBER"},
        {"lateral load", 4, "1\n1 0 0 1E200 0 0", "OF FILE wall.vm4p: ITEM 2 (E13.4), "},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = base;
        lines[c.line] = c.replacement;
        if (c.line == 11) lines[12] = c.replacement;
        std::string input;
        for (const std::string& line : lines) input += line + "\n";
        const unsigned long before = rt::nonFiniteValuesFormatted();
        const testing::WholeRun run = testing::RunWhole(input);
        EXPECT_EQ(rt::nonFiniteValuesFormatted(), before) << c.what;
        const std::size_t at = run.report.find("     CANNOT WRITE LINE ");
        ASSERT_NE(at, std::string::npos) << c.what << "\n" << run.report;
        const std::string message = run.report.substr(at, run.report.find('\n', at) - at);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(run.report.substr(run.report.size() - testing::kEndOfAnalysis.size()), testing::kEndOfAnalysis);
        EXPECT_EQ(run.plot.find('*'), std::string::npos) << c.what;
        for (std::size_t i = 1; i + 1 < run.plot.size(); ++i) {
            const bool digitSign = std::isdigit(static_cast<unsigned char>(run.plot[i])) &&
                                   (run.plot[i + 1] == '+' || run.plot[i + 1] == '-');
            ASSERT_FALSE(digitSign) << c.what << ": exponent without its letter in the plot-data file";
        }
    }
}

}  // namespace
}  // namespace velmor::engine
