// Parameter set-up through the stand-in host: what a fresh application of
// the effect shows and stores.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "minihost/core/host.h"
#include "params/param_index.h"

namespace {

using minihost::Host;

constexpr PF_Err kRefused = 42;  // an error only the host's fault injection answers

// The built plug-in behind a pass-through EffectMain that notes every
// add_param call: the index and the definition as the effect filled it,
// before the host makes its own copy.
struct Declaration {
    PF_ParamIndex index;
    PF_ParamDef def;
};
std::vector<Declaration> g_declared;
PF_FilterProc g_effect_main = nullptr;
PF_Err (*g_add_param)(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) = nullptr;

PF_Err noteAddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    Declaration d{index, {}};
    std::memcpy(&d.def, def, sizeof d.def);
    g_declared.push_back(d);
    return g_add_param(effect_ref, index, def);
}

PF_Err notingEffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                        PF_LayerDef* output, void* extra) {
    PF_InData noted = *in_data;
    g_add_param = in_data->inter.add_param;
    noted.inter.add_param = noteAddParam;
    return g_effect_main(cmd, &noted, out_data, params, output, extra);
}

std::shared_ptr<const minihost::Plugin> notingPlugin() {
    static const std::shared_ptr<const minihost::Plugin> built = minihost::Plugin::load(QA_PLUGIN_PATH);
    g_effect_main = built->effectMain();
    g_declared.clear();
    return minihost::Plugin::fromEntryPoints(&notingEffectMain);
}

// A definition cleared to zeros, then given a type and a flag word.
PF_ParamDef cleared(PF_ParamType type, PF_ParamFlags flags = 0) {
    PF_ParamDef d;
    std::memset(&d, 0, sizeof d);
    d.param_type = type;
    d.flags = flags;
    return d;
}

PF_ParamDef slider(PF_FpShort valid_min, PF_FpShort valid_max, PF_FpShort slider_min, PF_FpShort slider_max,
                   PF_FpShort dephault, A_short precision) {
    PF_ParamDef d = cleared(PF_Param_FLOAT_SLIDER);
    PF_FloatSliderDef& fs = d.u.fs_d;
    fs.value = dephault;
    fs.valid_min = valid_min;
    fs.valid_max = valid_max;
    fs.slider_min = slider_min;
    fs.slider_max = slider_max;
    fs.dephault = dephault;
    fs.precision = precision;
    fs.curve_tolerance = 0.05f;
    return d;
}

PF_ParamDef popup(A_short num_choices, PF_ParamFlags flags) {
    PF_ParamDef d = cleared(PF_Param_POPUP, flags);
    d.u.pd.value = 1;
    d.u.pd.dephault = 1;
    d.u.pd.num_choices = num_choices;
    return d;
}

// Every control as a fresh effect declares it, but for the disk ID, the name
// and the text pointers, which other checks cover.
std::vector<PF_ParamDef> expectedDeclarations() {
    constexpr PF_ParamFlags kFixed = PF_ParamFlag_CANNOT_TIME_VARY;
    constexpr PF_ParamFlags kCollapsed = PF_ParamFlag_START_COLLAPSED;
    PF_ParamDef guide = cleared(PF_Param_CHECKBOX, kFixed);
    guide.u.bd.value = 1;
    guide.u.bd.dephault = 1;
    std::vector<PF_ParamDef> t = {popup(2, kFixed),
                                  slider(1, 1000, 1, 100, 50, 0),
                                  cleared(PF_Param_GROUP_START),
                                  slider(0, 1000, 0, 50, 10, 2),
                                  slider(0, 1000, 0, 50, 10, 2),
                                  guide,
                                  cleared(PF_Param_GROUP_END),
                                  slider(-1000, 1000, -250, 250, 0, 2),
                                  popup(3, 0),
                                  cleared(PF_Param_GROUP_START, kCollapsed)};
    for (int pair = 1; pair <= kCustomSizePairs; ++pair) {
        t.push_back(cleared(PF_Param_GROUP_START, pair == 1 ? 0 : kCollapsed));
        t.push_back(slider(0, 100, 0, 25, 0, 0));
        t.push_back(slider(1, 1000, 1, 500, 50, 0));
        t.push_back(cleared(PF_Param_GROUP_END));
    }
    t.push_back(cleared(PF_Param_GROUP_END));
    t.push_back(slider(0, 500, 0, 50, 0, 0));
    for (int side = 0; side < 4; ++side) {
        t.push_back(slider(-1000, 1000, 0, 50, 0, 2));
    }
    return t;
}

