#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "layout_fixtures.h"
#include "render/render_setup.h"

namespace {

constexpr PF_RationalScale kFull{1, 1};
constexpr PF_RationalScale kHalf{1, 2};

// Definitions as the host checks them out, at the controls' defaults.
struct param_set {
    std::array<PF_ParamDef, PARAM_NUM_PARAMS> defs{};
    std::array<PF_ParamDef*, PARAM_NUM_PARAMS> pointers{};

    param_set() {
        for (std::size_t i = 0; i < defs.size(); ++i) {
            pointers[i] = &defs[i];
        }
        defs[PARAM_TEXT_MODE].u.pd.value = TEXT_MODE_HORIZONTAL;
        slider(PARAM_CHARACTER_SIZE) = 50;
        slider(PARAM_X_THRESHOLD) = 10;
        slider(PARAM_Y_THRESHOLD) = 10;
        defs[PARAM_ENABLE_GUIDE].u.bd.value = 1;
        defs[PARAM_TEXT_ALIGNMENT].u.pd.value = ALIGN_LEFT;
        for (int p = 1; p <= kCustomSizePairs; ++p) {
            slider(pairSizeParam(p)) = 50;
        }
    }
    double& slider(ParamIndex i) { return defs[static_cast<std::size_t>(i)].u.fs_d.value; }
    param_values read() const { return readParamValues(pointers.data()); }
};

layer_pose pose(double px, double py, double sx, double sy) { return layer_pose{px, py, sx, sy}; }

RenderSettings scaled(const param_values& v, const layer_pose& p, PF_RationalScale dx = kFull,
                      PF_RationalScale dy = kFull) {
    RenderSettings s;
    scaleToRender(v, p, dx, dy, s);
    return s;
}

TEST(ReadParams, SliderLengthsTruncateTowardZero) {
    param_set ps;
    ps.slider(PARAM_CHARACTER_SIZE) = 50.7;
    ps.slider(PARAM_BUFFER_EXPANSION) = 3.9;
    ps.slider(pairIndexParam(2)) = 2.9;
    ps.slider(pairSizeParam(2)) = 80.99;
    ps.slider(PARAM_TRACKING) = -2.5;
    const param_values v = ps.read();
    EXPECT_EQ(v.character_size, 50);
    EXPECT_EQ(v.buffer_expansion, 3);
    EXPECT_EQ(v.custom_sizes[1].index, 2);
    EXPECT_EQ(v.custom_sizes[1].size, 80);
    EXPECT_DOUBLE_EQ(v.tracking, -2.5);
}

TEST(ReadParams, CharacterIndexZeroMatchesNothing) {
    param_set ps;
    ps.slider(pairIndexParam(1)) = 0.0;
    ps.slider(pairIndexParam(3)) = 0.6;  // truncates to 0 too
    ps.slider(pairIndexParam(5)) = 1.0;
    const param_values v = ps.read();
    EXPECT_EQ(v.custom_sizes[0].index, -1);
    EXPECT_EQ(v.custom_sizes[2].index, -1);
    EXPECT_EQ(v.custom_sizes[4].index, 1);
}

TEST(ReadParams, ModeGuideAndAlignment) {
    param_set ps;
    EXPECT_TRUE(ps.read().horizontal);
    EXPECT_TRUE(ps.read().enable_guide);
    ps.defs[PARAM_TEXT_MODE].u.pd.value = TEXT_MODE_VERTICAL;
    EXPECT_FALSE(ps.read().horizontal);
    ps.defs[PARAM_TEXT_MODE].u.pd.value = 7;  // anything but Horizontal
    EXPECT_FALSE(ps.read().horizontal);
    // Only the checkbox value's low byte counts.
    ps.defs[PARAM_ENABLE_GUIDE].u.bd.value = 0x100;
    EXPECT_FALSE(ps.read().enable_guide);
    ps.defs[PARAM_ENABLE_GUIDE].u.bd.value = 0x180;
    EXPECT_TRUE(ps.read().enable_guide);
    ps.defs[PARAM_TEXT_ALIGNMENT].u.pd.value = 5;
    EXPECT_EQ(ps.read().alignment, 5);
}

TEST(ReadParams, AbsurdSliderValuesSaturate) {
    param_set ps;
    ps.slider(PARAM_CHARACTER_SIZE) = 1e300;
    ps.slider(PARAM_BUFFER_EXPANSION) = -std::numeric_limits<double>::infinity();
    ps.slider(pairIndexParam(1)) = std::numeric_limits<double>::quiet_NaN();
    const param_values v = ps.read();
    EXPECT_EQ(v.character_size, std::numeric_limits<A_long>::max());
    EXPECT_EQ(v.buffer_expansion, std::numeric_limits<A_long>::min());
    EXPECT_EQ(v.custom_sizes[0].index, -1);  // NaN is no index
}

TEST(Scaling, FullResolutionAtHundredPercentKeepsTheValues) {
    param_set ps;
    ps.slider(PARAM_TRACKING) = 2.5;
    ps.slider(PARAM_BUFFER_EXPANSION) = 4;
    const RenderSettings s = scaled(ps.read(), pose(120, 80, 1.0, 1.0));
    EXPECT_EQ(s.cell_size, 50);
    EXPECT_DOUBLE_EQ(s.start, 120.0);
    EXPECT_DOUBLE_EQ(s.track_step, 2.5);
    EXPECT_EQ(s.expansion, 4);
    EXPECT_DOUBLE_EQ(s.x_tolerance, 10.0);
    EXPECT_DOUBLE_EQ(s.y_tolerance, 10.0);
}

TEST(Scaling, HalfResolutionTruncatesAfterScaling) {
    param_set ps;
    ps.slider(PARAM_CHARACTER_SIZE) = 51;
    ps.slider(PARAM_BUFFER_EXPANSION) = 3;
    const RenderSettings s = scaled(ps.read(), pose(120, 80, 1.0, 1.0), kHalf, kHalf);
    EXPECT_DOUBLE_EQ(s.dsx, 0.5);
    EXPECT_EQ(s.cell_size, 25);
    EXPECT_EQ(s.expansion, 1);
    EXPECT_DOUBLE_EQ(s.start, 60.0);
}

TEST(Scaling, TwoHundredPercentAtHalfResolution) {
    param_set ps;
    ps.slider(PARAM_BUFFER_EXPANSION) = 5;
    const RenderSettings s = scaled(ps.read(), pose(0, 0, 2.0, 2.0), kHalf, kHalf);
    EXPECT_DOUBLE_EQ(s.axis_scale, 1.0);
    EXPECT_EQ(s.cell_size, 50);
    EXPECT_EQ(s.expansion, 2);  // downsample only, no layer scale
}

TEST(Scaling, FiftyPercentHorizontal) {
    param_set ps;
    ps.slider(pairSizeParam(1)) = 30;
    ps.slider(PARAM_TRACKING) = 10;
    ps.slider(PARAM_BUFFER_EXPANSION) = 4;
    const RenderSettings s = scaled(ps.read(), pose(0, 0, 0.5, 1.0));
    EXPECT_EQ(s.cell_size, 25);
    EXPECT_EQ(s.custom_sizes[0].size, 15);
    EXPECT_DOUBLE_EQ(s.track_step, 5.0);
    EXPECT_DOUBLE_EQ(s.x_tolerance, 5.0);
    EXPECT_DOUBLE_EQ(s.y_tolerance, 10.0);
    EXPECT_EQ(s.expansion, 4);
}

TEST(Scaling, VerticalModeUsesTheVerticalScaleAndPosition) {
    param_set ps;
    ps.defs[PARAM_TEXT_MODE].u.pd.value = TEXT_MODE_VERTICAL;
    ps.slider(PARAM_BUFFER_EXPANSION) = 4;
    const RenderSettings s = scaled(ps.read(), pose(120, 80, 1.0, 0.5), kFull, kHalf);
    EXPECT_DOUBLE_EQ(s.axis_scale, 0.25);
    EXPECT_EQ(s.cell_size, 12);
    EXPECT_DOUBLE_EQ(s.start, 40.0);
    EXPECT_EQ(s.expansion, 4);  // the horizontal downsample, in both modes
}

TEST(Scaling, NegativeScaleGivesNegativeCellsWhichLayoutSkips) {
    param_set ps;
    const RenderSettings s = scaled(ps.read(), pose(100, 0, -1.0, 1.0));
    EXPECT_DOUBLE_EQ(s.axis_scale, -1.0);
    EXPECT_EQ(s.cell_size, -50);
    RenderSettings run = s;
    run.characters = row(3, ALIGN_LEFT);
    EXPECT_TRUE(layOut(run).empty());
}

TEST(Scaling, ZeroDownsampleDenominatorIsDefined) {
    EXPECT_TRUE(std::isinf(downsampleFactor({1, 0})));
    EXPECT_GT(downsampleFactor({1, 0}), 0.0);
    EXPECT_LT(downsampleFactor({-1, 0}), 0.0);
    EXPECT_TRUE(std::isnan(downsampleFactor({0, 0})));
    EXPECT_DOUBLE_EQ(downsampleFactor({3, 4}), 0.75);
    // The denominator is unsigned: 2^32 - 1 is a huge divisor, not -1.
    EXPECT_GT(downsampleFactor({1, 0xFFFFFFFFu}), 0.0);

    param_set ps;
    ps.slider(PARAM_BUFFER_EXPANSION) = 2;
    const RenderSettings inf = scaled(ps.read(), pose(10, 10, 1.0, 1.0), {1, 0}, {1, 0});
    EXPECT_EQ(inf.cell_size, std::numeric_limits<A_long>::max());
    EXPECT_EQ(inf.expansion, std::numeric_limits<A_long>::max());
    const RenderSettings nan = scaled(ps.read(), pose(10, 10, 1.0, 1.0), {0, 0}, {0, 0});
    EXPECT_EQ(nan.cell_size, 0);
    EXPECT_EQ(nan.expansion, 0);
    // Nothing of either can be placed, and nothing is undefined on the way.
    for (RenderSettings s : {inf, nan}) {
        s.characters = row(3, ALIGN_LEFT);
        EXPECT_TRUE(layOut(s).empty());
    }
}

TEST(Scaling, DegenerateLayerScaleIsDefined) {
    param_set ps;
    const RenderSettings s = scaled(ps.read(), pose(10, 10, std::numeric_limits<double>::quiet_NaN(), 1e300));
    EXPECT_EQ(s.cell_size, 0);
    EXPECT_TRUE(std::isnan(s.track_step));
    const RenderSettings v = [&] {
        param_set vs;
        vs.defs[PARAM_TEXT_MODE].u.pd.value = TEXT_MODE_VERTICAL;
        return scaled(vs.read(), pose(10, 10, 1.0, 1e300));
    }();
    EXPECT_EQ(v.cell_size, std::numeric_limits<A_long>::max());
}

}  // namespace
