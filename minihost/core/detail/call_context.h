// The state of one command while the plug-in runs it.
//
// Every command gets its own CallContext: its PF_InData, the per-call copies
// of the callback tables, the handles the plug-in obtained, and the record
// that goes into the ledger when the command ends. effect_ref is the
// context's address; while EffectMain runs, the context is also the
// thread's current one, which is how the suite functions that carry no
// effect_ref (AcquireSuite, sprintf, layer, stream and outline functions)
// find it. Nothing is shared between contexts except the Host's thread-safe
// parts, so frames render at once on several threads.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AE_EffectCB.h"
#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "minihost/core/frame.h"
#include "minihost/core/host_function.h"
#include "minihost/core/host_config.h"
#include "minihost/audit/ledger.h"
#include "minihost/model/text_source.h"

namespace minihost {
class Host;
}

namespace minihost::detail {

/// Thrown inside a host function to answer an error code.
struct HostFault {
    A_Err code;
};

struct EffectRefObject {
    int unused = 0;
};
struct StreamObject {
    PF_ParamIndex index;
};
struct OutlineObject {
    Contour vertices;
};
struct OutlineSetObject {
    std::vector<OutlineObject> outlines;
};
struct LayerObject {
    int unused = 0;
};

/// What one frame's pre-render and render share.
struct FrameState {
    struct Checkout {
        PF_ParamIndex index;
        PF_RenderRequest request;
        PF_Rect rect;  // request clipped to the layer's bounds
    };
    FrameRequest request;
    Depth depth = Depth::k8;
    PF_Rect layer_bounds{};
    std::map<A_long, Checkout> checkouts;
    PF_CheckoutResult first_checkout{};
    std::optional<World> input;
    std::optional<World> output;
};

class CallContext {
public:
    CallContext(Host& host, PF_Cmd cmd, const HostConfig& config, PF_OutData* out_data, FrameState* frame);
    ~CallContext();
    CallContext(const CallContext&) = delete;
    CallContext& operator=(const CallContext&) = delete;

    /// The context of the command running on this thread, or null.
    static CallContext* current();

    Host& host() { return host_; }
    PF_Cmd cmd() const { return cmd_; }
    const HostConfig& config() const { return config_; }
    PF_InData& inData() { return in_data_; }
    PF_OutData* outData() { return out_data_; }
    FrameState* frame() { return frame_; }
    /// The frame of a SmartFX command; rejects the call when the command was
    /// sent raw, without one.
    FrameState& requireFrame();
    PF_ProgPtr ref() { return reinterpret_cast<PF_ProgPtr>(this); }
    AEGP_LayerH layerHandle() { return reinterpret_cast<AEGP_LayerH>(&layer_object_); }

    /// Counts the call and answers an injected fault, or 0.
    A_Err onCall(HostFunction function);
    /// The host function running now (set by guarded); the checks below
    /// name it in the violations they record.
    HostFunction function() const { return function_; }
    void setFunction(HostFunction function) { function_ = function; }
    void violation(const std::string& what);
    /// A violation of the running host function: "<name>: what".
    void violationInCall(const std::string& what);
    /// Records a violation of the running function and answers err from it.
    [[noreturn]] void reject(const std::string& what, A_Err err);
    void checkRef(PF_ProgPtr effect_ref);
    void checkLayer(AEGP_LayerH layer);
    /// Only these commands may call the running function.
    void checkCommand(std::initializer_list<PF_Cmd> allowed);

    // Suites, by the host's own registration string (see SuiteName).
    void suiteAcquired(SuiteName suite);
    /// False when the suite was not held.
    bool suiteReleased(SuiteName suite);

    // References.
    AEGP_EffectRefH newEffectRef();
    bool disposeEffectRef(AEGP_EffectRefH ref);
    bool liveEffectRef(AEGP_EffectRefH ref) const;
    AEGP_StreamRefH newStream(PF_ParamIndex index);
    StreamObject* liveStream(AEGP_StreamRefH stream);
    bool disposeStream(AEGP_StreamRefH stream);
    AEGP_TextOutlinesH newOutlineSet(std::vector<Glyph> glyphs);
    OutlineSetObject* liveOutlineSet(AEGP_TextOutlinesH set);
    bool disposeOutlineSet(AEGP_TextOutlinesH set);
    /// The outline when it belongs to a live set, else null.
    OutlineObject* liveOutline(PF_PathOutlinePtr outline);

