// The ledger: what a misbehaving plug-in leaves behind is caught, and what a
// well-behaved one does leaves it clean.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "scripted_plugin.h"

namespace {

using minihost::CommandRecord;

bool mentions(const minihost::Ledger& ledger, const std::string& text) {
    for (const std::string& v : ledger.violations()) {
        if (v.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(LedgerSuites, BalancedAcquireAndReleaseIsClean) {
    auto host = scripted::host([](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        auto* ansi = scripted::acquire<PF_ANSICallbacksSuite1>(in, kPFANSISuite, 1);
        if (ansi == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
        return static_cast<PF_Err>(in->pica_basicP->ReleaseSuite(kPFANSISuite, 1));
    });
    EXPECT_EQ(host->about(), PF_Err_NONE);
    const CommandRecord rec = host->ledger().last();
    EXPECT_EQ(rec.acquired(kPFANSISuite, 1), 1);
    EXPECT_EQ(rec.released(kPFANSISuite, 1), 1);
    EXPECT_EQ(rec.callCount("AcquireSuite"), 1);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(LedgerSuites, SuiteNeverReleasedIsCaught) {
    auto host = scripted::host([](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        (void)scripted::acquire<AEGP_LayerSuite7>(in, kAEGPLayerSuite, 13);
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_FALSE(host->ledger().clean());
    EXPECT_TRUE(mentions(host->ledger(), "AEGP Layer Suite v13 acquired 1 more time(s) than released"))
        << host->ledger().report();
}

TEST(LedgerSuites, DoubleReleaseIsCaughtAndAnswersAnError) {
    SPErr second = 0, unknown = 0;
    auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        (void)scripted::acquire<PF_WorldSuite2>(in, kPFWorldSuite, 2);
        (void)in->pica_basicP->ReleaseSuite(kPFWorldSuite, 2);
        second = in->pica_basicP->ReleaseSuite(kPFWorldSuite, 2);
        // A suite the host does not offer, named from a buffer the plug-in
        // reuses at once: the record keeps the name it was given.
        char name[] = "AEGP Comp Suite";
        unknown = in->pica_basicP->ReleaseSuite(name, 11);
        std::memset(name, 'x', sizeof name - 1);
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_NE(second, 0);
    EXPECT_NE(unknown, 0);
    EXPECT_TRUE(mentions(host->ledger(), "PF World Suite v2 released more often than acquired"))
        << host->ledger().report();
    EXPECT_TRUE(mentions(host->ledger(), "AEGP Comp Suite v11 released more often than acquired"))
        << host->ledger().report();
    const CommandRecord rec = host->ledger().last();
    EXPECT_EQ(rec.released("AEGP Comp Suite", 11), 1);
    EXPECT_EQ(rec.released(kPFWorldSuite, 2), 2);
    const std::vector<std::string> order{"PF World Suite v2", "PF World Suite v2", "AEGP Comp Suite v11"};
    EXPECT_EQ(rec.release_order, order);
}

TEST(LedgerSuites, EverySuiteOfTheContractIsOfferedAndNothingElse) {
    struct Case {
        const char* name;
        A_long version;
        bool offered;
    };
    const Case cases[] = {
        {kPFANSISuite, 1, true},
        {kPFWorldSuite, 2, true},
        {kAEGPPFInterfaceSuite, 1, true},
        {kAEGPLayerSuite, 11, true},
        {kAEGPLayerSuite, 13, true},
        {kAEGPLayerSuite, 14, true},
        {kAEGPStreamSuite, 7, true},
        {kAEGPStreamSuite, 9, true},
        {kAEGPMathSuite, 1, true},
        {kAEGPTextLayerSuite, 1, true},
        {kPFPathDataSuite, 1, true},
        {kPFParamUtilsSuite, 3, true},
        {kAEGPDynamicStreamSuite, 2, true},
        {kAEGPEffectSuite, 2, true},
        {kPFWorldSuite, 1, false},
        {kAEGPLayerSuite, 12, false},
        {kAEGPStreamSuite, 8, false},
        {"PF ANSI suite", 1, false},
        {"AEGP Comp Suite", 11, false},
        {kPFParamUtilsSuite, 4, false},
    };
    for (const Case& c : cases) {
        SPErr err = 0;
        const void* table = &err;
        auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
            err = in->pica_basicP->AcquireSuite(c.name, c.version, &table);
            if (err == 0) (void)in->pica_basicP->ReleaseSuite(c.name, c.version);
            return PF_Err_NONE;
        });
        host->about();
        EXPECT_EQ(err == 0, c.offered) << c.name << " " << c.version;
        EXPECT_EQ(table != nullptr, c.offered) << c.name << " " << c.version;
        EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
    }
}

TEST(LedgerWorlds, LeakedWorldIsCaughtAndFreed) {
    auto host = scripted::host([](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        auto* ws = scripted::acquire<PF_WorldSuite2>(in, kPFWorldSuite, 2);
        PF_EffectWorld w{};
        const PF_Err err = ws->PF_NewWorld(in->effect_ref, 4, 3, 1, PF_PixelFormat_ARGB32, &w);
        in->pica_basicP->ReleaseSuite(kPFWorldSuite, 2);
        return err;
    });
    EXPECT_EQ(host->about(), PF_Err_NONE);
    EXPECT_EQ(host->ledger().last().worlds_created, 1);
    EXPECT_TRUE(mentions(host->ledger(), "1 world(s) never disposed of")) << host->ledger().report();
}

TEST(LedgerWorlds, DisposeTwiceAndUnknownWorldsAreCaught) {
    PF_Err second = 0, foreign = 0, fill_foreign = 0, null_fill = 0;
    auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        auto* ws = scripted::acquire<PF_WorldSuite2>(in, kPFWorldSuite, 2);
        PF_EffectWorld w{};
        ws->PF_NewWorld(in->effect_ref, 2, 2, 1, PF_PixelFormat_ARGB128, &w);
        PF_EffectWorld copy = w;  // the struct is the plug-in's: copies are the same world
        EXPECT_EQ(ws->PF_DisposeWorld(in->effect_ref, &copy), PF_Err_NONE);
        second = ws->PF_DisposeWorld(in->effect_ref, &w);
        PF_Pixel8 mine[4] = {};
        PF_EffectWorld own{};
        own.data = mine;
        own.width = own.height = 2;
        own.rowbytes = 8;
        own.reserved_long1 = static_cast<A_long>(PF_PixelFormat_ARGB32);
        foreign = ws->PF_DisposeWorld(in->effect_ref, &own);
        fill_foreign = in->utils->fill(in->effect_ref, nullptr, nullptr, &own);
        null_fill = in->utils->fill(in->effect_ref, nullptr, nullptr, nullptr);
        in->pica_basicP->ReleaseSuite(kPFWorldSuite, 2);
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_NE(second, PF_Err_NONE);
    EXPECT_NE(foreign, PF_Err_NONE);
    EXPECT_NE(fill_foreign, PF_Err_NONE);
    EXPECT_NE(null_fill, PF_Err_NONE);
    EXPECT_EQ(host->ledger().last().worlds_disposed, 1);
    EXPECT_EQ(host->ledger().violations().size(), 4u) << host->ledger().report();
    EXPECT_TRUE(mentions(host->ledger(), "null destination world"));
}

TEST(LedgerReferences, EffectStreamAndOutlineReferencesMustBeDisposed) {
    int leak = 0;  // 0: nothing, 1: effect ref, 2: stream, 3: outline set
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        if (cmd == PF_Cmd_PARAMS_SETUP) {
            scripted::addSlider(in, 1, 5.0);
            out->num_params = 2;
            return PF_Err_NONE;
        }
        auto* pfi = scripted::acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
        auto* ss = scripted::acquire<AEGP_StreamSuite2>(in, kAEGPStreamSuite, 7);
        auto* es = scripted::acquire<AEGP_EffectSuite2>(in, kAEGPEffectSuite, 2);
        auto* ts = scripted::acquire<AEGP_TextLayerSuite1>(in, kAEGPTextLayerSuite, 1);
        AEGP_EffectRefH effect = nullptr;
        AEGP_StreamRefH stream = nullptr;
        AEGP_TextOutlinesH outlines = nullptr;
        AEGP_LayerH layer = nullptr;
        pfi->AEGP_GetNewEffectForEffect(0, in->effect_ref, &effect);
        ss->AEGP_GetNewEffectStreamByIndex(0, effect, 1, &stream);
        pfi->AEGP_GetEffectLayer(in->effect_ref, &layer);
        const A_Time t{0, 24};
        ts->AEGP_GetNewTextOutlines(layer, &t, &outlines);
        if (leak != 2) ss->AEGP_DisposeStream(stream);
        if (leak != 1) es->AEGP_DisposeEffect(effect);
        if (leak != 3) ts->AEGP_DisposeTextOutlines(outlines);
        in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
        in->pica_basicP->ReleaseSuite(kAEGPStreamSuite, 7);
        in->pica_basicP->ReleaseSuite(kAEGPEffectSuite, 2);
        in->pica_basicP->ReleaseSuite(kAEGPTextLayerSuite, 1);
        return PF_Err_NONE;
    });
    ASSERT_EQ(host->paramsSetup(), PF_Err_NONE);
    ASSERT_TRUE(host->ledger().clean()) << host->ledger().report();
    host->updateParamsUI();
    const CommandRecord rec = host->ledger().last();
    EXPECT_EQ(rec.effect_refs_obtained, 1);
    EXPECT_EQ(rec.effect_refs_disposed, 1);
    EXPECT_EQ(rec.streams_obtained, 1);
    EXPECT_EQ(rec.outline_sets_disposed, 1);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();

    const char* expected[] = {"", "effect reference(s) never disposed of", "stream reference(s) never disposed of",
                              "text outline set(s) never disposed of"};
    for (leak = 1; leak <= 3; ++leak) {
        host->ledger().clear();
        host->updateParamsUI();
        EXPECT_EQ(host->ledger().violations().size(), 1u) << host->ledger().report();
        EXPECT_TRUE(mentions(host->ledger(), expected[leak])) << host->ledger().report();
    }
}

TEST(LedgerReferences, HandlesDoNotOutliveTheirCall) {
    AEGP_EffectRefH kept = nullptr;
    A_Err later = 0;
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        auto* pfi = scripted::acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
        auto* es = scripted::acquire<AEGP_EffectSuite2>(in, kAEGPEffectSuite, 2);
        if (cmd == PF_Cmd_ABOUT) {
            pfi->AEGP_GetNewEffectForEffect(0, in->effect_ref, &kept);
            es->AEGP_DisposeEffect(kept);
        } else {
            later = es->AEGP_DisposeEffect(kept);
        }
        in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
        in->pica_basicP->ReleaseSuite(kAEGPEffectSuite, 2);
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
    host->command(PF_Cmd_USER_CHANGED_PARAM);
    EXPECT_NE(later, A_Err_NONE);
    EXPECT_TRUE(mentions(host->ledger(), "AEGP_DisposeEffect: effect reference not live")) << host->ledger().report();
}

TEST(LedgerReferences, OutlinesAreBorrowedOnlyWhileTheirSetLives) {
    PF_Err while_live = -1, after = 0, bad_vertex = 0, inside = 0;
    A_long segments = 0;
    auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        auto* pfi = scripted::acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
        auto* ts = scripted::acquire<AEGP_TextLayerSuite1>(in, kAEGPTextLayerSuite, 1);
        auto* pd = scripted::acquire<PF_PathDataSuite1>(in, kPFPathDataSuite, 1);
        AEGP_LayerH layer = nullptr;
        pfi->AEGP_GetEffectLayer(in->effect_ref, &layer);
        const A_Time t{0, 24};
        AEGP_TextOutlinesH set = nullptr;
        ts->AEGP_GetNewTextOutlines(layer, &t, &set);
        PF_PathOutlinePtr path = nullptr;
        ts->AEGP_GetIndexedTextOutline(set, 1, &path);
        while_live = pd->PF_PathNumSegments(in->effect_ref, path, &segments);
        PF_PathVertex v{};
        bad_vertex = pd->PF_PathVertexInfo(in->effect_ref, path, segments, &v);
        // An address inside the outline's record is no outline of the set.
        inside = pd->PF_PathNumSegments(
            in->effect_ref, reinterpret_cast<PF_PathOutlinePtr>(reinterpret_cast<char*>(path) + sizeof(void*)),
            &segments);
        ts->AEGP_DisposeTextOutlines(set);
        after = pd->PF_PathNumSegments(in->effect_ref, path, &segments);
        in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
        in->pica_basicP->ReleaseSuite(kAEGPTextLayerSuite, 1);
        in->pica_basicP->ReleaseSuite(kPFPathDataSuite, 1);
        return PF_Err_NONE;
    });
    host->layer().setGlyphs({minihost::Glyph{
        {minihost::rectangleContour(0, 0, 4, 4), minihost::circleContour(10, 10, 3)}, PF_Pixel{255, 0, 0, 0}}});
    host->about();
    EXPECT_EQ(while_live, PF_Err_NONE);
    EXPECT_NE(bad_vertex, PF_Err_NONE);
    EXPECT_NE(after, PF_Err_NONE);
    EXPECT_NE(inside, PF_Err_NONE);
    EXPECT_TRUE(mentions(host->ledger(), "PF_PathVertexInfo: vertex 4 out of range"));
    EXPECT_TRUE(mentions(host->ledger(), "PF_PathNumSegments: outline not borrowed from a live text outline set"));
    EXPECT_EQ(host->ledger().violations().size(), 3u) << host->ledger().report();
}

TEST(LedgerParams, CheckoutWithoutCheckinAndBadIndicesAreCaught) {
    PF_Err out_of_range = 0, negative = 0, checkin_twice = 0;
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        if (cmd == PF_Cmd_PARAMS_SETUP) {
            scripted::addSlider(in, 1, 5.0);
            out->num_params = 2;
            return PF_Err_NONE;
        }
        PF_ParamDef a{}, b{}, c{};
        in->inter.checkout_param(in->effect_ref, 1, 0, 1, 24, &a);
        in->inter.checkout_param(in->effect_ref, 1, 0, 1, 24, &b);
        out_of_range = in->inter.checkout_param(in->effect_ref, 2, 0, 1, 24, &c);
        negative = in->inter.checkout_param(in->effect_ref, -1, 0, 1, 24, &c);
        in->inter.checkin_param(in->effect_ref, &a);
        checkin_twice = in->inter.checkin_param(in->effect_ref, &a);
        return PF_Err_NONE;  // b is never checked in
    });
    host->paramsSetup();
    host->command(PF_Cmd_RENDER);
    EXPECT_EQ(out_of_range, PF_Err_INVALID_INDEX);
    EXPECT_EQ(negative, PF_Err_INVALID_INDEX);
    EXPECT_NE(checkin_twice, PF_Err_NONE);
    const CommandRecord rec = host->ledger().last();
    EXPECT_EQ(rec.params_checked_out, 2);
    EXPECT_EQ(rec.params_checked_in, 1);
    EXPECT_TRUE(mentions(host->ledger(), "parameter index 2 out of range"));
    EXPECT_TRUE(mentions(host->ledger(), "parameter 1 checked out but never checked in"));
    EXPECT_EQ(host->ledger().violations().size(), 4u) << host->ledger().report();
}

