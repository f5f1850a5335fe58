#include "minihost/preview/controls.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "minihost/preview/preview_error.h"

namespace minihost::preview {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::vector<Control> makeControls() {
    std::vector<Control> c = {
        {"text-mode", PARAM_TEXT_MODE, ControlKind::kPopup},
        {"character-size", PARAM_CHARACTER_SIZE, ControlKind::kSlider},
        {"x-threshold", PARAM_X_THRESHOLD, ControlKind::kSlider},
        {"y-threshold", PARAM_Y_THRESHOLD, ControlKind::kSlider},
        {"guide", PARAM_ENABLE_GUIDE, ControlKind::kCheckbox},
        {"tracking", PARAM_TRACKING, ControlKind::kSlider},
        {"alignment", PARAM_TEXT_ALIGNMENT, ControlKind::kPopup},
    };
    for (int p = 1; p <= kCustomSizePairs; ++p) {
        const std::string pair = "custom-size-" + std::to_string(p);
        c.push_back({pair + "-index", pairIndexParam(p), ControlKind::kSlider});
        c.push_back({pair + "-size", pairSizeParam(p), ControlKind::kSlider});
    }
    c.push_back({"buffer-expansion", PARAM_BUFFER_EXPANSION, ControlKind::kSlider});
    return c;
}

// In Vertical mode the alignment reads Top, Center, Bottom; the words are
// accepted in either mode.
int verticalAlignmentWord(const std::string& word) {
    if (word == "top") {
        return ALIGN_LEFT;
    }
    if (word == "bottom") {
        return ALIGN_RIGHT;
    }
    return 0;
}

std::string panelName(const Control& control, const Params& params) {
    const PF_ParamDef& def = params.definition(static_cast<int>(control.index));
    if (control.kind == ControlKind::kCheckbox) {
        return params.checkboxLabel(static_cast<int>(control.index));
    }
    // Every pair's controls share their names; the group tells them apart.
    for (int p = 1; p <= kCustomSizePairs; ++p) {
        if (control.index == pairIndexParam(p) || control.index == pairSizeParam(p)) {
            return "Custom Size " + std::string(params.definition(static_cast<int>(pairStartParam(p))).name) + " > " + def.name;
        }
    }
    return def.name;
}

bool parseDouble(const std::string& text, double& out) {
    if (text.empty()) {
        return false;
    }
    std::size_t used = 0;
    try {
        out = std::stod(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size() && std::isfinite(out);
}

// The choices as the panel's popup text has them: "Left|Center|Right".
std::string joinChoices(const std::vector<std::string>& words) {
    std::string list;
    for (const std::string& w : words) {
        if (!list.empty()) {
            list += '|';
        }
        list += w;
    }
    return list;
}

}  // namespace

const std::vector<Control>& effectControls() {
    static const std::vector<Control> controls = makeControls();
    return controls;
}

const Control* findControl(const std::string& name) {
    for (const Control& c : effectControls()) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<std::string> choiceWords(const Params& params, ParamIndex index) {
    std::vector<std::string> words;
    const std::string text = params.choices(static_cast<int>(index));
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t bar = text.find('|', begin);
        const std::size_t end = bar == std::string::npos ? text.size() : bar;
        words.push_back(lower(text.substr(begin, end - begin)));
        if (bar == std::string::npos) {
            break;
        }
        begin = bar + 1;
    }
    return words;
}

double checkControlValue(const Control& control, const Params& params, double value, const std::string& label) {
    const PF_ParamDef& def = params.definition(static_cast<int>(control.index));
    const std::string& flag = label;
    switch (control.kind) {
    case ControlKind::kSlider: {
        const double lo = def.u.fs_d.valid_min;
        const double hi = def.u.fs_d.valid_max;
        if (!(value >= lo && value <= hi)) {
            throw InputError(flag + " " + number(value) + " is outside its valid range " + number(lo) + " to " +
                             number(hi));
        }
        return value;
    }
    case ControlKind::kPopup: {
        const int count = def.u.pd.num_choices;
        if (!(value >= 1 && value <= count && value == std::floor(value))) {
            throw InputError(flag + " " + number(value) + " is not a choice: 1 to " + std::to_string(count));
        }
        return value;
    }
    case ControlKind::kCheckbox:
        if (value != 0.0 && value != 1.0) {
            throw InputError(flag + " " + number(value) + " must be 0 or 1");
        }
        return value;
    }
    return value;
}

double parseControlValue(const Control& control, const Params& params, const std::string& text,
                         const std::string& label) {
    const std::string word = lower(text);
    const std::string& flag = label;
    double value = 0.0;
    switch (control.kind) {
    case ControlKind::kSlider:
        if (!parseDouble(text, value)) {
            const PF_ParamDef& def = params.definition(static_cast<int>(control.index));
            throw InputError(flag + " \"" + text + "\" is not a number (valid range " + number(def.u.fs_d.valid_min) +
                             " to " + number(def.u.fs_d.valid_max) + ")");
        }
        return checkControlValue(control, params, value, label);
    case ControlKind::kPopup: {
        const std::vector<std::string> words = choiceWords(params, control.index);
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i] == word) {
                return static_cast<double>(i + 1);
            }
        }
        if (control.index == PARAM_TEXT_ALIGNMENT && verticalAlignmentWord(word) != 0) {
            return verticalAlignmentWord(word);
        }
        if (parseDouble(text, value)) {
            return checkControlValue(control, params, value, label);
        }
        std::string list = joinChoices(words);
        if (control.index == PARAM_TEXT_ALIGNMENT) {
            list += " (top|bottom in vertical mode)";
        }
        throw InputError(flag + " \"" + text + "\" is not one of " + list);
    }
    case ControlKind::kCheckbox:
        if (word == "on" || word == "true" || word == "1" || word == "yes") {
            return 1.0;
        }
        if (word == "off" || word == "false" || word == "0" || word == "no") {
            return 0.0;
        }
        throw InputError(flag + " \"" + text + "\" is not on or off");
    }
    return value;
}

std::string describeControl(const Control& control, const Params& params) {
    const PF_ParamDef& def = params.definition(static_cast<int>(control.index));
    // Appends rather than chains of +: GCC 12 warns falsely (-Wrestrict) on
    // some of those at -O3.
    std::string line = "\"";
    line += panelName(control, params);
    line += '"';
    switch (control.kind) {
    case ControlKind::kSlider:
        line += ": " + number(def.u.fs_d.valid_min) + " to " + number(def.u.fs_d.valid_max) + ", default " +
                number(def.u.fs_d.dephault);
        break;
    case ControlKind::kPopup: {
        const std::vector<std::string> words = choiceWords(params, control.index);
        std::string list = joinChoices(words);
        if (control.index == PARAM_TEXT_ALIGNMENT) {
            list += " (top|center|bottom in vertical mode)";
        }
        const int d = def.u.pd.dephault;
        line += ": " + list + ", default " +
                (d >= 1 && d <= static_cast<int>(words.size()) ? words[static_cast<std::size_t>(d - 1)] : number(d));
        break;
    }
    case ControlKind::kCheckbox:
        line += ": on or off, default " + std::string(def.u.bd.dephault ? "on" : "off");
        break;
    }
    return line;
}

}  // namespace minihost::preview
