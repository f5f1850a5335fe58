#include "geometry/text_characters.h"

#include <vector>

A_Err getTextCharacters(const PF_InData* in_data, AEGP_LayerH layer, A_Time layer_time, double x_tolerance,
                        double y_tolerance, std::vector<character>& characters, A_long alignment, A_long expansion) {
    std::vector<path> paths;
    const A_Err err = captureGlyphPaths(in_data, layer, layer_time, paths);
    // Grouping runs on whatever the capture read, also after a host error.
    groupCharacters(paths, x_tolerance, y_tolerance, alignment, expansion, characters);
    return err;
}
