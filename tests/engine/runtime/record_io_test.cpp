#include "runtime/record_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/run_errors.h"
#include "support/test_support.h"

namespace velmor::rt {
namespace {

using velmor::test::readFile;
using velmor::test::ScratchDir;
using velmor::test::writeFile;

TEST(ListDirectedRead, ValuesAcrossLinesCommasAndTabsAnyLineEnd) {
    ScratchDir dir;
    // LF, CR LF and CR line ends in one file; the last line has no end.
    writeFile("in.txt", "1, 2.5\t-.5 ignored rest\r\n  7\r  1E15 ,1.5D+03\n\n -2 , +3. 9 9\n4,\n5");
    RecordIO io;
    io.open(5, "in.txt", Access::Read);
    int32_t a = 0, e = 0, f = 0, g = 0;
    double b = 0, c = 0, d = 0, h = 0, i = 0;
    io.readList(5, {a, b, c});
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2.5);
    EXPECT_EQ(c, -0.5);
    io.readList(5, {e, d, h});  // a read that needs more values goes on to the next lines
    EXPECT_EQ(e, 7);
    EXPECT_EQ(d, 1e15);
    EXPECT_EQ(h, 1500.0);
    io.readList(5, {f, i});  // blank line skipped; rest of the last line (9 9) ignored
    EXPECT_EQ(f, -2);
    EXPECT_EQ(i, 3.0);
    io.readList(5, {g, d});  // a comma before the line end is a separator, not a null value
    EXPECT_EQ(g, 4);
    EXPECT_EQ(d, 5.0);
}

TEST(ListDirectedRead, IntegerWhereARealIsExpectedReadsAsTheReal) {
    ScratchDir dir;
    writeFile("in.txt", "5 -3\n");
    RecordIO io;
    io.open(5, "in.txt", Access::Read);
    double x = 0, y = 0;
    io.readList(5, {x, y});
    EXPECT_EQ(x, 5.0);
    EXPECT_EQ(y, -3.0);
}

TEST(ListDirectedRead, MalformedValuesAreFaultsNamingFileLineAndItem) {
    struct Case {
        const char* text;
        bool integer;
        const char* fragment;  // part of the message that locates the fault
    };
    const Case cases[] = {
        {"5.0\n", true, "LINE 1: ITEM 1 \"5.0\" IS NOT AN INTEGER"},
        {"1E3\n", true, "IS NOT AN INTEGER"},
        {"2147483648\n", true, "IS NOT AN INTEGER"},
        {"abc\n", false, "\"abc\" IS NOT A NUMBER"},
        {"1.5E\n", false, "IS NOT A NUMBER"},
        {"E5\n", false, "IS NOT A NUMBER"},
        {".\n", false, "IS NOT A NUMBER"},
        {"1..2\n", false, "IS NOT A NUMBER"},
        {"0x10\n", false, "IS NOT A NUMBER"},
        {"inf\n", false, "IS NOT A NUMBER"},
        {"nan\n", false, "IS NOT A NUMBER"},
        {"1E999\n", false, "IS NOT A NUMBER"},
        {"1E30063657407\n", false, "IS NOT A NUMBER"},
        {"1.5+\n", false, "IS NOT A NUMBER"},
        {"1.5+-3\n", false, "IS NOT A NUMBER"},
        {"1.5 3\n", true, "IS NOT AN INTEGER"},
        {"3*1.0\n", false, "REPEAT COUNTS ARE NOT ACCEPTED"},
        {"/ 1.0\n", false, "\"/\" IS NOT ACCEPTED"},
        {"\n\n", false, "END OF FILE AFTER LINE 2"},
        {"", false, "END OF FILE AFTER LINE 0"},
        {",1.0\n", false, "EMPTY VALUE"},
        // A value in its usual shape followed by more than a separator is the whole token's fault.
        {"12*3\n", true, "\"12*3\": REPEAT COUNTS ARE NOT ACCEPTED"},
        {" 0.5E+02*2\n", false, "\"0.5E+02*2\": REPEAT COUNTS ARE NOT ACCEPTED"},
        {"-0.5E+02/\n", false, "\"-0.5E+02/\": \"/\" IS NOT ACCEPTED"},
        {"0.123E+03x\n", false, "\"0.123E+03x\" IS NOT A NUMBER"},
        {"12a\n", true, "\"12a\" IS NOT AN INTEGER"},
        {"-1234567890123\n", true, "IS NOT AN INTEGER"},
        {"1.5.\n", false, "\"1.5.\" IS NOT A NUMBER"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFile("in.txt", c.text);
        RecordIO io;
        io.open(5, "in.txt", Access::Read);
        int32_t n = 0;
        double x = 0;
        try {
            if (c.integer) {
                io.readList(5, {n});
            } else {
                io.readList(5, {x});
            }
            ADD_FAILURE() << "no fault for [" << c.text << "]";
        } catch (const RecordFault& fault) {
            EXPECT_NE(fault.message().find(c.fragment), std::string::npos) << fault.message();
            EXPECT_NE(fault.message().find("in.txt"), std::string::npos) << fault.message();
        }
    }
}

// Scratch files are written by E and D fields and read back list-directed: every exponent the writer can
// produce must read back, the three-digit ones that drop the letter ("0.307-200") included.
TEST(ListDirectedRead, ReadsBackEveryExponentTheFieldWriterProduces) {
    ScratchDir dir;
    struct Field {
        int w, d;
        char letter;
        double mantissa;
    };
    const Field fields[] = {{10, 3, 'E', 3.07}, {12, 5, 'D', -1.23456}, {9, 3, 'E', 9.99}, {20, 12, 'E', 1.0 / 3.0}};
    std::string text;
    std::vector<double> written;
    for (const Field& f : fields) {
        for (int exponent = -300; exponent <= 300; ++exponent) {
            const double v = f.mantissa * std::pow(10.0, exponent);
            text += formatE(v, f.w, f.d, f.letter) + "\n";
            written.push_back(v);
        }
    }
    writeFile("scratch.txt", text);
    RecordIO io;
    io.open(8, "scratch.txt", Access::Read);
    for (double v : written) {
        double back = 0.0;
        io.readList(8, {back});
        // The field keeps d significant digits: within half a unit of the last one (d >= 3).
        EXPECT_NEAR(back / v, 1.0, 5e-3) << v;
        EXPECT_TRUE(std::signbit(back) == std::signbit(v)) << v;
    }
    EXPECT_EQ(formatE(3.07e-201, 10, 3), " 0.307-200");  // the form the reader must take
}

TEST(ListDirectedRead, NullValueBetweenCommasIsAFault) {
    ScratchDir dir;
    writeFile("in.txt", "1,,2\n");
    RecordIO io;
    io.open(5, "in.txt", Access::Read);
    double a = 0, b = 0;
    EXPECT_THROW(io.readList(5, {a, b}), RecordFault);
}

TEST(FixedWidthRead, ShortLinesArePaddedLongLinesCut) {
    ScratchDir dir;
    writeFile("in.txt", "Short title\r\n" + std::string(80, 'x') + "\r\n\r\n");
    RecordIO io;
    io.open(5, "in.txt", Access::Read);
    EXPECT_EQ(io.readText(5, 70), "Short title" + std::string(59, ' '));
    EXPECT_EQ(io.readText(5, 70), std::string(70, 'x'));
    EXPECT_EQ(io.readText(5, 5), "     ");
    std::string rest;
    EXPECT_FALSE(io.tryReadText(5, 5, rest));
    EXPECT_THROW(io.readText(5, 5), RecordFault);
}

TEST(FixedWidthRead, LinesLongerThanTheLimitAreRefused) {
    ScratchDir dir;
    writeFile("in.txt", std::string(256, 'p') + "\n" + std::string(255, 'q') + "\n");
    RecordIO io;
    io.open(2, "in.txt", Access::Read);
    std::string name;
    EXPECT_FALSE(io.tryReadText(2, 255, name, 255));
    EXPECT_TRUE(io.tryReadText(2, 255, name, 255));
    EXPECT_EQ(name, std::string(255, 'q'));
}

TEST(UnitTable, OpeningAndClosingFollowTheUnitRules) {
    ScratchDir dir;
    RecordIO io;
    EXPECT_TRUE(io.isOpen(0));
    EXPECT_THROW(io.open(5, "missing.txt", Access::Read), RecordFault);
    EXPECT_FALSE(io.isOpen(5));

    writeFile("old.txt", "previous contents that must go\n");
    io.open(6, "old.txt", Access::Write);  // writing starts from the beginning
    io.write(6, "('first')");
    io.open(6, "second.txt", Access::Write);  // opening a connected unit closes it first
    EXPECT_EQ(readFile("old.txt"), "first\n");
    io.writeList(6, {1, 2});
    io.close(6);
    EXPECT_EQ(readFile("second.txt"), " 1 2\n");

    EXPECT_THROW(io.write(6, "('x')"), RecordFault);  // not connected
    io.open(6, "second.txt", Access::Read);
    EXPECT_THROW(io.write(6, "('x')"), RecordFault);  // open for reading
    int32_t a = 0, b = 0;
    io.readList(6, {a, b});
    EXPECT_EQ(a + b, 3);
}

TEST(UnitTable, ARefusedRecordLeavesNothingOfItselfAndLaterLinesCountOn) {
    ScratchDir dir;
    RecordIO io;
    io.open(4, "out.txt", Access::Write);
    io.setFieldRange(4, FieldRange::Readable);
    io.write(4, "(' A',F6.1/' B')", {2.5});
    try {
        io.write(4, "(' C',I3,F6.1)", {7, 1.0e9});
        ADD_FAILURE() << "a value too wide for its field was written";
    } catch (const RecordFault& fault) {
        EXPECT_NE(fault.message().find("CANNOT WRITE LINE 3 OF FILE out.txt"), std::string::npos) << fault.message();
    }
    EXPECT_THROW(io.write(4, "(' D',I3)", {std::string("text")}), RecordFault);  // text for an I field
    io.writeList(4, {3});
    io.write(4, "(' E',I2)", {5});
    io.close(4);
    EXPECT_EQ(readFile("out.txt"), " A   2.5\n B\n 3\n E 5\n");
}

TEST(UnitTable, ConsoleIsUnitZero) {
    ScratchDir dir;
    std::FILE* console = std::fopen("console.txt", "w+b");
    ASSERT_NE(console, nullptr);
    {
        RecordIO io;
        io.setConsole(console);
        io.write(0, "(' COUNT',I3)", {12});
        io.writeList(0, {7});
        io.close(0);  // the console stays connected
        EXPECT_TRUE(io.isOpen(0));
    }
    std::fclose(console);
    EXPECT_EQ(readFile("console.txt"), " COUNT 12\n 7\n");
}

}  // namespace
}  // namespace velmor::rt
