// The preview tool's command line (CLI11). Control flags, their help lines,
// ranges and choices come from what the effect declared to the host.
#pragma once

#include <string>

#include "minihost/params.h"
#include "minihost/preview/job.h"

namespace minihost::preview {

struct CommandLine {
    Job job;             // one frame from the flags, or the scene's frames
    std::string scene;   // scene file given with --scene, or empty
    bool help = false;   // --help was asked for: nothing to render
    bool version = false;  // --version was asked for: nothing to render
    std::string plugin;  // --plugin, or empty for the built one
};

// The value of --plugin (or --plugin=...), read before the plug-in is loaded
// since the other flags' help depends on it; empty when not given.
std::string pluginArgument(int argc, const char* const* argv);

// Parses the flags; prints --help to stdout. Throws InputError with one line
// for an unknown flag, a missing or bad value, or a value outside a control's
// range (the range is named). Reads a scene file when --scene is given.
CommandLine parseCommandLine(int argc, const char* const* argv, const Params& params);

}  // namespace minihost::preview
