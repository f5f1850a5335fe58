// Runs the effect's capture code inside a smart render of the stand-in host.
//
// The host's suites answer only while a command runs, so the harness hands
// the host a small plug-in of its own: its pre-render checks the input out as
// the effect does, and its smart render finds the effect's layer and runs
// whatever the test gives it, with the render's in_data. The same exception
// boundary as the effect's entry point turns a thrown int into the answer.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "geometry/text_characters.h"
#include "minihost/core/host.h"
#include "tests/minihost/scripted_plugin.h"

namespace geometry_test {

using RenderBody = std::function<A_Err(const PF_InData*, AEGP_LayerH, A_Time)>;

inline RenderBody& renderBody() {
    static RenderBody body;
    return body;
}

inline PF_Err runBody(PF_InData* in) {
    const void* table = nullptr;
    if (in->pica_basicP->AcquireSuite(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &table) != 0) {
        return A_Err_MISSING_SUITE;
    }
    AEGP_LayerH layer = nullptr;
    PF_Err err = static_cast<const AEGP_PFInterfaceSuite1*>(table)->AEGP_GetEffectLayer(in->effect_ref, &layer);
    (void)in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
    if (err == PF_Err_NONE) {
        err = renderBody()(in, layer, A_Time{in->current_time, in->time_scale});
    }
    return err;
}

inline PF_Err harnessMain(PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void* extra) {
    try {
        switch (cmd) {
            case PF_Cmd_SMART_PRE_RENDER:
                return scripted::preRender(in, extra);
            case PF_Cmd_SMART_RENDER:
                return runBody(in);
            default:
                return PF_Err_NONE;
        }
    } catch (int err) {
        return err;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

struct Captured {
    PF_Err render_err = PF_Err_NONE;  // what the smart render answered
    A_Err err = A_Err_NONE;           // what the capture answered
    std::vector<path> paths;
};

struct Grouped {
    PF_Err render_err = PF_Err_NONE;
    A_Err err = A_Err_NONE;
    std::vector<character> characters;
};

class CaptureHarness {
public:
    CaptureHarness() : host_(minihost::Plugin::fromEntryPoints(&harnessMain)) {}
    ~CaptureHarness() { renderBody() = nullptr; }
    CaptureHarness(const CaptureHarness&) = delete;
    CaptureHarness& operator=(const CaptureHarness&) = delete;

    minihost::Host& host() { return host_; }

    /// One frame whose smart render runs captureGlyphPaths.
    Captured capture() {
        Captured c;
        renderBody() = [&c](const PF_InData* in, AEGP_LayerH layer, A_Time t) {
            c.err = captureGlyphPaths(in, layer, t, c.paths);
            return PF_Err_NONE;
        };
        c.render_err = renderOnce();
        return c;
    }

    /// One frame whose smart render runs getTextCharacters.
    Grouped characters(double x_tolerance, double y_tolerance, A_long alignment, A_long expansion) {
        Grouped g;
        renderBody() = [&](const PF_InData* in, AEGP_LayerH layer, A_Time t) {
            g.err = getTextCharacters(in, layer, t, x_tolerance, y_tolerance, g.characters, alignment, expansion);
            return PF_Err_NONE;
        };
        g.render_err = renderOnce();
        return g;
    }

private:
    PF_Err renderOnce() {
        const minihost::Frame frame = host_.renderFrame();
        if (frame.pre_render_err != PF_Err_NONE) {
            return frame.pre_render_err;
        }
        return frame.render_err;
    }

    minihost::Host host_;
};

}  // namespace geometry_test
