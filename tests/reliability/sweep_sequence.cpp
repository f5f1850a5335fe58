#include "sweep_sequence.h"

#include "params/param_index.h"

namespace reliability {

using minihost::Depth;
using minihost::Host;

void stageTextLayer(Host& host) {
    host.layer().setCompSize(160, 60);
    host.layer().setPosition(10, 10);
    minihost::Glyph ring;
    // The hole comes first: it pairs with its outline in the container search.
    ring.contours = {minihost::reversed(minihost::rectangleContour(36, 8, 44, 22)),
                     minihost::rectangleContour(32, 4, 48, 26)};
    minihost::Glyph dotted;
    dotted.contours = {minihost::rectangleContour(60, 0, 64, 4), minihost::rectangleContour(60, 8, 64, 26)};
    host.layer().setGlyphs({minihost::rectangleGlyph(0, 4, 20, 26), ring, dotted});
}

void stageParams(Host& host) {
    host.params().setValue(PARAM_CHARACTER_SIZE, 30);
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
}

namespace {

Step frameStep(const std::string& label, Depth depth, A_short api_minor) {
    return Step{label,
                [depth, api_minor](Host& host) {
                    host.config().depth = depth;
                    host.config().api_minor = api_minor;
                },
                [](Host& host) { return host.renderFrame().out_data; }};
}

std::function<PF_OutData(Host&)> command(PF_Err (Host::*send)()) {
    return [send](Host& host) {
        (void)(host.*send)();
        return host.outData();
    };
}

Step uiStep(const std::string& label, A_long text_mode) {
    return Step{label, [text_mode](Host& host) { host.params().setValue(PARAM_TEXT_MODE, text_mode); },
                [](Host& host) {
                    (void)host.updateParamsUI();
                    return host.outData();
                }};
}

}  // namespace

std::vector<Step> fullSequence() {
    const auto nothing = [](Host&) {};
    return {
        {"GLOBAL_SETUP", [](Host& host) { stageTextLayer(host); }, command(&Host::globalSetup)},
        {"PARAMS_SETUP", nothing, command(&Host::paramsSetup)},
        {"ABOUT", [](Host& host) { stageParams(host); }, command(&Host::about)},
        uiStep("UPDATE_PARAMS_UI vertical", TEXT_MODE_VERTICAL),
        uiStep("UPDATE_PARAMS_UI horizontal", TEXT_MODE_HORIZONTAL),
        frameStep("frame 8 bpc", Depth::k8, 28),
        frameStep("frame 16 bpc", Depth::k16, 28),
        frameStep("frame 32 bpc", Depth::k32, 28),
        frameStep("frame 8 bpc, API 13.14", Depth::k8, 14),
    };
}

StepOutcome runStep(Host& host, const Step& step) {
    step.prepare(host);
    const std::size_t before = host.ledger().commands().size();
    StepOutcome outcome;
    outcome.out_data = step.send(host);
    const std::vector<minihost::CommandRecord> all = host.ledger().commands();
    outcome.records.assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    return outcome;
}

}  // namespace reliability
