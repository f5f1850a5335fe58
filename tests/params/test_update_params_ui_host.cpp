// Panel updates through the stand-in host: wording after the text mode, the
// side controls kept hidden, and what a refusing host gets back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minihost/core/host.h"
#include "params/hide_stream.h"
#include "params/param_index.h"
#include "tests/minihost/scripted_plugin.h"

namespace {

using minihost::Host;

constexpr PF_Err kRefused = 42;  // an error only the host's fault injection answers
constexpr int kSides[] = {PARAM_LEFT, PARAM_TOP, PARAM_RIGHT, PARAM_BOTTOM};

class UpdateParamsUITest : public ::testing::Test {
protected:
    Host host{QA_PLUGIN_PATH};

    // Declared but never updated: the panel as set-up left it.
    void SetUp() override {
        ASSERT_EQ(host.globalSetup(), PF_Err_NONE);
        ASSERT_EQ(host.paramsSetup(), PF_Err_NONE);
        host.faults().reset();
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }

    void setVertical(bool vertical) {
        host.params().setValue(PARAM_TEXT_MODE, vertical ? TEXT_MODE_VERTICAL : TEXT_MODE_HORIZONTAL);
    }
    int hiddenSides() {
        int n = 0;
        for (const int side : kSides) {
            n += host.panel().hidden(side) ? 1 : 0;
        }
        return n;
    }
    void expectHorizontalWording() {
        EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Tracking");
        EXPECT_EQ(host.panel().choices(PARAM_TEXT_ALIGNMENT), "Left|Center|Right");
    }
    // What the host's own choice text of "Text Alignment" reads, through the
    // pointer it hands out; nothing was written past its terminator.
    void expectHostChoices(const std::string& text) {
        EXPECT_EQ(host.params().choices(PARAM_TEXT_ALIGNMENT), text);
        EXPECT_EQ(std::string(host.params().definition(PARAM_TEXT_ALIGNMENT).u.pd.u.namesptr), text);
        EXPECT_TRUE(host.params().overrunChoices().empty());
    }
    void expectReferencesGivenBack() {
        const minihost::CommandRecord r = host.ledger().last();
        EXPECT_EQ(r.effect_refs_obtained, 1);
        EXPECT_EQ(r.effect_refs_disposed, 1);
        EXPECT_EQ(r.streams_obtained, r.streams_disposed);
    }
};

TEST_F(UpdateParamsUITest, VerticalModeSaysLeadingAndTopCenterBottom) {
    setVertical(true);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Leading");
    EXPECT_EQ(host.panel().choices(PARAM_TEXT_ALIGNMENT), "Top|Center|Bottom");
    expectHostChoices("Top|Center|Bottom");
    EXPECT_TRUE(host.panel().collapsed(PARAM_TRACKING));
    // Only the two relabelled controls are touched.
    for (int i = 1; i < host.panel().count(); ++i) {
        const bool relabelled = i == PARAM_TRACKING || i == PARAM_TEXT_ALIGNMENT;
        EXPECT_EQ(host.panel().updates(i), relabelled ? 1 : 0) << i;
    }
    expectReferencesGivenBack();
}

TEST_F(UpdateParamsUITest, HorizontalWordingComesBackAtTheNextUpdate) {
    setVertical(true);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    setVertical(false);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    expectHorizontalWording();
    expectHostChoices("Left|Center|Right");
    EXPECT_TRUE(host.panel().collapsed(PARAM_TRACKING));
}

TEST_F(UpdateParamsUITest, AnyModeOtherThanHorizontalReadsVertical) {
    host.params().setValue(PARAM_TEXT_MODE, 0);  // a value the panel would never offer
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Leading");
}

TEST_F(UpdateParamsUITest, SideControlsHiddenAfterEveryUpdateWithValuesKept) {
    const double values[] = {-3.25, 7.5, 999, -1000};
    for (int k = 0; k < 4; ++k) {
        host.params().setValue(kSides[k], values[k]);
    }
    for (const bool vertical : {false, true, false}) {
        SCOPED_TRACE(vertical);
        setVertical(vertical);
        ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(host.panel().hidden(kSides[k])) << kSides[k];
            EXPECT_EQ(host.panel().dynamicFlags(kSides[k]), AEGP_DynStreamFlag_HIDDEN);
            EXPECT_EQ(host.params().valueAt(kSides[k], 0), values[k]);
        }
        EXPECT_FALSE(host.panel().hidden(PARAM_BUFFER_EXPANSION));
        const minihost::CommandRecord r = host.ledger().last();
        EXPECT_EQ(r.streams_obtained, 4);
        EXPECT_EQ(r.streams_disposed, 4);
        EXPECT_EQ(r.callCount("AEGP_SetDynamicStreamFlag"), 4);
    }
}

