// Parameter values over time: sliders interpolate linearly, popups and
// checkboxes hold, and checkout_param hands out the value at the asked time.
#include <gtest/gtest.h>

#include "minihost/model/params.h"
#include "scripted_plugin.h"

namespace {

using minihost::Keyframe;

PF_ParamDef slider(double v, PF_ParamFlags flags = 0) {
    PF_ParamDef d{};
    d.param_type = PF_Param_FLOAT_SLIDER;
    d.flags = flags;
    d.u.fs_d.value = v;
    return d;
}

PF_ParamDef popup(PF_ParamValue v) {
    PF_ParamDef d{};
    d.param_type = PF_Param_POPUP;
    d.u.pd.value = v;
    d.u.pd.num_choices = 3;
    d.u.pd.u.namesptr = "a|b|c";
    return d;
}

TEST(ParamValues, DeclaredValueIsTheStartingValue) {
    minihost::Params p;
    ASSERT_EQ(p.count(), 1);  // the input layer
    EXPECT_EQ(p.definition(0).param_type, PF_Param_LAYER);
    EXPECT_EQ(p.append(slider(12.5)), "");
    EXPECT_DOUBLE_EQ(p.valueAt(1, 3.0), 12.5);
    p.setValue(1, -7.25);
    EXPECT_DOUBLE_EQ(p.definitionAt(1, 0.0).u.fs_d.value, -7.25);
}

TEST(ParamValues, SlidersInterpolateLinearly) {
    minihost::Params p;
    p.append(slider(0));
    p.setKeyframes(1, {{2.0, 30.0}, {1.0, 10.0}});  // any order
    EXPECT_DOUBLE_EQ(p.valueAt(1, 0.0), 10.0);      // before the first: the first
    EXPECT_DOUBLE_EQ(p.valueAt(1, 1.25), 15.0);
    EXPECT_DOUBLE_EQ(p.valueAt(1, 1.5), 20.0);
    EXPECT_DOUBLE_EQ(p.valueAt(1, 2.0), 30.0);
    EXPECT_DOUBLE_EQ(p.valueAt(1, 9.0), 30.0);  // after the last: the last
}

TEST(ParamValues, PopupsAndCheckboxesHold) {
    minihost::Params p;
    p.append(popup(1));
    PF_ParamDef box{};
    box.param_type = PF_Param_CHECKBOX;
    box.u.bd.u.nameptr = "On";
    p.append(box);
    p.setKeyframes(1, {{0.0, 1.0}, {1.0, 3.0}});
    p.setKeyframes(2, {{0.0, 1.0}, {0.5, 0.0}});
    EXPECT_EQ(p.definitionAt(1, 0.99).u.pd.value, 1);
    EXPECT_EQ(p.definitionAt(1, 1.0).u.pd.value, 3);
    EXPECT_EQ(p.definitionAt(2, 0.49).u.bd.value, 1);
    EXPECT_EQ(p.definitionAt(2, 0.5).u.bd.value, 0);
    EXPECT_EQ(p.checkboxLabel(2), "On");
    EXPECT_EQ(p.choices(1), "a|b|c");
}

TEST(ParamValues, RejectedRequests) {
    minihost::Params p;
    p.append(slider(1, PF_ParamFlag_CANNOT_TIME_VARY));
    PF_ParamDef group{};
    group.param_type = PF_Param_GROUP_START;
    p.append(group);
    EXPECT_THROW(p.setKeyframes(1, {{0.0, 1.0}, {1.0, 2.0}}), std::invalid_argument);
    EXPECT_NO_THROW(p.setValue(1, 3.0));
    EXPECT_THROW(p.setValue(0, 1.0), std::out_of_range);  // the input layer has no value
    EXPECT_THROW(p.setValue(3, 1.0), std::out_of_range);
    EXPECT_THROW(p.setValue(2, 1.0), std::invalid_argument);
    EXPECT_THROW(p.definition(-1), std::out_of_range);
    EXPECT_EQ(p.indexOfDiskId(12345), -1);
}

TEST(ParamValues, HostKeepsItsOwnCopyOfTexts) {
    minihost::Params p;
    char text[] = "x|y|z";
    PF_ParamDef d = popup(2);
    d.u.pd.u.namesptr = text;
    p.append(d);
    text[0] = 'Q';
    EXPECT_EQ(p.choices(1), "x|y|z");
    EXPECT_NE(p.definition(1).u.pd.u.namesptr, text);
}

TEST(ParamValues, CheckoutHandsOutTheValueAtTheAskedTime) {
    double seen[3] = {};
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        if (cmd == PF_Cmd_PARAMS_SETUP) {
            scripted::addSlider(in, 7, 0.0);
            out->num_params = 2;
            return PF_Err_NONE;
        }
        const A_long times[3] = {0, 12, 30};
        for (int i = 0; i < 3; ++i) {
            PF_ParamDef def{};
            in->inter.checkout_param(in->effect_ref, 1, times[i], 1, 24, &def);
            seen[i] = def.u.fs_d.value;
            in->inter.checkin_param(in->effect_ref, &def);
        }
        return PF_Err_NONE;
    });
    host->paramsSetup();
    ASSERT_EQ(host->params().indexOfDiskId(7), 1);
    host->params().setKeyframes(1, {{0.0, 100.0}, {1.0, 200.0}});
    host->command(PF_Cmd_RENDER);
    EXPECT_DOUBLE_EQ(seen[0], 100.0);
    EXPECT_DOUBLE_EQ(seen[1], 150.0);
    EXPECT_DOUBLE_EQ(seen[2], 200.0);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

}  // namespace
