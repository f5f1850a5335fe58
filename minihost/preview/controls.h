// The effect's controls as the preview tool names them: one flag (and scene
// key) per control, named after its name in the effect controls panel.
// Ranges, defaults and popup choices are not written here: they are read
// from what the effect declared to the host, so they cannot drift.
#pragma once

#include <string>
#include <vector>

#include "minihost/params.h"
#include "params/param_index.h"

namespace minihost::preview {

enum class ControlKind { kSlider, kPopup, kCheckbox };

struct Control {
    std::string name;  // flag without its dashes, and scene key
    ParamIndex index;
    ControlKind kind;
};

// Every control a user can set, in panel order.
const std::vector<Control>& effectControls();

// The control with this name, or nullptr.
const Control* findControl(const std::string& name);

// Reads a value as a user writes it: a number for sliders; a choice word
// ("vertical", "center"; also "top" and "bottom" for the alignment) or its
// number for popups; on/off, true/false, 1/0 for checkboxes. Checks it
// against what the effect declared and throws InputError naming the control
// and the accepted range or words.
// label starts the message: the flag or the scene key the value came from.
double parseControlValue(const Control& control, const Params& params, const std::string& text,
                         const std::string& label);

// Checks a number against the declaration; throws InputError as above.
double checkControlValue(const Control& control, const Params& params, double value, const std::string& label);

// One line for --help: the panel name, the range or choices, the default.
std::string describeControl(const Control& control, const Params& params);

// The choice words of a popup, lower case, in order (value 1 first).
std::vector<std::string> choiceWords(const Params& params, ParamIndex index);

}  // namespace minihost::preview