// The panel update only ever hides; showing is hideStream's other half,
// reached here by a plug-in that calls it directly.
TEST(HideStream, ZeroShowsTheStreamAgain) {
    std::vector<bool> hidden_after;
    minihost::Host* running = nullptr;
    auto host = scripted::host([&](PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
        if (cmd == PF_Cmd_PARAMS_SETUP) {
            scripted::addSlider(in, 1, 1.0);
            scripted::addSlider(in, 2, 2.0);
            out->num_params = 3;
        } else if (cmd == PF_Cmd_UPDATE_PARAMS_UI) {
            AEGP_SuiteHandler suites(in->pica_basicP);
            AEGP_EffectRefH effect = nullptr;
            PF_Err err = suites.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(kNoPlugin, in->effect_ref, &effect);
            for (const A_Boolean hide : {A_Boolean{1}, A_Boolean{0}}) {
                if (err == PF_Err_NONE) {
                    err = hideStream(&suites, 2, &effect, hide);
                    hidden_after.push_back(running->panel().hidden(2));
                }
            }
            const A_Err dispose_err = suites.EffectSuite2()->AEGP_DisposeEffect(effect);
            return err != PF_Err_NONE ? err : dispose_err;
        }
        return PF_Err_NONE;
    });
    running = host.get();
    ASSERT_EQ(host->paramsSetup(), PF_Err_NONE);
    ASSERT_EQ(host->updateParamsUI(), PF_Err_NONE);
    EXPECT_EQ(hidden_after, (std::vector<bool>{true, false}));
    EXPECT_EQ(host->panel().dynamicFlags(2), 0);
    EXPECT_FALSE(host->panel().hidden(1));
    EXPECT_EQ(host->ledger().last().streams_obtained, 2);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST_F(UpdateParamsUITest, RenamingKeepsTheTrackingValue) {
    host.params().setValue(PARAM_TRACKING, -12.5);
    setVertical(true);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    EXPECT_EQ(host.params().valueAt(PARAM_TRACKING, 0), -12.5);
    EXPECT_EQ(host.params().definition(PARAM_TRACKING).u.fs_d.valid_min, -1000);
    EXPECT_EQ(host.params().definition(PARAM_TRACKING).name, std::string("Tracking"));  // the stored name stays
}

TEST_F(UpdateParamsUITest, NewChoicesGoIntoTheHostsOwnTextWhenItIsLongEnough) {
    host.params().setValue(PARAM_TEXT_ALIGNMENT, ALIGN_RIGHT);
    setVertical(true);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    expectHostChoices("Top|Center|Bottom");
    EXPECT_EQ(host.params().valueAt(PARAM_TEXT_ALIGNMENT, 0), ALIGN_RIGHT);

    // A host text of 16 characters would be overrun by the 18 bytes of the
    // new wording: it is left as it is, and the copy is still handed over.
    // A longer one takes the new wording and its terminator.
    struct Case {
        const char* host_text;
        const char* after;
    };
    const Case cases[] = {
        {"Lft|Center|Right", "Lft|Center|Right"}, {"L|C|R", "L|C|R"}, {"Links|Mitte|Rechts", "Top|Center|Bottom"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host_text);
        host.params().setChoices(PARAM_TEXT_ALIGNMENT, c.host_text);
        ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
        expectHostChoices(c.after);
        EXPECT_EQ(host.panel().choices(PARAM_TEXT_ALIGNMENT), c.after);
        EXPECT_EQ(host.ledger().last().callCount("PF_UpdateParamUI"), 2);
    }
}

TEST_F(UpdateParamsUITest, UserChangedParamChangesNothing) {
    setVertical(true);
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    setVertical(false);
    EXPECT_EQ(host.command(PF_Cmd_USER_CHANGED_PARAM), PF_Err_NONE);
    EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Leading");  // only the next update relabels
    const minihost::CommandRecord r = host.ledger().last();
    EXPECT_EQ(r.cmd, PF_Cmd_USER_CHANGED_PARAM);
    EXPECT_TRUE(r.calls.empty());
    EXPECT_TRUE(r.suites_acquired.empty());
}

// ---- a refusing host ----

TEST_F(UpdateParamsUITest, NoEffectReferenceMeansNothingIsDone) {
    setVertical(true);
    host.faults().failNth("AEGP_GetNewEffectForEffect", 1, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    expectHorizontalWording();
    expectHostChoices("Left|Center|Right");
    EXPECT_EQ(hiddenSides(), 0);
    const minihost::CommandRecord r = host.ledger().last();
    EXPECT_EQ(r.effect_refs_obtained, 0);
    EXPECT_EQ(r.callCount("PF_UpdateParamUI"), 0);
    EXPECT_EQ(r.callCount("AEGP_DisposeEffect"), 0);
    // Only the suites that ask for the reference and would give it back.
    EXPECT_EQ(r.suites_acquired.size(), 2u);
    EXPECT_EQ(r.acquired("AEGP Effect Suite", 2), 1);
}

TEST_F(UpdateParamsUITest, RefusedSpacingUpdateStopsTheRestButGivesTheReferenceBack) {
    setVertical(true);
    host.faults().failNth("PF_UpdateParamUI", 1, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    expectHorizontalWording();
    // The new choices are written all the same; only the hand-over is skipped.
    expectHostChoices("Top|Center|Bottom");
    EXPECT_EQ(host.faults().callCount("PF_UpdateParamUI"), 1);  // the alignment is not handed over
    EXPECT_EQ(hiddenSides(), 0);
    EXPECT_EQ(host.ledger().last().streams_obtained, 0);
    // The stream suites belong to hiding, which never started.
    EXPECT_EQ(host.ledger().last().acquired("AEGP Stream Suite", 7), 0);
    EXPECT_EQ(host.ledger().last().acquired("AEGP Dynamic Stream Suite", 2), 0);
    expectReferencesGivenBack();
}

TEST_F(UpdateParamsUITest, RefusedAlignmentUpdateHidesNothing) {
    setVertical(true);
    host.faults().failNth("PF_UpdateParamUI", 2, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Leading");
    EXPECT_EQ(host.panel().choices(PARAM_TEXT_ALIGNMENT), "Left|Center|Right");
    EXPECT_EQ(hiddenSides(), 0);
    expectReferencesGivenBack();
}

TEST_F(UpdateParamsUITest, RefusedHidingEndsTheSeries) {
    host.faults().failNth("AEGP_SetDynamicStreamFlag", 2, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    EXPECT_TRUE(host.panel().hidden(PARAM_LEFT));
    EXPECT_FALSE(host.panel().hidden(PARAM_TOP));
    EXPECT_FALSE(host.panel().hidden(PARAM_RIGHT));
    EXPECT_FALSE(host.panel().hidden(PARAM_BOTTOM));
    EXPECT_EQ(host.faults().callCount("AEGP_SetDynamicStreamFlag"), 2);
    // The stream whose flag was refused is still given back.
    EXPECT_EQ(host.ledger().last().streams_obtained, 2);
    expectReferencesGivenBack();
}

TEST_F(UpdateParamsUITest, RefusedStreamEndsTheSeries) {
    host.faults().failNth("AEGP_GetNewEffectStreamByIndex", 3, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    EXPECT_EQ(hiddenSides(), 2);
    EXPECT_FALSE(host.panel().hidden(PARAM_RIGHT));
    EXPECT_EQ(host.faults().callCount("AEGP_GetNewEffectStreamByIndex"), 3);
    EXPECT_EQ(host.ledger().last().streams_obtained, 2);
    expectReferencesGivenBack();
}

// A refused disposal still gives the reference back to the host: the effect
// made the call, which is all it can do, so the ledger stays clean.
void expectOnlyTheRefusedDisposal(Host& host) {
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
    EXPECT_EQ(host.ledger().last().streams_obtained, host.ledger().last().streams_disposed);
}

TEST_F(UpdateParamsUITest, RefusedDisposalIsReportedWhenAllElseWent) {
    host.faults().failNth("AEGP_DisposeEffect", 1, kRefused);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    EXPECT_EQ(hiddenSides(), 4);
    EXPECT_EQ(host.faults().callCount("AEGP_DisposeEffect"), 1);
    expectOnlyTheRefusedDisposal(host);
}

TEST_F(UpdateParamsUITest, RefusedDisposalNeverHidesAnEarlierError) {
    host.faults().failNth("PF_UpdateParamUI", 1, kRefused);
    host.faults().failNth("AEGP_DisposeEffect", 1, kRefused + 1);
    EXPECT_EQ(host.updateParamsUI(), kRefused);
    EXPECT_EQ(host.faults().callCount("AEGP_DisposeEffect"), 1);
    expectOnlyTheRefusedDisposal(host);
}

TEST_F(UpdateParamsUITest, MissingSuiteEndsTheCommandWithNothingLeftOver) {
    // Each suite is asked for where it is first used, but the effect suite,
    // which gives the reference back, is held before the reference exists.
    struct Case {
        const char* name;
        A_long version;
        bool after_reference;  // first used once the reference exists
        bool after_labels;     // first used once both labels were handed over
    };
    const Case cases[] = {{"AEGP PF Interface Suite", 1, false, false},
                          {"AEGP Effect Suite", 2, false, false},
                          {"PF Param Utils Suite", 3, true, false},
                          {"AEGP Stream Suite", 7, true, true},
                          {"AEGP Dynamic Stream Suite", 2, true, true}};
    setVertical(true);
    for (const bool leave_pointer : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (leave_pointer ? " (pointer left)" : ""));
            host.faults().reset();
            host.faults().missingSuite(c.name, c.version, leave_pointer);
            EXPECT_EQ(host.updateParamsUI(), PF_Err_BAD_CALLBACK_PARAM);
            const minihost::CommandRecord r = host.ledger().last();
            EXPECT_EQ(r.effect_refs_obtained, c.after_reference ? 1 : 0);
            EXPECT_EQ(r.effect_refs_disposed, r.effect_refs_obtained);
            EXPECT_EQ(r.callCount("PF_UpdateParamUI"), c.after_labels ? 2 : 0);
            if (c.after_labels) {
                EXPECT_EQ(host.panel().name(PARAM_TRACKING), "Leading");
            }
            EXPECT_EQ(r.streams_obtained, 0);
            EXPECT_EQ(hiddenSides(), 0);
            EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
        }
    }
}

TEST_F(UpdateParamsUITest, EachSuiteIsAcquiredOnce) {
    ASSERT_EQ(host.updateParamsUI(), PF_Err_NONE);
    const minihost::CommandRecord r = host.ledger().last();
    EXPECT_EQ(r.acquired("AEGP Stream Suite", 7), 1);
    EXPECT_EQ(r.acquired("AEGP Dynamic Stream Suite", 2), 1);
    EXPECT_EQ(r.acquired("PF Param Utils Suite", 3), 1);
    EXPECT_EQ(r.acquired("AEGP PF Interface Suite", 1), 1);
    EXPECT_EQ(r.acquired("AEGP Effect Suite", 2), 1);
    EXPECT_EQ(r.suites_acquired.size(), 5u);
}

}  // namespace
