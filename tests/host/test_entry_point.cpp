// The effect's entry points as the host calls them: the command table, the
// global set-up, the about box, suite use, and the identity callback.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "AE_EffectCBSuites.h"
#include "host/four_char_code.h"
#include "minihost/core/host.h"

namespace {

using minihost::Host;

class EntryPoint : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(host.ledger().clean()) << host.ledger().report(); }
    Host host{QA_PLUGIN_PATH};
};

PF_OutData pattern() {
    PF_OutData out;
    std::memset(&out, 0xA5, sizeof(out));
    return out;
}

TEST_F(EntryPoint, UnhandledCommandsAnswerNothingAndTouchNothing) {
    std::vector<PF_Cmd> codes = {2, 3};
    for (PF_Cmd c = 5; c <= 13; ++c) codes.push_back(c);
    for (PF_Cmd c = 15; c <= 22; ++c) codes.push_back(c);
    for (PF_Cmd c : {25, 26, 30, 33, 34, 1000, 0x7fffffff}) codes.push_back(c);
    const PF_OutData before = pattern();
    for (PF_Cmd c : codes) {
        host.outData() = before;
        EXPECT_EQ(host.command(c), PF_Err_NONE) << "command " << c;
        EXPECT_EQ(std::memcmp(&host.outData(), &before, sizeof(PF_OutData)), 0) << "command " << c;
        EXPECT_TRUE(host.ledger().last().calls.empty()) << "command " << c;
    }
}

TEST_F(EntryPoint, GlobalSetupOverwritesVersionAndFlagsInEveryHost) {
    for (A_long appl : {minihost::kApplIdAfterEffects, minihost::kApplIdPremierePro}) {
        host.config().appl_id = appl;
        host.outData().my_version = 0xFFFFFFFFu;
        host.outData().out_flags = ~0;
        host.outData().out_flags2 = ~0;
        EXPECT_EQ(host.globalSetup(), PF_Err_NONE);
        EXPECT_EQ(host.outData().my_version, 0x00092001u);
        EXPECT_EQ(host.outData().out_flags, 0x04000000);
        EXPECT_EQ(host.outData().out_flags2, 0x08001408);
        EXPECT_TRUE(host.ledger().last().calls.empty());
    }
    EXPECT_TRUE(host.groupFlagsHonoured());
}

TEST_F(EntryPoint, AboutWritesTheTwoLinesThroughTheAnsiSuite) {
    std::memset(host.outData().return_msg, 'z', sizeof(host.outData().return_msg));
    EXPECT_EQ(host.about(), PF_Err_NONE);
    const char* expected = "Quillarray v1.2.4\nEvenly spaces text per character.\n";
    EXPECT_STREQ(host.outData().return_msg, expected);
    EXPECT_EQ(std::strlen(host.outData().return_msg), 52u);
    const minihost::CommandRecord rec = host.ledger().last();
    EXPECT_EQ(rec.callCount("sprintf"), 1);
    // The suite cache takes the one suite it uses, once, and gives it back once.
    EXPECT_EQ(rec.acquired(kPFANSISuite, 1), 1);
    EXPECT_EQ(rec.released(kPFANSISuite, 1), 1);
    EXPECT_EQ(rec.suites_acquired.size(), 1u);
    EXPECT_EQ(rec.callCount("AcquireSuite"), 1);
    EXPECT_EQ(rec.callCount("ReleaseSuite"), 1);
}

TEST_F(EntryPoint, AboutUnderPremiereProWritesNothing) {
    host.config().appl_id = minihost::kApplIdPremierePro;
    const PF_OutData before = pattern();
    host.outData() = before;
    EXPECT_EQ(host.about(), PF_Err_NONE);
    EXPECT_EQ(std::memcmp(&host.outData(), &before, sizeof(PF_OutData)), 0);
    EXPECT_TRUE(host.ledger().last().calls.empty());
}

TEST_F(EntryPoint, AboutWithoutTheAnsiSuiteAnswers516) {
    host.faults().missingSuite(kPFANSISuite, 1);
    host.outData().return_msg[0] = '\0';
    EXPECT_EQ(host.about(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(host.outData().return_msg, "");
    host.faults().reset();
    host.faults().missingSuite(kPFANSISuite, 1, /*leave_pointer=*/true);
    EXPECT_EQ(host.about(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(host.outData().return_msg, "");
}

TEST_F(EntryPoint, AboutWhoseSuiteRequestFailsAnswers516WhateverTheError) {
    host.faults().failNth("AcquireSuite", 1, 1);
    EXPECT_EQ(host.about(), PF_Err_BAD_CALLBACK_PARAM);
    // A failing release is ignored.
    host.faults().failNth("ReleaseSuite", 1, 1);
    EXPECT_EQ(host.about(), PF_Err_NONE);
}

TEST_F(EntryPoint, PluginDataPassesItsNineValuesAndTheCallbacksAnswer) {
    const minihost::PluginIdentity id = host.identity();
    EXPECT_EQ(id.callback_calls, 1);
    EXPECT_TRUE(id.opaque_pointer_kept);
    EXPECT_EQ(id.name, "Quillarray");
    EXPECT_EQ(id.match_name, "LFQA");
    EXPECT_EQ(id.category, "Lumen Foundry Lab");
    EXPECT_EQ(id.entry_point, "EffectMain");
    EXPECT_EQ(id.kind, static_cast<A_long>(fourCharCode('e', 'F', 'K', 'T')));
    EXPECT_EQ(id.api_major, 13);
    EXPECT_EQ(id.api_minor, 25);
    EXPECT_EQ(id.reserved_info, 8);
    EXPECT_EQ(id.result, PF_Err_NONE);
    for (PF_Err answer : std::vector<PF_Err>{PF_Err_OUT_OF_MEMORY, PF_Err_BAD_CALLBACK_PARAM, -1, 0x12345678}) {
        EXPECT_EQ(host.identity(answer).result, answer);
    }
}

}  // namespace