    // Worlds made with PF_NewWorld, by their pixel memory.
    void worldCreated(const PF_EffectWorld& world);
    /// False when the world is not a live one of this call.
    bool worldDisposed(const PF_EffectWorld& world);
    /// A world the host handed out in this call (input, output, PF_NewWorld).
    bool knownWorld(const PF_EffectWorld* world) const;

    // Parameters.
    void paramCheckedOut(const PF_ParamDef* def, PF_ParamIndex index);
    bool paramCheckedIn(const PF_ParamDef* def);
    /// The parameter array handed to EffectMain: copies of every definition
    /// at the current time; popups' choice text is the host's own buffer,
    /// checked for writes past its end (and, outside the commands that may
    /// update the panel, for any write) when the command ends.
    PF_ParamDef** paramArray();

    /// Audits the command (imbalances, host buffers written) and hands over
    /// its tally with the result; the context keeps none of it.
    CommandTally finish(PF_Err result);

private:
    struct ChoiceText {
        int index;
        std::string original;
    };

    Host& host_;
    PF_Cmd cmd_;
    HostConfig config_;
    PF_OutData* out_data_;
    FrameState* frame_;
    CallContext* previous_;

    PF_InData in_data_{};
    PF_UtilCallbacks utils_{};
    SPBasicSuite basic_{};
    LayerObject layer_object_;
    CommandTally record_;
    HostFunction function_ = HostFunction::AcquireSuite;

    // What the plug-in holds, in the order it was obtained. A command holds
    // a handful of each, so a search of a vector is cheaper than a map's
    // node per handle.
    struct CheckedOut {
        const PF_ParamDef* def;
        PF_ParamIndex index;
    };
    std::vector<std::unique_ptr<EffectRefObject>> effect_refs_;
    std::vector<std::unique_ptr<StreamObject>> streams_;
    std::vector<std::unique_ptr<OutlineSetObject>> outline_sets_;
    std::vector<PF_EffectWorld> worlds_;  // by their pixel memory
    std::vector<CheckedOut> checked_out_;

    std::vector<PF_ParamDef> param_copies_;
    std::vector<PF_ParamDef*> param_pointers_;
    std::vector<ChoiceText> choice_texts_;
};

/// Runs a host function's body inside the one exception boundary every
/// function the plug-in calls has: counts the call, answers an injected
/// fault, turns HostFault into its code and anything else into a violation
/// and PF_Err_INTERNAL_STRUCT_DAMAGED. Outside a command: A_Err_WRONG_THREAD.
///
/// Functions that give something back (ReleaseSuite, the Dispose calls,
/// checkin_param) are kGivesBack: an injected fault answers its error after
/// the work was done, so the plug-in, which can do no more than call them,
/// is not charged with a leak.
enum class Kind { kTakes, kGivesBack };

template <typename Body>
A_Err guarded(HostFunction function, Body&& body, Kind kind = Kind::kTakes) noexcept {
    CallContext* ctx = CallContext::current();
    if (ctx == nullptr) {
        return A_Err_WRONG_THREAD;
    }
    // The function running until this one returns (host functions do not
    // call each other, but a plug-in called back from one might).
    struct Running {
        CallContext& ctx;
        HostFunction outer;
        ~Running() { ctx.setFunction(outer); }
    } running{*ctx, ctx->function()};
    ctx->setFunction(function);
    try {
        const A_Err injected = ctx->onCall(function);
        if (injected != A_Err_NONE && kind == Kind::kTakes) {
            return injected;
        }
        const A_Err err = body(*ctx);
        return injected != A_Err_NONE ? injected : err;
    } catch (const HostFault& fault) {
        return fault.code;
    } catch (...) {
        try {
            ctx->violation(std::string(nameOf(function)) + ": the host failed inside the call");
        } catch (...) {}
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

// The function tables, one per suite and callback group (suites/, callbacks/).
const void* findSuite(const char* name, A_long version);
SPBasicSuite basicSuite();
void fillUtilCallbacks(PF_UtilCallbacks& utils);
PF_InteractCallbacks interactCallbacks();
PF_PreRenderCallbacks preRenderCallbacks();
PF_SmartRenderCallbacks smartRenderCallbacks();

}  // namespace minihost::detail