class ParamsSetupTest : public ::testing::Test {
protected:
    Host host{notingPlugin()};

    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    const PF_FloatSliderDef& slider(int index) { return host.params().definition(index).u.fs_d; }
};

TEST_F(ParamsSetupTest, FreshEffectShowsEveryControlInOrder) {
    ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
    host.outData().num_params = -1;
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    EXPECT_EQ(host.outData().num_params, 37);
    ASSERT_EQ(host.params().count(), 37);
    ASSERT_EQ(host.panel().count(), 37);

    const std::vector<std::string> names = {"Text Mode",
                                            "Character Size",
                                            "Thresholding",
                                            "X Threshold",
                                            "Y Threshold",
                                            "",
                                            "",
                                            "Tracking",
                                            "Text Alignment",
                                            "Custom Size",
                                            "1",
                                            "Character Index",
                                            "Size",
                                            "",
                                            "2",
                                            "Character Index",
                                            "Size",
                                            "",
                                            "3",
                                            "Character Index",
                                            "Size",
                                            "",
                                            "4",
                                            "Character Index",
                                            "Size",
                                            "",
                                            "5",
                                            "Character Index",
                                            "Size",
                                            "",
                                            "",
                                            "Buffer Expansion",
                                            "Left",
                                            "Top",
                                            "Right",
                                            "Bottom"};
    const std::vector<PF_ParamType> types = {
        PF_Param_POPUP,    PF_Param_FLOAT_SLIDER, PF_Param_GROUP_START,  PF_Param_FLOAT_SLIDER, PF_Param_FLOAT_SLIDER,
        PF_Param_CHECKBOX, PF_Param_GROUP_END,    PF_Param_FLOAT_SLIDER, PF_Param_POPUP,        PF_Param_GROUP_START};
    for (int i = 1; i < 37; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(host.params().definition(i).name, names[i - 1]);
        EXPECT_EQ(host.panel().name(i), names[i - 1]);
        if (i <= static_cast<int>(types.size())) {
            EXPECT_EQ(host.params().definition(i).param_type, types[i - 1]);
        }
        // Nothing is hidden before the first panel update.
        EXPECT_FALSE(host.panel().hidden(i));
    }
    EXPECT_EQ(host.params().definition(PARAM_CUSTOM_SIZE_END).param_type, PF_Param_GROUP_END);
    EXPECT_EQ(host.params().definition(PARAM_BUFFER_EXPANSION).param_type, PF_Param_FLOAT_SLIDER);

    // Each declaration, as the effect handed it over, appends (index -1) and
    // holds exactly the table's values, every other byte zero.
    const std::vector<PF_ParamDef> expected = expectedDeclarations();
    ASSERT_EQ(g_declared.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(k + 1);
        const Declaration& d = g_declared[k];
        EXPECT_EQ(d.index, -1);
        PF_ParamDef want = expected[k];
        want.uu.id = d.def.uu.id;
        std::memcpy(want.name, d.def.name, sizeof want.name);
        if (want.param_type == PF_Param_POPUP) {
            want.u.pd.u.namesptr = d.def.u.pd.u.namesptr;
        } else if (want.param_type == PF_Param_CHECKBOX) {
            want.u.bd.u.nameptr = d.def.u.bd.u.nameptr;
        }
        EXPECT_EQ(std::memcmp(&want, &d.def, sizeof want), 0);
    }
}

