// Scene files: a JSON description of a comp, a text layer, the effect's
// controls (constant or keyframed) and a frame range, rendered as a numbered
// PNG sequence. The format is described in the README's preview section.
#pragma once

#include <string>

#include <cstddef>

#include "tools/preview/controls.h"
#include "tools/preview/job.h"

namespace minihost::preview {

// The most a scene file may hold: far more than any scene needs, little
// enough that /dev/zero or a wrong file is refused before it fills memory.
inline constexpr std::size_t kMaxSceneBytes = std::size_t(4) << 20;

// How messages name a scene read from standard input.
inline constexpr char kStandardInputName[] = "standard input";

// Reads and checks a scene file against the controls the effect declared;
// path "-" reads standard input. Throws InputError: "<file>: cannot read
// the scene file: ..." for a missing file, a folder, anything but a regular
// file, or more than kMaxSceneBytes; "<file>:<line>:<column>: ..." for
// malformed JSON; and "<file>: <key path> ..." for a key it does not know
// (with the closest one it does) or a value that is missing, of the wrong
// kind or out of range.
Job readScene(const std::string& path, const Controls& controls);

// The same for scene text already in memory; name stands for the file.
Job parseScene(const std::string& text, const std::string& name, const Controls& controls);

}  // namespace minihost::preview
