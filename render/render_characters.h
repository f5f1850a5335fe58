// One frame's character relocation, once the worlds and parameters are
// checked out.
#pragma once

#include "AE_Effect.h"

// Clears output, checks that the effect sits on a text layer, derives the
// frame's settings, captures the characters and draws each one (and its
// guide) into its cell. params is indexed by ParamIndex; index 0 is not read.
// Answers the first host error, 0 for a layer that is not a text layer.
// Throws A_Err_MISSING_SUITE (with the message in out_data) when "PF World
// Suite" 2 is missing, PF_Err_BAD_CALLBACK_PARAM when an AEGP suite is.
PF_Err RenderCharacters(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_EffectWorld* input,
                        PF_EffectWorld* output);
