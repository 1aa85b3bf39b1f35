#include "soil/unit_labels.h"

#include <gtest/gtest.h>

#include "runtime/edit_format.h"

namespace velmor::engine {
namespace {

TEST(UnitLabels, SignOfTheFlagSelectsTheSystem) {
    const struct {
        int32_t flag;
        const char *lengthLong, *forceLong, *lengthShort, *forceShort;
    } cases[] = {
        {1, " IN", " LBS", "IN", "LBS"},  {7, " IN", " LBS", "IN", "LBS"},  {0, "  L", "   F", " L", "  F"},
        {-1, "  M", "  KN", " M", " KN"}, {-5, "  M", "  KN", " M", " KN"},
    };
    for (const auto& c : cases) {
        UnitLabels labels{};
        SetUnitLabels(labels, c.flag);
        EXPECT_EQ(labels.lengthLong.view(), c.lengthLong) << c.flag;
        EXPECT_EQ(labels.forceLong.view(), c.forceLong) << c.flag;
        EXPECT_EQ(labels.lengthShort.view(), c.lengthShort) << c.flag;
        EXPECT_EQ(labels.forceShort.view(), c.forceShort) << c.flag;
        EXPECT_EQ(labels.slash.view(), "/");
        EXPECT_EQ(labels.dash.view(), "-");
        EXPECT_EQ(labels.power.view(), "**");
        EXPECT_EQ(labels.two.view(), "2");
        EXPECT_EQ(labels.three.view(), "3  ");
        EXPECT_EQ(labels.four.view(), "4");
        EXPECT_EQ(labels.radian.view(), "RAD");
    }
}

TEST(UnitLabels, HeadingsAssembleFromThePieces) {
    const char* format = "('WEIGHT,',A3,A1,A2,A2,A1)";
    UnitLabels labels{};
    SetUnitLabels(labels, 1);
    auto english = rt::formatRecords(format, {labels.forceShort.view(), labels.slash.view(), labels.lengthShort.view(),
                                              labels.power.view(), labels.three.view()});
    EXPECT_EQ(english.at(0), "WEIGHT,LBS/IN**3");
    SetUnitLabels(labels, -1);
    auto si = rt::formatRecords(format, {labels.forceShort.view(), labels.slash.view(), labels.lengthShort.view(),
                                         labels.power.view(), labels.three.view()});
    EXPECT_EQ(si.at(0), "WEIGHT, KN/ M**3");
}

}  // namespace
}  // namespace velmor::engine
