// The effect's parameter indices: the one table by which set-up, panel update
// and render address parameters. Index 0 is the input layer, supplied by the
// host; the order is fixed, since the host stores and hands back parameters by
// these positions.
#pragma once

#include "AE_Effect.h"

enum ParamIndex : PF_ParamIndex {
    PARAM_INPUT = 0,
    PARAM_TEXT_MODE,
    PARAM_CHARACTER_SIZE,
    PARAM_THRESHOLDING_START,
    PARAM_X_THRESHOLD,
    PARAM_Y_THRESHOLD,
    PARAM_ENABLE_GUIDE,
    PARAM_THRESHOLDING_END,
    PARAM_TRACKING,
    PARAM_TEXT_ALIGNMENT,
    PARAM_CUSTOM_SIZE_START,
    PARAM_PAIR1_START,
    PARAM_PAIR1_INDEX,
    PARAM_PAIR1_SIZE,
    PARAM_PAIR1_END,
    PARAM_PAIR2_START,
    PARAM_PAIR2_INDEX,
    PARAM_PAIR2_SIZE,
    PARAM_PAIR2_END,
    PARAM_PAIR3_START,
    PARAM_PAIR3_INDEX,
    PARAM_PAIR3_SIZE,
    PARAM_PAIR3_END,
    PARAM_PAIR4_START,
    PARAM_PAIR4_INDEX,
    PARAM_PAIR4_SIZE,
    PARAM_PAIR4_END,
    PARAM_PAIR5_START,
    PARAM_PAIR5_INDEX,
    PARAM_PAIR5_SIZE,
    PARAM_PAIR5_END,
    PARAM_CUSTOM_SIZE_END,
    PARAM_BUFFER_EXPANSION,
    PARAM_LEFT,
    PARAM_TOP,
    PARAM_RIGHT,
    PARAM_BOTTOM,
    PARAM_NUM_PARAMS  // the input layer and the 36 controls
};
static_assert(PARAM_BUFFER_EXPANSION == 32 && PARAM_BOTTOM == 36 && PARAM_NUM_PARAMS == 37);

inline constexpr int kCustomSizePairs = 5;
inline constexpr int kParamsPerPair = 4;  // group start, "Character Index", "Size", group end

// Pair p counts from 1 to kCustomSizePairs.
constexpr ParamIndex pairStartParam(int p) {
    return static_cast<ParamIndex>(PARAM_PAIR1_START + (p - 1) * kParamsPerPair);
}
constexpr ParamIndex pairIndexParam(int p) { return static_cast<ParamIndex>(pairStartParam(p) + 1); }
constexpr ParamIndex pairSizeParam(int p) { return static_cast<ParamIndex>(pairStartParam(p) + 2); }
constexpr ParamIndex pairEndParam(int p) { return static_cast<ParamIndex>(pairStartParam(p) + 3); }
static_assert(pairSizeParam(5) == PARAM_PAIR5_SIZE);

// "Text Mode" choices.
enum TextMode : PF_ParamValue { TEXT_MODE_HORIZONTAL = 1, TEXT_MODE_VERTICAL = 2 };
// "Text Alignment" choices; in Vertical mode they read Top, Center, Bottom.
enum TextAlignment : PF_ParamValue { ALIGN_LEFT = 1, ALIGN_CENTER = 2, ALIGN_RIGHT = 3 };
