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
// host's order, scaled by the render's downsample factors. Answers the first
// host error (0 for none); paths holds what was read before it.
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
