// Every host call of a full command sequence made to fail, one at a time,
// and every suite made missing, one at a time: each command answers what the
// effect prescribes for that failure, leaves nothing behind in the host's
// ledger, and the commands after it run as if nothing had happened.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AE_EffectCB.h"
#include "fault_expectations.h"
#include "sweep_sequence.h"

namespace reliability {
namespace {

using minihost::CommandRecord;
using minihost::Host;

// A code no host function answers by itself, so that a passed-on failure
// is told apart from one the effect made up.
constexpr PF_Err kInjected = 777;
constexpr const char* kSuiteMessage = "Not able to acquire AEFX Suite.";

// One call to fail: the n-th call of function in command `command` of step
// `step`; `before` calls of it came earlier in the same step.
struct Injection {
    std::size_t step;
    std::size_t command;
    std::string function;
    int n;
    int before;
};

std::string describe(const std::vector<Step>& steps, const Injection& at) {
    return steps[at.step].label + ": call " + std::to_string(at.n) + " of " + at.function;
}

std::shared_ptr<const minihost::Plugin> plugin() {
    static const std::shared_ptr<const minihost::Plugin> loaded = minihost::Plugin::load(QA_PLUGIN_PATH);
    return loaded;
}

void expectAllSucceeded(const StepOutcome& outcome, const std::string& context) {
    for (const CommandRecord& r : outcome.records) {
        EXPECT_EQ(r.result, PF_Err_NONE) << context << ": " << minihost::commandName(r.cmd);
    }
}

void expectSuiteMessage(const PF_OutData& out, const std::string& context) {
    EXPECT_NE(out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0) << context;
    EXPECT_STREQ(out.return_msg, kSuiteMessage) << context;
}

// Runs the sequence once without faults and lists every call it makes.
std::vector<Injection> enumerateCalls(const std::vector<Step>& steps) {
    Host host(plugin());
    std::vector<Injection> calls;
    for (std::size_t s = 0; s < steps.size(); ++s) {
        const StepOutcome outcome = runStep(host, steps[s]);
        expectAllSucceeded(outcome, "fault-free run, " + steps[s].label);
        std::map<std::string, int> seen_in_step;
        for (std::size_t c = 0; c < outcome.records.size(); ++c) {
            for (const auto& [function, count] : outcome.records[c].calls) {
                if (!cannotFail(function)) {
                    for (int n = 1; n <= count; ++n) {
                        calls.push_back({s, c, function, n, seen_in_step[function]});
                    }
                }
                seen_in_step[function] += count;
            }
        }
    }
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
    return calls;
}

void runWithFault(const std::vector<Step>& steps, const Injection& at) {
    const std::string context = describe(steps, at);
    Host host(plugin());
    for (std::size_t s = 0; s < at.step; ++s) {
        (void)runStep(host, steps[s]);
    }
    host.faults().failNth(at.function, at.before + at.n, kInjected);
    const StepOutcome outcome = runStep(host, steps[at.step]);
    ASSERT_EQ(host.faults().fired(), 1) << context;
    ASSERT_GT(outcome.records.size(), at.command) << context;

    const CommandRecord& failed = outcome.records[at.command];
    const std::optional<PF_Err> expected = expectedAnswer(failed.cmd, at.function, at.n, kInjected);
    ASSERT_TRUE(expected.has_value()) << context << ": no expectation for a failing " << at.function;
    EXPECT_EQ(failed.result, *expected) << context << " in " << minihost::commandName(failed.cmd);
    if (*expected == A_Err_MISSING_SUITE) {
        expectSuiteMessage(outcome.out_data, context);
    }
    for (std::size_t c = 0; c < at.command; ++c) {
        EXPECT_EQ(outcome.records[c].result, PF_Err_NONE) << context;
    }

    // A host does not use an effect whose parameters were not declared; any
    // other failure leaves nothing that changes the commands after it.
    if (failed.cmd != PF_Cmd_PARAMS_SETUP) {
        for (std::size_t s = at.step + 1; s < steps.size(); ++s) {
            expectAllSucceeded(runStep(host, steps[s]), context + ", then " + steps[s].label);
        }
    }
    EXPECT_TRUE(host.ledger().clean()) << context << "\n" << host.ledger().report();
}

TEST(FaultSweep, EveryHostCallFailingOnceGivesItsPrescribedAnswerAndACleanLedger) {
    const std::vector<Step> steps = fullSequence();
    const std::vector<Injection> calls = enumerateCalls(steps);
    ASSERT_FALSE(::testing::Test::HasFailure());

    // Every kind of call the sequence is made of, so that a sequence that
    // stopped short would not pass for a sweep.
    std::map<std::string, int> per_function;
    for (const Injection& at : calls) {
        ++per_function[at.function];
    }
    for (const char* needed :
         {"add_param", "PF_UpdateParamUI", "AEGP_SetDynamicStreamFlag", "checkout_layer", "checkout_param",
          "checkin_param", "AEGP_GetLayerStreamValue", "AEGP_MatrixDecompose4", "PF_PathVertexInfo",
          "AEGP_DisposeTextOutlines", "PF_NewWorld", "copy", "transform_world", "PF_DisposeWorld", "AcquireSuite"}) {
        EXPECT_GT(per_function[needed], 0) << needed;
    }

    for (const Injection& at : calls) {
        runWithFault(steps, at);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
    std::printf("fault sweep: %zu injection points over %zu host functions in %zu steps\n", calls.size(),
                per_function.size(), steps.size());
}

// Every suite the host offers, refused once for the whole sequence; also by
// a host that reports the error but writes the table anyway.
struct SuiteId {
    const char* name;
    A_long version;
};
const SuiteId kOfferedSuites[] = {
    {"PF ANSI Suite", 1},
    {"PF World Suite", 2},
    {"PF Param Utils Suite", 3},
    {"PF Path Data Suite", 1},
    {"AEGP PF Interface Suite", 1},
    {"AEGP Layer Suite", 11},
    {"AEGP Layer Suite", 13},
    {"AEGP Layer Suite", 14},
    {"AEGP Stream Suite", 7},
    {"AEGP Stream Suite", 9},
    {"AEGP Dynamic Stream Suite", 2},
    {"AEGP Effect Suite", 2},
    {"AEGP Math Suite", 1},
    {"AEGP Text Layer Suite", 1},
};

TEST(FaultSweep, EverySuiteMissingGivesItsPrescribedAnswerAndACleanLedger) {
    const std::vector<Step> steps = fullSequence();
    int runs = 0;
    for (const SuiteId& suite : kOfferedSuites) {
        for (const bool leave_pointer : {false, true}) {
            const std::string context = std::string(suite.name) + " v" + std::to_string(suite.version) +
                                        (leave_pointer ? " (table written anyway)" : "");
            Host host(plugin());
            host.faults().missingSuite(suite.name, suite.version, leave_pointer);
            for (const Step& step : steps) {
                const StepOutcome outcome = runStep(host, step);
                for (const CommandRecord& r : outcome.records) {
                    const PF_Err expected =
                        expectedWithoutSuite(r.cmd, suite.name, suite.version, host.config().api_minor);
                    EXPECT_EQ(r.result, expected) << context << ", " << step.label;
                    if (expected == A_Err_MISSING_SUITE) {
                        expectSuiteMessage(outcome.out_data, context);
                    }
                }
            }
            EXPECT_TRUE(host.ledger().clean()) << context << "\n" << host.ledger().report();
            ++runs;
        }
    }
    std::printf("missing suites: %d runs of the whole sequence\n", runs);
}

}  // namespace
}  // namespace reliability