TEST(LedgerParams, DeclarationRulesAreChecked) {
    bool declare_all = true;
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        if (cmd != PF_Cmd_PARAMS_SETUP) {
            // Declaring outside the set-up is refused.
            return scripted::addSlider(in, 9, 1.0);
        }
        scripted::addPopup(in, 1, "A|B|C", 2, 1);  // two choices declared, three written
        PF_ParamDef group{};
        group.param_type = PF_Param_GROUP_START;
        in->inter.add_param(in->effect_ref, -1, &group);
        if (declare_all) {
            group.param_type = PF_Param_GROUP_END;
            in->inter.add_param(in->effect_ref, -1, &group);
        }
        out->num_params = 4;
        return PF_Err_NONE;
    });
    host->paramsSetup();
    EXPECT_TRUE(mentions(host->ledger(), "popup declares 2 choices but its text \"A|B|C\" has 3"))
        << host->ledger().report();
    EXPECT_EQ(host->ledger().violations().size(), 1u) << host->ledger().report();

    host->ledger().clear();
    declare_all = false;
    host->paramsSetup();
    EXPECT_TRUE(mentions(host->ledger(), "num_params is 4 but 3 parameters were declared"));
    EXPECT_TRUE(mentions(host->ledger(), "group started at index 2 is never closed"));

    host->ledger().clear();
    EXPECT_NE(host->command(PF_Cmd_USER_CHANGED_PARAM), PF_Err_NONE);
    EXPECT_TRUE(mentions(host->ledger(), "add_param: not allowed during PF_Cmd_USER_CHANGED_PARAM"));
}

