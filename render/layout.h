// Cell layout: where every character of the run goes. A pure function of the
// settings, the characters and the worlds' origins: no host calls, so it is
// tested without pixels.
//
// Along the layout axis (x when horizontal, y otherwise) every character gets
// a cell; neighbouring cells are 2 x expansion apart, the character's box is
// centred in its cell and shifted by slot x track_step. Across the axis
// nothing moves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "AE_Effect.h"
#include "render/render_settings.h"

// The layout result for one character.
struct placement {
    A_long cell = 0;         // cell length along the layout axis
    A_long advance = 0;      // cell + 2 x expansion: the room taken in the run
    PF_LRect source_rect{};  // the character's pixels, layer coordinates
    A_long width = 0;        // of source_rect
    A_long height = 0;
    double extent = 0.0;           // box length along the layout axis
    double center_offset = 0.0;    // (cell - extent) / 2
    double fraction_x = 0.0;       // left - floor(left)
    double fraction_y = 0.0;       // top - floor(top)
    double cell_start = 0.0;       // where the cell begins along the layout axis
    PF_FloatMatrix translation{};  // source pixel (0, 0) to its output buffer pixel
    PF_LRect buffer_rect{};        // source_rect in the input buffer's pixels
};

// Buffer pixel (0, 0) of each world stands at layer coordinate (x, y).
struct world_origins {
    A_long input_x = 0;
    A_long input_y = 0;
    A_long output_x = 0;
    A_long output_y = 0;
};

// The moving part of a run: where the next cell begins, and the tracking step
// with the sign the alignment gives it.
struct run_state {
    double cursor = 0.0;
    double track_step = 0.0;
};

// Cell length for the character at 1-based run position i: the size of the
// first custom pair naming i, else cell_size.
A_long cell_for(const RenderSettings& settings, std::int64_t position);

// Orders the run by alignment (Right reverses settings.characters, so that
// position 1 is the last character of the text) and gives its starting state.
run_state prepareRun(RenderSettings& settings);

// Places the character at 0-based run index k (position k + 1) and moves the
// run on past it. Answers false when the character is skipped: thinner than 2
// pixels either way, an advance below 2, or coordinates that no 32-bit buffer
// can address; a skipped character takes no room in the run.
bool computePlacement(const RenderSettings& settings, run_state& run, std::size_t k, const world_origins& origins,
                      placement& result);
