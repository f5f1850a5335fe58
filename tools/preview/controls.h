// The effect's controls as the preview tool names them: one flag (and scene
// key) per control the panel shows, named after its name in the effect
// controls panel. Nothing here is written down in advance: the controls,
// their positions, ranges, defaults and popup choices are read from what
// the effect declared to the host at run time, so they cannot drift.
#pragma once

#include <string>
#include <vector>

#include "minihost/model/panel.h"
#include "minihost/model/params.h"

namespace minihost::preview {

enum class ControlKind { kSlider, kPopup, kCheckbox };

struct Control {
    std::string name;  // flag without its dashes, and scene key
    int index = 0;     // the parameter's place among the declarations
    ControlKind kind = ControlKind::kSlider;
    std::string panel_name;  // as the panel shows it, groups named where names repeat
};

class Controls {
public:
    // Every float slider, popup and checkbox the effect declared and the
    // panel shows after set-up, in panel order. A control's name is its
    // panel name in lower case with hyphens ("Character Size" becomes
    // character-size); a name several controls share is led by the names of
    // the groups that hold it (custom-size-1-index).
    Controls(const Params& params, const Panel& panel);

    const std::vector<Control>& all() const { return controls_; }
    const Params& params() const { return params_; }

    // The control with this name (an underscore counts as a hyphen), or
    // nullptr.
    const Control* find(const std::string& name) const;

    // True for the popup whose choices read Top|Center|Bottom in vertical
    // mode, so those words are accepted too.
    static bool takesVerticalWords(const Control& control);

private:
    const Params& params_;
    std::vector<Control> controls_;
};

// Lower case, underscores as hyphens: the form keys and flags are compared in.
std::string canonicalKey(const std::string& key);

// The candidate closest to name (edit distance, compared in canonical
// form), or "" when none is near enough to be what was meant.
std::string closestName(const std::string& name, const std::vector<std::string>& candidates);

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
std::vector<std::string> choiceWords(const Params& params, int index);

}  // namespace minihost::preview