TEST(LedgerParams, WritesIntoTheHostsChoiceTextAreHeldToItsLengthAndToPanelUpdates) {
    const char* text = nullptr;  // what the plug-in writes over the choices
    PF_Cmd write_in = PF_Cmd_UPDATE_PARAMS_UI;
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef** params, void*) -> PF_Err {
        if (cmd == PF_Cmd_PARAMS_SETUP) {
            scripted::addPopup(in, 1, "Left|Center|Right", 3, 1);
            out->num_params = 2;
        } else if (cmd == write_in && text != nullptr) {
            std::strcpy(const_cast<char*>(params[1]->u.pd.u.namesptr), text);
        }
        return PF_Err_NONE;
    });
    host->paramsSetup();
    // Exactly the text's length and its NUL: the host's own text now reads
    // it, and the panel shows it once PF_UpdateParamUI is called.
    text = "Top|Center|Bottom";
    host->updateParamsUI();
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
    EXPECT_EQ(host->params().choices(1), "Top|Center|Bottom");
    EXPECT_EQ(host->panel().choices(1), "Left|Center|Right");

    text = "Top|Center|Bottoms";  // one byte more
    host->updateParamsUI();
    EXPECT_TRUE(mentions(host->ledger(), "wrote past the end of the host's choice text of parameter 1"))
        << host->ledger().report();

    host->paramsSetup();
    host->ledger().clear();
    text = "Top|Center|Bottom";
    write_in = PF_Cmd_SEQUENCE_SETUP;
    host->command(PF_Cmd_SEQUENCE_SETUP);
    EXPECT_TRUE(mentions(host->ledger(), "wrote into the host's choice text of parameter 1 during"))
        << host->ledger().report();
}

