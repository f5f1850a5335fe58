// The parameter table on its own: what the host stores and shows must hang
// together before any host sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

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

TEST(ParamTable, DiskIdsLeaveIndexOrderOnlyAtTheEnd) {
    for (const ParamSpec& s : kParamTable) {
        if (s.index <= PARAM_CUSTOM_SIZE_END) {
            EXPECT_EQ(s.disk_id, s.index);
        }
    }
    EXPECT_EQ(paramSpec(PARAM_BUFFER_EXPANSION).disk_id, 36);
    EXPECT_EQ(paramSpec(PARAM_LEFT).disk_id, 32);
    EXPECT_EQ(paramSpec(PARAM_TOP).disk_id, 33);
    EXPECT_EQ(paramSpec(PARAM_RIGHT).disk_id, 34);
    EXPECT_EQ(paramSpec(PARAM_BOTTOM).disk_id, 35);
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

TEST(ParamTable, PairsShareOneShapeAndAdvanceByFour) {
    for (int p = 1; p <= kCustomSizePairs; ++p) {
        SCOPED_TRACE(p);
        const ParamSpec& start = paramSpec(pairStartParam(p));
        const ParamSpec& index = paramSpec(pairIndexParam(p));
        const ParamSpec& size = paramSpec(pairSizeParam(p));
        EXPECT_EQ(std::string(start.name), std::to_string(p));
        EXPECT_EQ(start.flags, p == 1 ? 0 : PF_ParamFlag_START_COLLAPSED);
        EXPECT_EQ(std::string(index.name), "Character Index");
        EXPECT_EQ(std::string(size.name), "Size");
        EXPECT_EQ(paramSpec(pairEndParam(p)).type, PF_Param_GROUP_END);
        EXPECT_EQ(start.disk_id, 11 + 4 * (p - 1));
        EXPECT_EQ(index.valid.max, paramSpec(pairIndexParam(1)).valid.max);
        EXPECT_EQ(size.slider.max, paramSpec(pairSizeParam(1)).slider.max);
    }
}

TEST(ParamTable, OnlyTextModeAndGuideAreFixedInTime) {
    for (const ParamSpec& s : kParamTable) {
        const bool fixed = (s.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0;
        EXPECT_EQ(fixed, s.index == PARAM_TEXT_MODE || s.index == PARAM_ENABLE_GUIDE) << s.index;
    }
}

}  // namespace
