// What the preview tool renders: one layer in one comp, the effect's control
// values, the render settings and the frames. The command line builds a job
// for one frame; a scene file builds one for a sequence.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "minihost/model/animated.h"
#include "minihost/core/host_config.h"
#include "minihost/model/layer.h"
#include "tools/preview/png_image.h"
#include "minihost/text/font_text.h"

namespace minihost::preview {

struct LayerSpec {
    text::FontTextStyle text;
    AnimatedPoint position{40.0, 75.0};
    AnimatedPoint scale{100.0, 100.0};  // percent
    int comp_width = 600;
    int comp_height = 120;
};

// A control's value: a constant, or keyframes (seconds of layer time).
struct ControlSetting {
    int index = 0;  // the parameter's place among the effect's declarations
    double constant = 0.0;
    std::vector<Keyframe> keys;  // empty: the constant holds
};

struct RenderSpec {
    Depth depth = Depth::k8;
    int downsample = 1;  // 1 full, 2 half, ... resolution
    PF_Quality quality = PF_Quality_HI;
    A_short api_minor = 28;
    A_long appl_id = kApplIdAfterEffects;
};

struct FrameRange {
    double fps = 24.0;  // may be fractional (29.97, 23.976)
    int first = 0;
    int last = 0;  // inclusive
};

enum class Picture { kEffect, kLayerOnly, kSideBySide };

struct Job {
    LayerSpec layer;
    std::vector<ControlSetting> controls;  // later settings of a control win
    RenderSpec render;
    FrameRange frames;
    Picture picture = Picture::kEffect;
    std::string output = "quillarray-preview.png";  // a sequence: '#' runs take the frame number
    bool sequence = false;                          // numbered files even for one frame
    int threads = 0;                                // 0: one per core
    int png_compression = kDefaultPngCompression;   // zlib level of the PNG files
};

// The built-in sample: "Quill & Ink" in DejaVu Sans at 40 pixels, amber
// (#e07b39), anchored at (40, 75) of a 600 x 120 comp, the effect at its
// defaults. Flags and scene files change it from there.
Job defaultJob();

// The file name of frame n: each run of '#' becomes n, zero-padded to the
// run's length; a pattern without '#' gets "_####" before its extension.
std::string frameFileName(const std::string& pattern, int frame);

// The file each frame of the job goes to, in frame order. A device or FIFO
// (/dev/null) takes every frame of a sequence as it takes a single one.
std::vector<std::string> outputFiles(const Job& job);

}  // namespace minihost::preview
