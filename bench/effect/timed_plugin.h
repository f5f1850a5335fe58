// The plug-ins the frame benchmarks drive: the real effect behind a wrapper
// that times its smart render, and a stand-in for "no effect" that hands the
// layer's image through unchanged, so that the host's own text rendering is
// measured alone.
#pragma once

#include <chrono>
#include <memory>

#include "minihost/core/plugin.h"

namespace bench_effect {

/// The real effect; every PF_Cmd_SMART_RENDER is timed.
std::shared_ptr<const minihost::Plugin> timedEffect();
/// Seconds spent in the effect's smart renders since the last call.
double takeSmartRenderSeconds();

/// A plug-in with no controls that copies its input to its output.
std::shared_ptr<const minihost::Plugin> passThrough();

}  // namespace bench_effect
