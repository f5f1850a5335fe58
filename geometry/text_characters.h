// Capture of a text layer's glyph outlines and their grouping into
// characters.
//
// Capture and grouping are separate so that grouping, plain arithmetic on
// records, is tested without a host.
#pragma once

#include <vector>

#include "AE_GeneralPlug.h"
#include "geometry/character.h"
#include "geometry/path.h"

// Reads the layer's outlines at layer_time into one path per outline, in the
// host's order, scaled by the render's downsample factors, and appends them
// to paths. Answers the first host error (0 for none); reading stops there,
// and paths then holds the outlines read completely before it. The outline
// set is disposed of however the call ends. A zero downsample denominator
// reads nothing and answers PF_Err_BAD_CALLBACK_PARAM. A missing suite (or a
// null in_data) throws the int PF_Err_BAD_CALLBACK_PARAM.
//
// Coordinates are taken as the host gives them: a non-finite or huge value
// gives a box that is not finite or not small, never undefined behaviour;
// users of the boxes must check before converting them to integers.
A_Err captureGlyphPaths(const PF_InData* in_data, AEGP_LayerH layer, A_Time layer_time, std::vector<path>& paths);

// Places the paths into characters, merges list neighbours that lie within
// the tolerances, grows every box by expansion and numbers the slots for the
// alignment. Empties the paths it places; appends to characters.
void groupCharacters(std::vector<path>& paths, double x_tolerance, double y_tolerance, A_long alignment,
                     A_long expansion, std::vector<character>& characters);

// captureGlyphPaths, then groupCharacters (which runs even when the capture
// failed). Answers the capture's error.
A_Err getTextCharacters(const PF_InData* in_data, AEGP_LayerH layer, A_Time layer_time, double x_tolerance,
                        double y_tolerance, std::vector<character>& characters, A_long alignment, A_long expansion);
