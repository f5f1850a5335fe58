// The effect controls panel: built from the declarations, changed only by
// PF_UpdateParamUI and AEGP_SetDynamicStreamFlag within their rules.
#include <gtest/gtest.h>

#include <cstring>

#include "scripted_plugin.h"

namespace {

// A plug-in that declares: 1 popup "A|B", 2 group "G" (collapsed flag),
// 3 slider "S" inside it, 4 group end; and in UPDATE_PARAMS_UI runs `update`.
struct PanelPlugin {
    bool declare_group_flag = true;
    std::function<PF_Err(PF_InData*, PF_ParamDef**)> update;

    std::unique_ptr<minihost::Host> host() {
        return scripted::host(
            [this](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef** params, void*) -> PF_Err {
                if (cmd == PF_Cmd_GLOBAL_SETUP) {
                    out->out_flags2 = declare_group_flag ? PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG : 0;
                } else if (cmd == PF_Cmd_PARAMS_SETUP) {
                    scripted::addPopup(in, 1, "A|B", 2, 1);
                    PF_ParamDef g{};
                    g.param_type = PF_Param_GROUP_START;
                    std::strcpy(g.name, "G");
                    g.flags = PF_ParamFlag_START_COLLAPSED;
                    in->inter.add_param(in->effect_ref, -1, &g);
                    scripted::addSlider(in, 3, 1.0);
                    PF_ParamDef e{};
                    e.param_type = PF_Param_GROUP_END;
                    in->inter.add_param(in->effect_ref, -1, &e);
                    out->num_params = 5;
                } else if (cmd == PF_Cmd_UPDATE_PARAMS_UI && update) {
                    return update(in, params);
                }
                return PF_Err_NONE;
            });
    }
};

TEST(Panel, GroupsStartCollapsedAsFlaggedOnlyWhenTheEffectSaysSo) {
    PanelPlugin plugin;
    auto host = plugin.host();
    ASSERT_EQ(host->setUp(), PF_Err_NONE);
    EXPECT_TRUE(host->panel().collapsed(2));
    EXPECT_EQ(host->panel().parentGroup(3), 2);
    EXPECT_EQ(host->panel().parentGroup(4), -1);
    EXPECT_EQ(host->panel().name(2), "G");
    EXPECT_EQ(host->panel().choices(1), "A|B");
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(Panel, WithoutTheOutFlagEveryGroupStartsCollapsed) {
    PanelPlugin plugin;
    plugin.declare_group_flag = false;
    auto host = plugin.host();
    ASSERT_EQ(host->setUp(), PF_Err_NONE);
    EXPECT_FALSE(host->groupFlagsHonoured());
    EXPECT_TRUE(host->panel().collapsed(2));
}

TEST(Panel, UpdateParamUIChangesNameAndChoicesButNotTypeOrCount) {
    PanelPlugin plugin;
    PF_Err results[5] = {};
    plugin.update = [&](PF_InData* in, PF_ParamDef** params) {
        auto* pu = scripted::acquire<PF_ParamUtilsSuite3>(in, kPFParamUtilsSuite, 3);
        // New choices go over the host's own text; a pointer elsewhere is
        // not how the host learns them.
        char* host_text = const_cast<char*>(params[1]->u.pd.u.namesptr);
        PF_ParamDef popup = *params[1];
        std::strcpy(popup.name, "Mode");
        std::strcpy(host_text, "C|D");
        results[0] = pu->PF_UpdateParamUI(in->effect_ref, 1, &popup);
        PF_ParamDef elsewhere = popup;
        elsewhere.u.pd.u.namesptr = "E|F";
        results[4] = pu->PF_UpdateParamUI(in->effect_ref, 1, &elsewhere);
        std::strcpy(host_text, "C-D");
        results[1] = pu->PF_UpdateParamUI(in->effect_ref, 1, &popup);
        std::strcpy(host_text, "C|D");
        PF_ParamDef retyped = *params[3];
        retyped.param_type = PF_Param_SLIDER;
        results[2] = pu->PF_UpdateParamUI(in->effect_ref, 3, &retyped);
        results[3] = pu->PF_UpdateParamUI(in->effect_ref, 5, params[3]);
        in->pica_basicP->ReleaseSuite(kPFParamUtilsSuite, 3);
        return PF_Err_NONE;
    };
    auto host = plugin.host();
    host->setUp();
    EXPECT_EQ(results[0], PF_Err_NONE);
    EXPECT_NE(results[1], PF_Err_NONE);
    EXPECT_NE(results[2], PF_Err_NONE);
    EXPECT_EQ(results[3], PF_Err_INVALID_INDEX);
    EXPECT_EQ(results[4], PF_Err_NONE);
    EXPECT_EQ(host->panel().name(1), "Mode");
    EXPECT_EQ(host->panel().choices(1), "C|D");
    EXPECT_EQ(host->panel().updates(1), 2);
    EXPECT_EQ(host->ledger().violations().size(), 3u) << host->ledger().report();
}

TEST(Panel, HiddenFollowsTheDynamicFlagWhichMayNotBeUndoableHere) {
    PanelPlugin plugin;
    A_Boolean set = 1, undoable = 0;
    A_Err answer = 0;
    plugin.update = [&](PF_InData* in, PF_ParamDef**) {
        auto* pfi = scripted::acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
        auto* ss = scripted::acquire<AEGP_StreamSuite2>(in, kAEGPStreamSuite, 7);
        auto* ds = scripted::acquire<AEGP_DynamicStreamSuite2>(in, kAEGPDynamicStreamSuite, 2);
        auto* es = scripted::acquire<AEGP_EffectSuite2>(in, kAEGPEffectSuite, 2);
        AEGP_EffectRefH effect = nullptr;
        AEGP_StreamRefH stream = nullptr;
        pfi->AEGP_GetNewEffectForEffect(0, in->effect_ref, &effect);
        ss->AEGP_GetNewEffectStreamByIndex(0, effect, 3, &stream);
        answer = ds->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, undoable, set);
        ss->AEGP_DisposeStream(stream);
        es->AEGP_DisposeEffect(effect);
        in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
        in->pica_basicP->ReleaseSuite(kAEGPStreamSuite, 7);
        in->pica_basicP->ReleaseSuite(kAEGPDynamicStreamSuite, 2);
        in->pica_basicP->ReleaseSuite(kAEGPEffectSuite, 2);
        return PF_Err_NONE;
    };
    auto host = plugin.host();
    host->setUp();
    EXPECT_TRUE(host->panel().hidden(3));
    EXPECT_DOUBLE_EQ(host->params().valueAt(3, 0.0), 1.0);  // hiding keeps the value
    set = 0;
    host->updateParamsUI();
    EXPECT_FALSE(host->panel().hidden(3));
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
    set = 1;
    undoable = 1;
    host->updateParamsUI();
    EXPECT_EQ(answer, A_Err_PARAMETER);
    EXPECT_FALSE(host->panel().hidden(3));
    EXPECT_EQ(host->ledger().violations().size(), 1u) << host->ledger().report();
}

}  // namespace
