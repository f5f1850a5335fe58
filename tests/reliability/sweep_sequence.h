// The full command sequence a host sends to one effect instance, as steps
// that can be replayed on a fresh host: set-up, panel updates in both text
// modes, and a frame of a text layer with the guide on in every depth (and
// one through the layer streams of an older host).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "minihost/core/host.h"

namespace reliability {

struct Step {
    std::string label;
    // Changes the host's settings for this step (depth, text mode, API
    // version); run before the step's commands.
    std::function<void(minihost::Host&)> prepare;
    // Sends the step's commands (one, or a pre-render and a render) and
    // answers the output record of the last one.
    std::function<PF_OutData(minihost::Host&)> send;
};

// Results of one step's commands, in the order they were sent.
struct StepOutcome {
    std::vector<minihost::CommandRecord> records;
    // The output record of the last command (a render's message and flags).
    PF_OutData out_data{};
};

// The text layer every frame shows: whole-pixel glyphs, one with a hole
// listed before its outline, one made of a dot above a stem.
void stageTextLayer(minihost::Host& host);
// Control values of the frames (after the parameter set-up): small cells,
// guide on.
void stageParams(minihost::Host& host);

std::vector<Step> fullSequence();

// Runs one step and returns the records its commands left in the ledger.
StepOutcome runStep(minihost::Host& host, const Step& step);

}  // namespace reliability
