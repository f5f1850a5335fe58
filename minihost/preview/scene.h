// Scene files: a JSON description of a comp, a text layer, the effect's
// controls (constant or keyframed) and a frame range, rendered as a numbered
// PNG sequence. The format is described in the README's preview section.
#pragma once

#include <string>

#include "minihost/params.h"
#include "minihost/preview/job.h"

namespace minihost::preview {

// Reads and checks a scene file against the controls the effect declared.
// Throws InputError: "<file>: cannot read: ..." for a missing file,
// "<file>:<line>:<column>: ..." for malformed JSON, and "<file>: <key path>:
// ..." for a value that is missing, of the wrong kind or out of range.
Job readScene(const std::string& path, const Params& params);

// The same for scene text already in memory; name stands for the file.
Job parseScene(const std::string& text, const std::string& name, const Params& params);

}  // namespace minihost::preview
