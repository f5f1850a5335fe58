// The effect's controls as data: one record per parameter after the input
// layer, in index order. Set-up declares them by walking this table; the
// panel update takes its Horizontal wording from the texts below. Every disk
// ID, range, default and text lives here and nowhere else.
//
// Disk IDs are the keys under which the host stores values in projects:
// they may never change, and from "Buffer Expansion" on they are not in
// index order.
#pragma once

#include <array>
#include <cstddef>

#include "AE_Effect.h"
#include "params/param_index.h"

// Texts the panel update also uses: in Horizontal mode it shows exactly what
// set-up declared.
inline constexpr char kTrackingName[] = "Tracking";
inline constexpr char kAlignmentChoicesHorizontal[] = "Left|Center|Right";

inline constexpr char kTextModeChoices[] = "Horizontal|Vertical";
inline constexpr char kEnableGuideLabel[] = "Enable Guide";

// Shown with float sliders; the host reads it as a fraction of the range.
inline constexpr PF_FpShort kCurveTolerance = 0.05f;

struct FloatRange {
    PF_FpShort min = 0;
    PF_FpShort max = 0;
};

struct ParamSpec {
    ParamIndex index = PARAM_INPUT;
    A_long disk_id = 0;
    PF_ParamType type = PF_Param_RESERVED;
    const char* name = nullptr;  // null only for group ends, which carry no name
    PF_ParamFlags flags = 0;

    // Float sliders: what may be typed, what the slider spans, the default
    // (also the initial value) and the decimals shown.
    FloatRange valid;
    FloatRange slider;
    PF_FpShort dephault = 0;
    A_short precision = 0;

    // Popups: the '|'-separated choices, their count and the 1-based default.
    // Checkboxes: the label beside the box and the default (0 or 1) in choice.
    const char* choices = nullptr;
    A_short num_choices = 0;
    const char* label = nullptr;
    A_short choice = 0;
};

