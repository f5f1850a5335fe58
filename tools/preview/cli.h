// The preview tool's command line (CLI11). Control flags, their help lines,
// ranges and choices come from what the effect declared to the host.
#pragma once

#include <string>

#include "tools/preview/controls.h"
#include "tools/preview/job.h"

namespace minihost::preview {

struct CommandLine {
    Job job;                // one frame from the flags, or the scene's frames
    std::string scene;      // scene file given with --scene, or empty
    bool help = false;      // --help was asked for: nothing to render
    bool version = false;   // --version was asked for: nothing to render
    std::string plugin;     // --plugin, or empty for the built one
    bool progress = false;  // --progress: progress lines even off a terminal
};

// The value of --plugin (or --plugin=...), read before the plug-in is loaded
// since the other flags' help depends on it; empty when not given.
std::string pluginArgument(int argc, const char* const* argv);

// Parses the flags; prints --help to stdout. A flag given twice takes its
// last value, as GNU tools do. Throws InputError with one line for an
// unknown flag (the closest one named), a missing, empty or bad value, or a
// value outside a control's range (the range is named). Reads a scene file
// when --scene is given ("-": standard input).
CommandLine parseCommandLine(int argc, const char* const* argv, const Controls& controls);

}  // namespace minihost::preview
