// Reading the effect layer's position and scale from the host.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "host/suite_handler.h"
#include "render/render_setup.h"

// Effect API minor version from which position and scale come from the
// layer-to-world matrix, so that parenting and the anchor point enter.
inline constexpr A_short kWorldXformMinorVersion = 15;

// Reads position and scale at layer_time into pose. From minor version 15 on
// they are decomposed from the layer-to-world matrix at the matching
// composition time; before, they are the layer's own Position and Scale
// properties (Scale in percent, turned into a factor). Each host call is made
// only while status is 0; answers the status after them. Values not obtained
// stay as they were (0 in a fresh pose).
PF_Err readLayerPose(const PF_InData& in_data, const AEGP_SuiteHandler& suites, AEGP_LayerH layer,
                     const A_Time& layer_time, PF_Err status, layer_pose& pose);
