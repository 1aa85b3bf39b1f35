#include "fields/utilities.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace velmor::components {
namespace {

TEST(Utilities, CharAtIsOneBasedWithZeroOutside) {
    struct Case {
        int index;
        char expected;
    };
    const Case cases[] = {{-1, '\0'}, {0, '\0'}, {1, 'a'}, {3, 'c'}, {4, '\0'}};
    for (const Case& c : cases) EXPECT_EQ(CharAt("abc", c.index), c.expected) << c.index;
}

TEST(Utilities, CopyFromTail) {
    struct Case {
        int from;
        const char* expected;
    };
    const Case cases[] = {{0, "abcdef"}, {1, "abcdef"}, {3, "cdef"}, {6, "f"}, {7, ""}};
    for (const Case& c : cases) EXPECT_EQ(CopyFrom("abcdef", c.from), c.expected) << c.from;
}

TEST(Utilities, Positions) {
    struct Case {
        const char* what;
        int actual;
        int expected;
    };
    const Case cases[] = {
        {"PosFrom b abab 3 counts in the tail", PosFrom("b", "abab", 3), 2},
        {"PosFrom b abab 1", PosFrom("b", "abab", 1), 2},
        {"PosFrom a abab 4", PosFrom("a", "abab", 4), 0},
        {"PosFrom beyond the end", PosFrom("a", "abab", 9), 0},
        {"PosFrom empty Sub", PosFrom("", "abc", 1), 0},
        {"PosOrDefault found", PosOrDefault("c", "abc", -1), 3},
        {"PosOrDefault absent", PosOrDefault("z", "abc", -1), -1},
        {"PosOrEnd found", PosOrEnd("a", "abc"), 1},
        {"PosOrEnd absent", PosOrEnd("z", "abc"), 4},
        {"PosOrEnd of empty text", PosOrEnd("z", ""), 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(Utilities, ReplaceAllLeftToRightWithoutRescanning) {
    struct Case {
        const char* s;
        const char* old;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"L-L", "L", "in", "in-in"},
        {"aa", "a", "b", "bb"},
        {"xyz", "q", "r", "xyz"},
        {"aaa", "a", "aa", "aaaaaa"},
        {"aaa", "aa", "b", "ba"},
        {"F/L2^3", "L2", "ft", "F/ft^3"},
        {"", "a", "b", ""},
        // An empty pattern would match everywhere without advancing; it matches nothing instead.
        {"abc", "", "x", "abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceAll(c.s, c.old, c.replacement), c.expected) << c.s;
}

TEST(Utilities, IsIntegralWithin32Bits) {
    struct Case {
        Extended x;
        bool expected;
    };
    const Case cases[] = {
        {2147483648.0L, false},
        {-3.0L, true},
        {2.5L, false},
        {0.0L, true},
        {2147483647.0L, true},
        {-2147483648.0L, true},
        {-2147483649.0L, false},
        {-0.5L, false},
        {std::numeric_limits<Extended>::quiet_NaN(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsIntegral(c.x), c.expected) << static_cast<double>(c.x);
}

TEST(Utilities, RoundToInt64HalvesToEven) {
    struct Case {
        Extended x;
        std::int64_t expected;
    };
    const Case cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {0.5L, 0},
        {-0.5L, 0},
        {1.5L, 2},
        {2.4L, 2},
        {2.6L, 3},
        {-2.6L, -3},
        {9223372036854775807.0L, std::numeric_limits<std::int64_t>::max()},
        {-9223372036854775808.0L, std::numeric_limits<std::int64_t>::min()},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundToInt64(c.x), c.expected) << static_cast<double>(c.x);
}

TEST(Utilities, RoundToInt64OutsideRangeIsInvalidOperation) {
    const Extended cases[] = {9223372036854775808.0L, -9223372036854775809.0L, 1e30L,
                              std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::quiet_NaN()};
    for (Extended x : cases) EXPECT_THROW(RoundToInt64(x), EInvalidOp) << static_cast<double>(x);
}

TEST(Utilities, AbsAndFrac) {
    EXPECT_EQ(Abs(-1.5L), 1.5L);
    EXPECT_EQ(Frac(-2.75L), -0.75L);
    EXPECT_EQ(Frac(2.5L), 0.5L);
    EXPECT_EQ(Frac(7.0L), 0.0L);
}

TEST(Utilities, IntegerHelpers) {
    EXPECT_EQ(IfThen(true, 1, 2), 1);
    EXPECT_EQ(IfThen(false, 1, 2), 2);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(3, -4), 3);
    EXPECT_TRUE(InRange(5, 5, 7));
    EXPECT_TRUE(InRange(7, 5, 7));
    EXPECT_FALSE(InRange(8, 5, 7));
    EXPECT_FALSE(InRange(4, 5, 7));
    EXPECT_EQ(MinOf({5}), 5);
    EXPECT_EQ(MinOf({3, 1, 2}), 1);
    EXPECT_EQ(Reduce(Max, {1, 5, 3}), 5);
    // A left fold: (10 - 3) - 2.
    EXPECT_EQ(Reduce([](int a, int b) { return a - b; }, {10, 3, 2}), 5);
}

TEST(Utilities, ReduceOfNoValuesIsAnIndexError) {
    EXPECT_THROW(MinOf({}), EListError);
}

TEST(Utilities, FormatTextFillsDirectives) {
    EXPECT_EQ(formatText("Entry must be between %d and %d.", {0, 2147483647}),
              "Entry must be between 0 and 2147483647.");
    EXPECT_EQ(formatText("%d: %s", {1, "Clay"}), "1: Clay");
    EXPECT_EQ(formatText("%s (%s)  ", {std::string("Depth"), "ft"}), "Depth (ft)  ");
    EXPECT_EQ(formatText("ATopRow %d", {-1}), "ATopRow -1");
    EXPECT_EQ(formatText("100%%", {}), "100%");
}

TEST(Utilities, FormatTextRejectsMismatch) {
    struct Case {
        const char* fmt;
        std::function<std::string()> call;
    };
    const Case cases[] = {
        {"%d without argument", [] { return formatText("%d", {}); }},
        {"%d with text", [] { return formatText("%d", {"x"}); }},
        {"%s with integer", [] { return formatText("%s", {3}); }},
        {"unknown directive", [] { return formatText("%f", {1}); }},
        {"lone percent at the end", [] { return formatText("50%", {}); }},
    };
    for (const Case& c : cases) EXPECT_THROW(c.call(), EConvertError) << c.fmt;
}

// Each check, given the condition that should make it raise and the one that should not.
TEST(Utilities, ContractChecksRaiseTheChosenClass) {
    struct Case {
        const char* name;
        std::function<void(bool)> check;
        bool raisingCondition;
    };
    const Case cases[] = {
        {"RaiseIf", [](bool c) { RaiseIf<EListError>(c, "Index out of bounds"); }, true},
        {"FailIf", [](bool c) { FailIf<EListError>(c, "Index out of bounds"); }, true},
        {"Require", [](bool c) { Require<EListError>(c, "Index out of bounds"); }, false},
        {"Ensure", [](bool c) { Ensure<EListError>(c, "Index out of bounds"); }, false},
        {"RaiseIfFmt", [](bool c) { RaiseIfFmt<EListError>(c, "Index %s of bounds", {"out"}); }, true},
        {"FailIfFmt", [](bool c) { FailIfFmt<EListError>(c, "Index %s of bounds", {"out"}); }, true},
        {"RequireFmt", [](bool c) { RequireFmt<EListError>(c, "Index %s of bounds", {"out"}); }, false},
        {"EnsureFmt", [](bool c) { EnsureFmt<EListError>(c, "Index %s of bounds", {"out"}); }, false},
    };
    for (const Case& c : cases) {
        EXPECT_NO_THROW(c.check(!c.raisingCondition)) << c.name;
        try {
            c.check(c.raisingCondition);
            ADD_FAILURE() << c.name << " did not raise";
        } catch (const EListError& e) {
            EXPECT_EQ(e.message(), "Index out of bounds") << c.name;
        }
    }
}

TEST(Utilities, ContractChecksWithoutClassRaiseAssertionFailure) {
    EXPECT_THROW(Require(false, "null parent"), EAssertionFailed);
    EXPECT_THROW(RaiseIfFmt(true, "ACount %d", {0}), EAssertionFailed);
    try {
        EnsureFmt(false, "ACount %d", {0});
        ADD_FAILURE() << "EnsureFmt did not raise";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.message(), "ACount 0");
    }
}

}  // namespace
}  // namespace velmor::components
