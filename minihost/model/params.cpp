#include "minihost/model/params.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace minihost {

bool hasValue(PF_ParamType type) {
    return type == PF_Param_FLOAT_SLIDER || type == PF_Param_SLIDER || type == PF_Param_POPUP ||
           type == PF_Param_CHECKBOX;
}

namespace {

void writeValue(PF_ParamDef& def, double v) {
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            def.u.fs_d.value = v;
            break;
        case PF_Param_SLIDER:
            def.u.sd.value = static_cast<PF_ParamValue>(std::lround(v));
            break;
        case PF_Param_POPUP:
            def.u.pd.value = static_cast<PF_ParamValue>(std::lround(v));
            break;
        case PF_Param_CHECKBOX:
            def.u.bd.value = static_cast<PF_ParamValue>(std::lround(v));
            break;
        default:
            break;
    }
}

double readValue(const PF_ParamDef& def) {
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            return def.u.fs_d.value;
        case PF_Param_SLIDER:
            return def.u.sd.value;
        case PF_Param_POPUP:
            return def.u.pd.value;
        case PF_Param_CHECKBOX:
            return def.u.bd.value;
        default:
            return 0.0;
    }
}

// Bytes after a choice text's terminator that show a write past it.
constexpr std::size_t kGuardBytes = 32;
constexpr char kGuard = '\x5a';

int countChoices(const std::string& text) {
    int n = 1;
    for (char c : text) {
        n += c == '|' ? 1 : 0;
    }
    return n;
}

}  // namespace

Params::Params() { reset(); }

void Params::reset() {
    entries_.clear();
    auto layer = std::make_unique<Entry>();
    layer->def.param_type = PF_Param_LAYER;
    entries_.push_back(std::move(layer));
}

const Params::Entry& Params::entry(int index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("parameter index " + std::to_string(index) + " out of range");
    }
    return *entries_[static_cast<std::size_t>(index)];
}

Params::Entry& Params::valueEntry(int index) {
    if (index < 1 || index >= count()) {
        throw std::out_of_range("parameter index " + std::to_string(index) + " has no settable value");
    }
    Entry& e = *entries_[static_cast<std::size_t>(index)];
    if (!hasValue(e.def.param_type)) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " has no value");
    }
    return e;
}

const PF_ParamDef& Params::definition(int index) const { return entry(index).def; }

std::string Params::choices(int index) const {
    const Entry& e = entry(index);
    if (e.def.param_type != PF_Param_POPUP || e.choices.bytes == nullptr) {
        return std::string();
    }
    const char* text = e.choices.bytes.get();
    return std::string(text, strnlen(text, e.choices.length + 1));
}

std::string Params::checkboxLabel(int index) const {
    const Entry& e = entry(index);
    return e.def.param_type == PF_Param_CHECKBOX ? e.label : std::string();
}

Params::ChoiceBuffer Params::makeChoiceBuffer(const std::string& text) {
    ChoiceBuffer buf{std::make_unique<char[]>(text.size() + 1 + kGuardBytes), text.size()};
    std::memcpy(buf.bytes.get(), text.c_str(), text.size() + 1);
    std::memset(buf.bytes.get() + text.size() + 1, kGuard, kGuardBytes);
    return buf;
}

void Params::setChoices(int index, const std::string& text) {
    if (index < 1 || index >= count()) {
        throw std::out_of_range("parameter index " + std::to_string(index) + " out of range");
    }
    Entry& e = *entries_[static_cast<std::size_t>(index)];
    if (e.def.param_type != PF_Param_POPUP) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " is no popup");
    }
    if (countChoices(text) != e.def.u.pd.num_choices) {
        throw std::invalid_argument("choice text \"" + text + "\" does not have " +
                                    std::to_string(e.def.u.pd.num_choices) + " choices");
    }
    e.choices = makeChoiceBuffer(text);
    e.def.u.pd.u.namesptr = e.choices.bytes.get();
}

std::vector<int> Params::overrunChoices() const {
    std::vector<int> overrun;
    for (int i = 1; i < count(); ++i) {
        const Entry& e = *entries_[static_cast<std::size_t>(i)];
        if (e.choices.bytes == nullptr) {
            continue;
        }
        const char* past = e.choices.bytes.get() + e.choices.length + 1;
        for (std::size_t k = 0; k < kGuardBytes; ++k) {
            if (past[k] != kGuard) {
                overrun.push_back(i);
                break;
            }
        }
    }
    return overrun;
}

int Params::indexOfDiskId(A_long disk_id) const {
    for (int i = 1; i < count(); ++i) {
        if (entries_[static_cast<std::size_t>(i)]->def.uu.id == disk_id) {
            return i;
        }
    }
    return -1;
}

void Params::setValue(int index, double value) { valueEntry(index).value.set(value); }

void Params::setKeyframes(int index, std::vector<Keyframe> keys) {
    Entry& e = valueEntry(index);
    if ((e.def.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " cannot be animated");
    }
    const bool hold = e.def.param_type == PF_Param_POPUP || e.def.param_type == PF_Param_CHECKBOX;
    e.value.setKeyframes(std::move(keys), hold ? Interpolation::kHold : Interpolation::kLinear);
}

double Params::valueAt(int index, double seconds) const { return entry(index).value.at(seconds); }

PF_ParamDef Params::definitionAt(int index, double seconds) const {
    const Entry& e = entry(index);
    PF_ParamDef def = e.def;
    if (hasValue(def.param_type)) {
        writeValue(def, e.value.at(seconds));
    }
    return def;
}

std::string Params::append(const PF_ParamDef& def) {
    auto e = std::make_unique<Entry>();
    e->def = def;
    std::string problem;
    if (std::memchr(def.name, '\0', sizeof(def.name)) == nullptr) {
        problem = "name not terminated within its 32 bytes";
        e->def.name[sizeof(e->def.name) - 1] = '\0';
    }
    if (def.param_type == PF_Param_POPUP) {
        if (def.u.pd.u.namesptr == nullptr) {
            problem = "popup without choice text";
        } else {
            const std::string text = def.u.pd.u.namesptr;
            if (countChoices(text) != def.u.pd.num_choices) {
                problem = "popup declares " + std::to_string(def.u.pd.num_choices) + " choices but its text \"" + text +
                          "\" has " + std::to_string(countChoices(text));
            }
            e->choices = makeChoiceBuffer(text);
        }
        e->def.u.pd.u.namesptr = e->choices.bytes != nullptr ? e->choices.bytes.get() : "";
    } else if (def.param_type == PF_Param_CHECKBOX) {
        if (def.u.bd.u.nameptr != nullptr) {
            e->label = def.u.bd.u.nameptr;
        }
        e->def.u.bd.u.nameptr = e->label.c_str();
    }
    e->value.set(readValue(def));
    entries_.push_back(std::move(e));
    return problem;
}

}  // namespace minihost