TEST(LedgerCalls, ForeignEffectRefAndCallsFromOtherThreadsAreRefused) {
    PF_Err wrong_ref = 0;
    SPErr other_thread = 0;
    auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        PF_ParamDef def{};
        wrong_ref = in->inter.checkout_param(reinterpret_cast<PF_ProgPtr>(&def), 0, 0, 1, 24, &def);
        std::thread t([&] {
            const void* p = nullptr;
            other_thread = in->pica_basicP->AcquireSuite(kPFANSISuite, 1, &p);
        });
        t.join();
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_EQ(wrong_ref, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(other_thread, A_Err_WRONG_THREAD);
    EXPECT_TRUE(mentions(host->ledger(), "effect_ref is not the one this call handed out"));
    EXPECT_EQ(host->ledger().violations().size(), 1u) << host->ledger().report();
}

TEST(LedgerCalls, MessagesLongerThanReturnMsgAreCutAndCaught) {
    auto host = scripted::host([](PF_Cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        const std::string text(300, 'x');
        in->utils->ansi.sprintf(out->return_msg, "%s", text.c_str());
        return PF_Err_NONE;
    });
    host->about();
    EXPECT_EQ(std::strlen(host->outData().return_msg), 255u);
    EXPECT_TRUE(mentions(host->ledger(), "sprintf: 300 characters into a 256-byte host buffer"));
}

}  // namespace