TEST_F(ParamsSetupTest, DefaultsAndChoices) {
    ASSERT_EQ(host.setUp(), PF_Err_NONE);
    const minihost::Params& p = host.params();
    EXPECT_EQ(p.valueAt(PARAM_TEXT_MODE, 0), 1);
    EXPECT_EQ(p.choices(PARAM_TEXT_MODE), "Horizontal|Vertical");
    EXPECT_EQ(p.definition(PARAM_TEXT_MODE).u.pd.num_choices, 2);
    EXPECT_EQ(p.valueAt(PARAM_CHARACTER_SIZE, 0), 50);
    EXPECT_EQ(p.valueAt(PARAM_X_THRESHOLD, 0), 10);
    EXPECT_EQ(p.valueAt(PARAM_Y_THRESHOLD, 0), 10);
    EXPECT_EQ(p.valueAt(PARAM_ENABLE_GUIDE, 0), 1);
    EXPECT_EQ(p.checkboxLabel(PARAM_ENABLE_GUIDE), "Enable Guide");
    EXPECT_EQ(p.definition(PARAM_ENABLE_GUIDE).u.bd.dephault, 1);
    EXPECT_EQ(p.valueAt(PARAM_TRACKING, 0), 0);
    EXPECT_EQ(p.valueAt(PARAM_TEXT_ALIGNMENT, 0), 1);
    EXPECT_EQ(p.choices(PARAM_TEXT_ALIGNMENT), "Left|Center|Right");
    EXPECT_EQ(p.definition(PARAM_TEXT_ALIGNMENT).u.pd.num_choices, 3);
    EXPECT_EQ(p.definition(PARAM_TEXT_ALIGNMENT).u.pd.dephault, 1);
    for (int pair = 1; pair <= kCustomSizePairs; ++pair) {
        EXPECT_EQ(p.valueAt(pairIndexParam(pair), 0), 0) << pair;  // every pair starts switched off
        EXPECT_EQ(p.valueAt(pairSizeParam(pair), 0), 50) << pair;
    }
    EXPECT_EQ(p.valueAt(PARAM_BUFFER_EXPANSION, 0), 0);
    for (int side = PARAM_LEFT; side <= PARAM_BOTTOM; ++side) {
        EXPECT_EQ(p.valueAt(side, 0), 0) << side;
    }
}

TEST_F(ParamsSetupTest, SlidersStartAtTheirDefaultWithTheirPrecision) {
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    for (int i = 1; i < 37; ++i) {
        const PF_ParamDef& def = host.params().definition(i);
        if (def.param_type != PF_Param_FLOAT_SLIDER) {
            continue;
        }
        SCOPED_TRACE(def.name);
        EXPECT_EQ(def.u.fs_d.value, def.u.fs_d.dephault);
        EXPECT_FLOAT_EQ(def.u.fs_d.curve_tolerance, 0.05f);
        EXPECT_EQ(def.u.fs_d.display_flags, 0);
        EXPECT_EQ(def.ui_flags, 0);
    }
    EXPECT_EQ(slider(PARAM_CHARACTER_SIZE).precision, 0);
    EXPECT_EQ(slider(PARAM_X_THRESHOLD).precision, 2);
    EXPECT_EQ(slider(PARAM_TRACKING).precision, 2);
    EXPECT_EQ(slider(PARAM_PAIR3_SIZE).precision, 0);
    EXPECT_EQ(slider(PARAM_BUFFER_EXPANSION).precision, 0);
    EXPECT_EQ(slider(PARAM_RIGHT).precision, 2);
}

TEST_F(ParamsSetupTest, TypedRangesReachBeyondTheSliders) {
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    auto ranges = [&](int index) {
        const PF_FloatSliderDef& s = slider(index);
        return std::vector<float>{s.valid_min, s.valid_max, s.slider_min, s.slider_max};
    };
    EXPECT_EQ(ranges(PARAM_CHARACTER_SIZE), (std::vector<float>{1, 1000, 1, 100}));
    EXPECT_EQ(ranges(PARAM_Y_THRESHOLD), (std::vector<float>{0, 1000, 0, 50}));
    EXPECT_EQ(ranges(PARAM_TRACKING), (std::vector<float>{-1000, 1000, -250, 250}));
    EXPECT_EQ(ranges(PARAM_PAIR5_INDEX), (std::vector<float>{0, 100, 0, 25}));
    EXPECT_EQ(ranges(PARAM_PAIR5_SIZE), (std::vector<float>{1, 1000, 1, 500}));
    EXPECT_EQ(ranges(PARAM_BUFFER_EXPANSION), (std::vector<float>{0, 500, 0, 50}));
    EXPECT_EQ(ranges(PARAM_TOP), (std::vector<float>{-1000, 1000, 0, 50}));
}