namespace param_table_detail {

constexpr A_short countChoices(const char* text) {
    A_short n = 1;
    for (; *text != '\0'; ++text) {
        if (*text == '|') {
            ++n;
        }
    }
    return n;
}

constexpr ParamSpec popup(ParamIndex index, A_long disk_id, const char* name, const char* choices, A_short dephault,
                          PF_ParamFlags flags) {
    ParamSpec s;
    s.index = index;
    s.disk_id = disk_id;
    s.type = PF_Param_POPUP;
    s.name = name;
    s.flags = flags;
    s.choices = choices;
    s.num_choices = countChoices(choices);
    s.choice = dephault;
    return s;
}

constexpr ParamSpec checkbox(ParamIndex index, A_long disk_id, const char* label, A_short dephault,
                             PF_ParamFlags flags) {
    ParamSpec s;
    s.index = index;
    s.disk_id = disk_id;
    s.type = PF_Param_CHECKBOX;
    s.name = "";  // the label carries the visible text
    s.flags = flags;
    s.label = label;
    s.choice = dephault;
    return s;
}

constexpr ParamSpec floatSlider(ParamIndex index, A_long disk_id, const char* name, FloatRange valid, FloatRange slider,
                                PF_FpShort dephault, A_short precision) {
    ParamSpec s;
    s.index = index;
    s.disk_id = disk_id;
    s.type = PF_Param_FLOAT_SLIDER;
    s.name = name;
    s.valid = valid;
    s.slider = slider;
    s.dephault = dephault;
    s.precision = precision;
    return s;
}

constexpr ParamSpec groupStart(ParamIndex index, A_long disk_id, const char* name, PF_ParamFlags flags) {
    ParamSpec s;
    s.index = index;
    s.disk_id = disk_id;
    s.type = PF_Param_GROUP_START;
    s.name = name;
    s.flags = flags;
    return s;
}

constexpr ParamSpec groupEnd(ParamIndex index, A_long disk_id) {
    ParamSpec s;
    s.index = index;
    s.disk_id = disk_id;
    s.type = PF_Param_GROUP_END;
    return s;
}

inline constexpr std::size_t kNumControls = PARAM_NUM_PARAMS - 1;  // all but the input layer

// The five "Custom Size" pairs share one description; only the group's name,
// its disk IDs and whether it starts collapsed differ. Pair 1 starts open so
// that opening "Custom Size" shows one pair ready to use.
inline constexpr const char* kPairGroupNames[kCustomSizePairs] = {"1", "2", "3", "4", "5"};
inline constexpr A_long kPair1DiskId = 11;
inline constexpr A_long kPairDiskIdStride = kParamsPerPair;

constexpr std::array<ParamSpec, kNumControls> makeParamTable() {
    constexpr PF_ParamFlags kFixed = PF_ParamFlag_CANNOT_TIME_VARY;
    constexpr PF_ParamFlags kCollapsed = PF_ParamFlag_START_COLLAPSED;

    std::array<ParamSpec, kNumControls> t{};
    std::size_t n = 0;
    t[n++] = popup(PARAM_TEXT_MODE, 1, "Text Mode", kTextModeChoices, TEXT_MODE_HORIZONTAL, kFixed);
    t[n++] = floatSlider(PARAM_CHARACTER_SIZE, 2, "Character Size", {1, 1000}, {1, 100}, 50, 0);
    t[n++] = groupStart(PARAM_THRESHOLDING_START, 3, "Thresholding", 0);
    t[n++] = floatSlider(PARAM_X_THRESHOLD, 4, "X Threshold", {0, 1000}, {0, 50}, 10, 2);
    t[n++] = floatSlider(PARAM_Y_THRESHOLD, 5, "Y Threshold", {0, 1000}, {0, 50}, 10, 2);
    t[n++] = checkbox(PARAM_ENABLE_GUIDE, 6, kEnableGuideLabel, 1, kFixed);
    t[n++] = groupEnd(PARAM_THRESHOLDING_END, 7);
    t[n++] = floatSlider(PARAM_TRACKING, 8, kTrackingName, {-1000, 1000}, {-250, 250}, 0, 2);
    t[n++] = popup(PARAM_TEXT_ALIGNMENT, 9, "Text Alignment", kAlignmentChoicesHorizontal, ALIGN_LEFT, 0);
    t[n++] = groupStart(PARAM_CUSTOM_SIZE_START, 10, "Custom Size", kCollapsed);
    for (int p = 1; p <= kCustomSizePairs; ++p) {
        const A_long id = kPair1DiskId + (p - 1) * kPairDiskIdStride;
        t[n++] = groupStart(pairStartParam(p), id, kPairGroupNames[p - 1], p == 1 ? 0 : kCollapsed);
        t[n++] = floatSlider(pairIndexParam(p), id + 1, "Character Index", {0, 100}, {0, 25}, 0, 0);
        t[n++] = floatSlider(pairSizeParam(p), id + 2, "Size", {1, 1000}, {1, 500}, 50, 0);
        t[n++] = groupEnd(pairEndParam(p), id + 3);
    }
    t[n++] = groupEnd(PARAM_CUSTOM_SIZE_END, 31);
    t[n++] = floatSlider(PARAM_BUFFER_EXPANSION, 36, "Buffer Expansion", {0, 500}, {0, 50}, 0, 0);
    // The side controls are declared so that stored projects keep their
    // values, but nothing reads them and the panel update hides them.
    t[n++] = floatSlider(PARAM_LEFT, 32, "Left", {-1000, 1000}, {0, 50}, 0, 2);
    t[n++] = floatSlider(PARAM_TOP, 33, "Top", {-1000, 1000}, {0, 50}, 0, 2);
    t[n++] = floatSlider(PARAM_RIGHT, 34, "Right", {-1000, 1000}, {0, 50}, 0, 2);
    t[n++] = floatSlider(PARAM_BOTTOM, 35, "Bottom", {-1000, 1000}, {0, 50}, 0, 2);
    return t;
}

constexpr bool inIndexOrder(const std::array<ParamSpec, kNumControls>& t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].index != static_cast<PF_ParamIndex>(i + 1)) {
            return false;
        }
    }
    return true;
}

constexpr bool namesFit(const std::array<ParamSpec, kNumControls>& t) {
    for (const ParamSpec& s : t) {
        if (s.type == PF_Param_GROUP_END) {
            continue;  // no name
        }
        std::size_t len = 0;
        for (const char* c = s.name; *c != '\0'; ++c) {
            ++len;
        }
        if (len > PF_MAX_EFFECT_PARAM_NAME_LEN) {
            return false;
        }
    }
    return true;
}

}  // namespace param_table_detail

/// The 36 controls, element i describing parameter index i + 1.
inline constexpr std::array<ParamSpec, param_table_detail::kNumControls> kParamTable =
    param_table_detail::makeParamTable();

static_assert(param_table_detail::inIndexOrder(kParamTable), "the table must follow ParamIndex");
static_assert(param_table_detail::namesFit(kParamTable), "a name must fit PF_ParamDef::name");

/// The record of one control; index runs from PARAM_TEXT_MODE to PARAM_BOTTOM.
constexpr const ParamSpec& paramSpec(ParamIndex index) { return kParamTable[static_cast<std::size_t>(index - 1)]; }
