// The parameter table on its own: what the host stores and shows must hang
// together before any host sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "params/param_table.h"

namespace {

bool isValue(const ParamSpec& s) { return s.type == PF_Param_FLOAT_SLIDER; }

TEST(ParamTable, DiskIdsAreUniqueAndPositive) {
    std::set<A_long> seen;
    for (const ParamSpec& s : kParamTable) {
        EXPECT_GT(s.disk_id, 0) << s.index;
        EXPECT_TRUE(seen.insert(s.disk_id).second) << "disk ID " << s.disk_id << " used twice";
    }
    EXPECT_EQ(seen.size(), 36u);
}

TEST(ParamTable, SliderRangesLieInsideTypedRangesAndHoldTheDefault) {
    for (const ParamSpec& s : kParamTable) {
        if (!isValue(s)) {
            continue;
        }
        SCOPED_TRACE(s.name);
        EXPECT_LT(s.valid.min, s.valid.max);
        EXPECT_LT(s.slider.min, s.slider.max);
        EXPECT_LE(s.valid.min, s.slider.min);
        EXPECT_GE(s.valid.max, s.slider.max);
        EXPECT_GE(s.dephault, s.valid.min);
        EXPECT_LE(s.dephault, s.valid.max);
        EXPECT_GE(s.precision, 0);
        EXPECT_LE(s.precision, 2);
    }
}

TEST(ParamTable, PopupDefaultsAreChoicesThatExist) {
    for (const ParamSpec& s : kParamTable) {
        if (s.type != PF_Param_POPUP) {
            continue;
        }
        SCOPED_TRACE(s.name);
        ASSERT_NE(s.choices, nullptr);
        EXPECT_GE(s.choice, 1);
        EXPECT_LE(s.choice, s.num_choices);
    }
    EXPECT_EQ(paramSpec(PARAM_TEXT_MODE).num_choices, 2);
    EXPECT_EQ(paramSpec(PARAM_TEXT_ALIGNMENT).num_choices, 3);
}

TEST(ParamTable, GroupsNestAndClose) {
    int depth = 0;
    int deepest = 0;
    for (const ParamSpec& s : kParamTable) {
        if (s.type == PF_Param_GROUP_START) {
            ASSERT_NE(s.name, nullptr);
            EXPECT_GT(std::strlen(s.name), 0u);
            deepest = std::max(deepest, ++depth);
        } else if (s.type == PF_Param_GROUP_END) {
            EXPECT_EQ(s.name, nullptr);
            ASSERT_GT(depth, 0) << "group end without a start at " << s.index;
            --depth;
        } else {
            ASSERT_NE(s.name, nullptr) << s.index;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(deepest, 2);
}

}  // namespace