TEST_F(ParamsSetupTest, DiskIdsAreStableKeys) {
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    for (int i = 1; i <= PARAM_CUSTOM_SIZE_END; ++i) {
        EXPECT_EQ(host.params().definition(i).uu.id, i);
    }
    EXPECT_EQ(host.params().indexOfDiskId(36), PARAM_BUFFER_EXPANSION);
    EXPECT_EQ(host.params().indexOfDiskId(32), PARAM_LEFT);
    EXPECT_EQ(host.params().indexOfDiskId(33), PARAM_TOP);
    EXPECT_EQ(host.params().indexOfDiskId(34), PARAM_RIGHT);
    EXPECT_EQ(host.params().indexOfDiskId(35), PARAM_BOTTOM);
    EXPECT_EQ(host.params().indexOfDiskId(37), -1);
}

TEST_F(ParamsSetupTest, GroupsNestAndOnlyTheFlaggedOnesStartCollapsed) {
    ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    ASSERT_TRUE(host.groupFlagsHonoured());
    const minihost::Panel& panel = host.panel();
    EXPECT_FALSE(panel.collapsed(PARAM_THRESHOLDING_START));
    EXPECT_TRUE(panel.collapsed(PARAM_CUSTOM_SIZE_START));
    EXPECT_FALSE(panel.collapsed(PARAM_PAIR1_START));
    for (int pair = 2; pair <= kCustomSizePairs; ++pair) {
        EXPECT_TRUE(panel.collapsed(pairStartParam(pair))) << pair;
    }
    EXPECT_EQ(panel.parentGroup(PARAM_X_THRESHOLD), PARAM_THRESHOLDING_START);
    EXPECT_EQ(panel.parentGroup(PARAM_ENABLE_GUIDE), PARAM_THRESHOLDING_START);
    EXPECT_EQ(panel.parentGroup(PARAM_TRACKING), -1);
    EXPECT_EQ(panel.parentGroup(PARAM_PAIR4_START), PARAM_CUSTOM_SIZE_START);
    EXPECT_EQ(panel.parentGroup(PARAM_PAIR4_SIZE), PARAM_PAIR4_START);
    EXPECT_EQ(panel.parentGroup(PARAM_BUFFER_EXPANSION), -1);
    EXPECT_EQ(panel.parentGroup(PARAM_BOTTOM), -1);
}

TEST_F(ParamsSetupTest, OnlyTextModeAndGuideCannotBeKeyframed) {
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    EXPECT_THROW(host.params().setKeyframes(PARAM_TEXT_MODE, {{0, 1}, {1, 2}}), std::invalid_argument);
    EXPECT_THROW(host.params().setKeyframes(PARAM_ENABLE_GUIDE, {{0, 0}, {1, 1}}), std::invalid_argument);
    EXPECT_NO_THROW(host.params().setKeyframes(PARAM_TEXT_ALIGNMENT, {{0, 1}, {1, 3}}));
    EXPECT_NO_THROW(host.params().setKeyframes(PARAM_TRACKING, {{0, -5}, {1, 5}}));
}

TEST_F(ParamsSetupTest, RefusedTrackingLeavesTheRestUndeclared) {
    ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
    host.outData().num_params = -1;
    host.faults().failNth("add_param", PARAM_TRACKING, kRefused);
    EXPECT_EQ(host.paramsSetup(), kRefused);
    EXPECT_EQ(host.faults().callCount("add_param"), PARAM_TRACKING);  // nothing tried after the refusal
    EXPECT_EQ(host.params().count(), PARAM_TRACKING);                 // the layer and the seven before it
    EXPECT_EQ(host.outData().num_params, -1);
}

TEST_F(ParamsSetupTest, RefusedFirstDeclarationStopsAtOnce) {
    host.outData().num_params = -1;
    host.faults().failNth("add_param", 1, kRefused);
    EXPECT_EQ(host.paramsSetup(), kRefused);
    EXPECT_EQ(host.faults().callCount("add_param"), 1);
    EXPECT_EQ(host.params().count(), 1);
    EXPECT_EQ(host.outData().num_params, -1);
}

TEST_F(ParamsSetupTest, NamesAreCopiedWithTheHostsStrcpy) {
    ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
    // Every declaration but the seven group ends gets its name that way,
    // the checkbox's empty one included.
    EXPECT_EQ(host.faults().callCount("strcpy"), 36 - 7);
}

}  // namespace
