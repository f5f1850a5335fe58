// Showing and hiding one of this effect's parameters in the host's panel.
#pragma once

#include "host/suite_handler.h"

/// The plug-in ID passed when asking for effect and stream references: an
/// effect, not an AEGP, asks.
inline constexpr AEGP_PluginID kNoPlugin = 0;

/// Sets (hide nonzero) or clears (hide zero) the hidden flag of parameter
/// index of the effect that *effect_ref names; the change is not undoable
/// and the parameter keeps its value. index counts as ParamIndex does, 0
/// being the input layer. The stream reference it obtains is disposed of
/// before it returns, also when setting the flag fails.
///
/// Answers the host's error of obtaining the stream, else that of setting
/// the flag, else that of disposing of the stream, else A_Err_NONE. Throws
/// PF_Err_BAD_CALLBACK_PARAM (as an int) when the stream suites are missing;
/// then nothing was asked of the host.
A_Err hideStream(AEGP_SuiteHandler* suites, int index, AEGP_EffectRefH* effect_ref, A_Boolean hide);
