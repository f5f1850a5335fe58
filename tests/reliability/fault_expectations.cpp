#include "fault_expectations.h"

#include <set>
#include <utility>

#include "AE_EffectCB.h"

namespace reliability {
namespace {

// Failures the effect passes on unchanged: the command ends with them.
const std::set<std::string> kReported = {
    // Parameter set-up.
    "add_param",
    // Panel update.
    "AEGP_GetNewEffectForEffect",
    "PF_UpdateParamUI",
    "AEGP_GetNewEffectStreamByIndex",
    "AEGP_SetDynamicStreamFlag",
    "AEGP_DisposeStream",
    "AEGP_DisposeEffect",
    // Pre-render.
    "checkout_layer",
    // Render: checkouts, the layer, its pose, the temporary worlds.
    "checkout_layer_pixels",
    "checkout_output",
    "checkout_param",
    "checkin_param",
    "PF_GetPixelFormat",
    "AEGP_GetEffectLayer",
    "AEGP_GetLayerObjectType",
    "AEGP_ConvertLayerToCompTime",
    "AEGP_GetLayerToWorldXform",
    "AEGP_MatrixDecompose4",
    "AEGP_GetLayerStreamValue",
    "PF_NewWorld",
    "PF_DisposeWorld",
};

// Failures that do not change the answer: released suites, pixel callbacks
// whose results are not checked, and the outline capture, whose error the
// render does not act on (it lays out whatever was read).
const std::set<std::string> kIgnored = {
    "ReleaseSuite",
    "fill",
    "copy",
    "transform_world",
    "AEGP_GetNewTextOutlines",
    "AEGP_GetNumTextOutlines",
    "AEGP_GetIndexedTextOutline",
    "AEGP_DisposeTextOutlines",
    "PF_PathNumSegments",
    "PF_PathVertexInfo",
};

using SuiteId = std::pair<std::string, A_long>;

// Suites each command reaches through its suite cache.
const std::set<SuiteId> kPanelSuites = {{"AEGP PF Interface Suite", 1},
                                        {"PF Param Utils Suite", 3},
                                        {"AEGP Stream Suite", 7},
                                        {"AEGP Dynamic Stream Suite", 2},
                                        {"AEGP Effect Suite", 2}};
const std::set<SuiteId> kRenderSuites = {
    {"AEGP PF Interface Suite", 1}, {"AEGP Layer Suite", 11}, {"AEGP Text Layer Suite", 1}, {"PF Path Data Suite", 1}};
const std::set<SuiteId> kPoseFromMatrix = {{"AEGP Layer Suite", 13}, {"AEGP Layer Suite", 14}, {"AEGP Math Suite", 1}};
const std::set<SuiteId> kPoseFromStreams = {{"AEGP Stream Suite", 9}};
constexpr A_short kWorldXformMinor = 15;

}  // namespace

bool cannotFail(const std::string& function) { return function == "sprintf" || function == "strcpy"; }

std::optional<PF_Err> expectedAnswer(PF_Cmd cmd, const std::string& function, int n, PF_Err injected) {
    if (function == "AcquireSuite") {
        // The render asks for the world suite before any other, on its own,
        // and tells the user; every other suite is the cache's to refuse.
        if (cmd == PF_Cmd_SMART_RENDER && n == 1) {
            return A_Err_MISSING_SUITE;
        }
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (kReported.count(function) != 0) {
        return injected;
    }
    if (kIgnored.count(function) != 0) {
        return PF_Err_NONE;
    }
    return std::nullopt;
}

PF_Err expectedWithoutSuite(PF_Cmd cmd, const std::string& name, A_long version, A_short api_minor) {
    const SuiteId id{name, version};
    switch (cmd) {
        case PF_Cmd_ABOUT:
            return id == SuiteId{"PF ANSI Suite", 1} ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
        case PF_Cmd_UPDATE_PARAMS_UI:
            return kPanelSuites.count(id) != 0 ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
        case PF_Cmd_SMART_RENDER: {
            if (id == SuiteId{"PF World Suite", 2}) {
                return A_Err_MISSING_SUITE;
            }
            const std::set<SuiteId>& pose = api_minor >= kWorldXformMinor ? kPoseFromMatrix : kPoseFromStreams;
            return kRenderSuites.count(id) != 0 || pose.count(id) != 0 ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
        }
        default:
            return PF_Err_NONE;
    }
}

}  // namespace reliability
