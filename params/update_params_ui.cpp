#include <array>
#include <cstddef>
#include <cstring>

#include "host/handlers.h"
#include "host/suite_handler.h"
#include "params/hide_stream.h"
#include "params/param_table.h"

namespace {

// What the spacing control and the alignment choices read in one text mode.
struct Wording {
    const char* spacing_name;
    const char* alignment_choices;  // always three choices, in the order Left/Top, Center, Right/Bottom
};
constexpr Wording kHorizontalWording{kTrackingName, kAlignmentChoicesHorizontal};
constexpr Wording kVerticalWording{"Leading", "Top|Center|Bottom"};

// The host learns new choices from its own choice text, which the new
// wording overwrites in place. Both wordings have the length of the text
// set-up declared, so the write covers exactly that text and its terminator.
constexpr std::size_t kChoicesLength = sizeof kAlignmentChoicesHorizontal - 1;
static_assert(kChoicesLength == 17 && sizeof "Top|Center|Bottom" - 1 == kChoicesLength);

// Writes choices (kChoicesLength characters and a NUL) over the host's text,
// but only when that text is at least as long, so that the write stays
// inside the host's buffer; a shorter text is left as it is.
void writeChoices(const A_char* host_text, const char* choices) {
    if (host_text == nullptr || strnlen(host_text, kChoicesLength) < kChoicesLength) {
        return;
    }
    std::memcpy(const_cast<A_char*>(host_text), choices, kChoicesLength + 1);
}

constexpr std::array<ParamIndex, 4> kSideParams{PARAM_LEFT, PARAM_TOP, PARAM_RIGHT, PARAM_BOTTOM};

// This instance's effect reference, disposed of exactly once.
class EffectRef {
public:
    EffectRef(const AEGP_EffectSuite2* suite, AEGP_EffectRefH effect) : suite_(suite), effect_(effect) {}
    ~EffectRef() { (void)dispose(); }

    EffectRef(const EffectRef&) = delete;
    EffectRef& operator=(const EffectRef&) = delete;

    // hideStream takes the reference by address.
    AEGP_EffectRefH* address() { return &effect_; }

    // Disposes of a non-null reference and answers the host's result.
    A_Err dispose() noexcept {
        A_Err err = A_Err_NONE;
        if (effect_ != nullptr) {
            err = suite_->AEGP_DisposeEffect(effect_);
            effect_ = nullptr;
        }
        return err;
    }

private:
    const AEGP_EffectSuite2* suite_;
    AEGP_EffectRefH effect_;
};

template <std::size_t N>
void setName(A_char (&name)[N], const char* text) {
    std::size_t i = 0;
    for (; i + 1 < N && text[i] != '\0'; ++i) {
        name[i] = text[i];
    }
    name[i] = '\0';
}

bool definitionsPresent(PF_ParamDef* const params[]) {
    if (params == nullptr) {
        return false;
    }
    for (int i = 0; i < PARAM_NUM_PARAMS; ++i) {
        if (params[i] == nullptr) {
            return false;
        }
    }
    return true;
}

}  // namespace

PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ParamDef* params[], PF_LayerDef* /*output*/) {
    if (!definitionsPresent(params)) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    // Each suite is acquired where it is first used, with one exception: the
    // reference can only be given back through the effect suite, so that one
    // is held before the reference exists. A suite found missing later ends
    // the command by an exception, and the guard still disposes of the
    // reference on its way out.
    const AEGP_PFInterfaceSuite1* pf_interface = suites.PFInterfaceSuite1();
    const AEGP_EffectSuite2* effects = suites.EffectSuite2();

    AEGP_EffectRefH effect_handle = nullptr;
    PF_Err err = pf_interface->AEGP_GetNewEffectForEffect(kNoPlugin, in_data->effect_ref, &effect_handle);
    if (err != PF_Err_NONE) {
        return err;
    }
    EffectRef effect(effects, effect_handle);

    // Our own copies: the host's definitions stay as the host made them.
    std::array<PF_ParamDef, PARAM_NUM_PARAMS> copies;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        std::memset(&copies[i], 0, sizeof copies[i]);
        std::memcpy(&copies[i], params[i], sizeof copies[i]);
    }

    const Wording& wording =
        params[PARAM_TEXT_MODE]->u.pd.value == TEXT_MODE_HORIZONTAL ? kHorizontalWording : kVerticalWording;

    PF_ParamDef& spacing = copies[PARAM_TRACKING];
    spacing.param_type = PF_Param_FLOAT_SLIDER;
    spacing.flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
    setName(spacing.name, wording.spacing_name);
    err = suites.ParamUtilsSuite3()->PF_UpdateParamUI(in_data->effect_ref, PARAM_TRACKING, &spacing);

    // The copy still points at the host's choice text, which now holds the
    // new wording; this happens even when the spacing update was refused.
    PF_ParamDef& alignment = copies[PARAM_TEXT_ALIGNMENT];
    alignment.param_type = PF_Param_POPUP;
    writeChoices(alignment.u.pd.u.namesptr, wording.alignment_choices);
    if (err == PF_Err_NONE) {
        err = suites.ParamUtilsSuite3()->PF_UpdateParamUI(in_data->effect_ref, PARAM_TEXT_ALIGNMENT, &alignment);
    }

    // Nothing reads the side controls; they stay out of sight in both modes.
    for (const ParamIndex side : kSideParams) {
        if (err != PF_Err_NONE) {
            break;
        }
        err = hideStream(&suites, side, effect.address(), /*hide=*/1);
    }

    const A_Err dispose_err = effect.dispose();
    return err != PF_Err_NONE ? err : dispose_err;
}
