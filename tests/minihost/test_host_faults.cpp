// Fault injection hits exactly the call it names, suites go missing on
// request, and call counts tell what a command did. Driven through the real
// plug-in.
#include <gtest/gtest.h>

#include <stdexcept>

#include "minihost/core/host.h"
#include "params/param_index.h"
#include "scripted_plugin.h"

namespace {

using minihost::Host;

class FaultsOnThePlugin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host.setUp(), PF_Err_NONE);
        host.layer().setGlyphs({minihost::rectangleGlyph(10, 10, 20, 40), minihost::rectangleGlyph(30, 10, 45, 40)});
        host.ledger().clear();
        host.faults().reset();
    }
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }
    Host host{QA_PLUGIN_PATH};
};

TEST_F(FaultsOnThePlugin, NthCallFailsAndNoOtherOne) {
    host.faults().failNth("checkout_param", 3, 1234);
    const minihost::Frame frame = host.renderFrame();
    EXPECT_EQ(frame.pre_render_err, PF_Err_NONE);
    EXPECT_EQ(frame.render_err, 1234);
    const minihost::CommandRecord rec = host.ledger().last();
    EXPECT_EQ(rec.callCount("checkout_param"), 3);  // the render stops at the failing checkout
    EXPECT_EQ(rec.params_checked_out, 2);
    EXPECT_EQ(rec.params_checked_in, 2);
    EXPECT_EQ(host.faults().fired(), 1);
    // The fault fired once: the next frame renders.
    EXPECT_EQ(host.renderFrame().render_err, PF_Err_NONE);
    EXPECT_EQ(host.faults().fired(), 1);
    // A misspelt name would never fire: it is refused when armed.
    EXPECT_THROW(host.faults().failNth("checkout_params", 1, 1234), std::invalid_argument);
    EXPECT_THROW(host.faults().failAlways("PF_newWorld", 1234), std::invalid_argument);
}

TEST_F(FaultsOnThePlugin, CountsStartWhenTheFaultIsArmed) {
    host.renderFrame();
    const int per_frame = host.faults().callCount("PF_NewWorld");
    ASSERT_GT(per_frame, 1);
    host.faults().failNth("PF_NewWorld", per_frame, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.renderFrame().render_err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.faults().callCount("PF_NewWorld"), 2 * per_frame);
}

TEST_F(FaultsOnThePlugin, AFailingDisposeStillGivesTheWorldBack) {
    // The plug-in can do no more than call PF_DisposeWorld: the error is
    // answered, the world is freed, and no leak is charged.
    host.faults().failNth("PF_DisposeWorld", 1, 4321);
    EXPECT_EQ(host.renderFrame().render_err, 4321);
    const minihost::CommandRecord rec = host.ledger().last();
    EXPECT_EQ(rec.worlds_created, rec.worlds_disposed);
    EXPECT_EQ(rec.callCount("PF_DisposeWorld"), 1);  // no later character is drawn
}

TEST_F(FaultsOnThePlugin, FailAlwaysKeepsFailing) {
    host.faults().failAlways("AEGP_GetLayerObjectType", A_Err_GENERIC);
    EXPECT_EQ(host.renderFrame().render_err, A_Err_GENERIC);
    EXPECT_EQ(host.renderFrame().render_err, A_Err_GENERIC);
    EXPECT_EQ(host.faults().fired(), 2);
}

TEST_F(FaultsOnThePlugin, MissingSuiteEndsTheCommand) {
    host.faults().missingSuite(kPFANSISuite, 1);
    EXPECT_EQ(host.about(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().last().acquired(kPFANSISuite, 1), 0);
    EXPECT_EQ(host.faults().callCount("AcquireSuite"), 1);
}

TEST_F(FaultsOnThePlugin, ResetDisarmsAndZeroesCounts) {
    host.faults().failAlways("AcquireSuite", 77);
    host.faults().missingSuite(kPFANSISuite, 1);
    host.faults().reset();
    EXPECT_TRUE(host.faults().callCounts().empty());
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(host.faults().callCount("AcquireSuite"), 1);
    EXPECT_EQ(host.faults().callCount("sprintf"), 1);
}

TEST(FaultsRejected, NthCountsFromOne) {
    minihost::Faults faults;
    EXPECT_THROW(faults.failNth("fill", 0, 1), std::invalid_argument);
}

TEST(FaultsScripted, MissingSuiteMayStillHandBackAPointer) {
    SPErr err = 0;
    const void* table = nullptr;
    auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void*) -> PF_Err {
        err = in->pica_basicP->AcquireSuite(kAEGPMathSuite, 1, &table);
        return PF_Err_NONE;
    });
    host->faults().missingSuite(kAEGPMathSuite, 1, /*leave_pointer=*/true);
    host->about();
    EXPECT_NE(err, 0);
    EXPECT_NE(table, nullptr);
    // Nothing was acquired, so nothing is owed.
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(FaultsScripted, EveryCallbackCanFailByName) {
    const char* names[] = {"add_param", "fill", "abort"};
    for (const char* name : names) {
        PF_Err got[3] = {};
        auto host = scripted::host([&](PF_Cmd, PF_InData* in, PF_OutData* out, PF_ParamDef**, void*) -> PF_Err {
            got[0] = scripted::addSlider(in, 1, 0.0);
            got[2] = in->inter.abort(in->effect_ref);
            out->num_params = got[0] == PF_Err_NONE ? 2 : 1;
            return PF_Err_NONE;
        });
        host->faults().failNth(name, 1, 99);
        host->paramsSetup();
        EXPECT_EQ(got[0] == 99, std::string(name) == "add_param") << name;
        EXPECT_EQ(got[2] == 99, std::string(name) == "abort") << name;
        EXPECT_EQ(host->faults().fired(), std::string(name) == "fill" ? 0 : 1) << name;
    }
}

}  // namespace
