#include "tools/preview/controls.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>

#include "minihost/text/spelling.h"
#include "tools/preview/preview_error.h"

namespace minihost::preview {
namespace {

using text::editDistance;
using text::lower;

std::string number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// "Character Size" -> "character-size": lower case, every run of other
// characters one hyphen.
std::string flagForm(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!out.empty() && out.back() != '-') {
            out += '-';
        }
    }
    while (!out.empty() && out.back() == '-') {
        out.pop_back();
    }
    return out;
}

// Shorter names than the panel's for a few controls, as the flags have
// always been typed.
std::string shortName(const std::string& name) {
    if (name == "enable-guide") {
        return "guide";
    }
    if (name == "text-alignment") {
        return "alignment";
    }
    if (name == "character-index") {
        return "index";
    }
    return name;
}

// The popup whose choices the panel rewords to Top|Center|Bottom in
// vertical mode.
constexpr char kVerticalWordsPopup[] = "Text Alignment";

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

std::string canonicalKey(const std::string& key) {
    std::string out = lower(key);
    std::replace(out.begin(), out.end(), '_', '-');
    return out;
}

std::string closestName(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string typed = canonicalKey(name);
    std::string best;
    std::size_t best_distance = 0;
    for (const std::string& c : candidates) {
        const std::size_t d = editDistance(typed, canonicalKey(c));
        if (best.empty() || d < best_distance) {
            best = c;
            best_distance = d;
        }
    }
    // Near enough to be a slip: at most a third of the longer name differs.
    const std::size_t longest = std::max(typed.size(), canonicalKey(best).size());
    return !best.empty() && best_distance * 3 <= longest ? best : std::string();
}

Controls::Controls(const Params& params, const Panel& panel) : params_(params) {
    // Group names from the outermost in, for each declaration.
    std::vector<std::string> groups;
    std::vector<std::vector<std::string>> paths(static_cast<std::size_t>(params.count()));
    std::map<std::string, int> uses;
    for (int i = 1; i < params.count(); ++i) {
        const PF_ParamDef& def = params.definition(i);
        if (def.param_type == PF_Param_GROUP_START) {
            groups.push_back(def.name);
            continue;
        }
        if (def.param_type == PF_Param_GROUP_END) {
            if (!groups.empty()) {
                groups.pop_back();
            }
            continue;
        }
        ControlKind kind;
        if (def.param_type == PF_Param_FLOAT_SLIDER) {
            kind = ControlKind::kSlider;
        } else if (def.param_type == PF_Param_POPUP) {
            kind = ControlKind::kPopup;
        } else if (def.param_type == PF_Param_CHECKBOX) {
            kind = ControlKind::kCheckbox;
        } else {
            continue;  // nothing a word on a command line sets
        }
        if (i < panel.count() && panel.hidden(i)) {
            continue;  // kept for stored projects, not offered to users
        }
        Control c;
        c.index = i;
        c.kind = kind;
        // A checkbox's visible text is its label.
        c.panel_name = kind == ControlKind::kCheckbox ? params.checkboxLabel(i) : std::string(def.name);
        c.name = shortName(flagForm(c.panel_name));
        paths[static_cast<std::size_t>(i)] = groups;
        ++uses[c.name];
        controls_.push_back(std::move(c));
    }
    for (Control& c : controls_) {
        const std::vector<std::string>& path = paths[static_cast<std::size_t>(c.index)];
        if (uses[c.name] < 2 || path.empty()) {
            continue;
        }
        std::string prefix;
        std::string shown;
        for (const std::string& g : path) {
            prefix += flagForm(g) + "-";
            shown += (shown.empty() ? "" : " ") + g;
        }
        c.name = prefix + c.name;
        c.panel_name = shown + " > " + c.panel_name;
    }
}

const Control* Controls::find(const std::string& name) const {
    const std::string key = canonicalKey(name);
    for (const Control& c : controls_) {
        if (c.name == key) {
            return &c;
        }
    }
    return nullptr;
}

bool Controls::takesVerticalWords(const Control& control) {
    return control.kind == ControlKind::kPopup && control.panel_name == kVerticalWordsPopup;
}

std::vector<std::string> choiceWords(const Params& params, int index) {
    std::vector<std::string> words;
    const std::string text = params.choices(index);
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
    const PF_ParamDef& def = params.definition(control.index);
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
                const PF_ParamDef& def = params.definition(control.index);
                throw InputError(flag + " \"" + text + "\" is not a number (valid range " +
                                 number(def.u.fs_d.valid_min) + " to " + number(def.u.fs_d.valid_max) + ")");
            }
            return checkControlValue(control, params, value, label);
        case ControlKind::kPopup: {
            const std::vector<std::string> words = choiceWords(params, control.index);
            for (std::size_t i = 0; i < words.size(); ++i) {
                if (words[i] == word) {
                    return static_cast<double>(i + 1);
                }
            }
            // Top and Bottom stand where Left and Right stand horizontally.
            const bool vertical = Controls::takesVerticalWords(control);
            if (vertical && word == "top") {
                return 1.0;
            }
            if (vertical && word == "bottom") {
                return static_cast<double>(words.size());
            }
            if (parseDouble(text, value)) {
                return checkControlValue(control, params, value, label);
            }
            std::string list = joinChoices(words);
            if (vertical) {
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
    const PF_ParamDef& def = params.definition(control.index);
    // Appends rather than chains of +: GCC 12 warns falsely (-Wrestrict) on
    // some of those at -O3.
    std::string line = "\"";
    line += control.panel_name;
    line += '"';
    switch (control.kind) {
        case ControlKind::kSlider:
            line += ": " + number(def.u.fs_d.valid_min) + " to " + number(def.u.fs_d.valid_max) + ", default " +
                    number(def.u.fs_d.dephault);
            break;
        case ControlKind::kPopup: {
            const std::vector<std::string> words = choiceWords(params, control.index);
            std::string list = joinChoices(words);
            if (Controls::takesVerticalWords(control)) {
                list += " (top|center|bottom in vertical mode)";
            }
            const int d = def.u.pd.dephault;
            line +=
                ": " + list + ", default " +
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
