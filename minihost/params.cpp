#include "minihost/params.h"

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
    return e.def.param_type == PF_Param_POPUP ? e.text : std::string();
}

std::string Params::checkboxLabel(int index) const {
    const Entry& e = entry(index);
    return e.def.param_type == PF_Param_CHECKBOX ? e.text : std::string();
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
            e->text = def.u.pd.u.namesptr;
            if (countChoices(e->text) != def.u.pd.num_choices) {
                problem = "popup declares " + std::to_string(def.u.pd.num_choices) + " choices but its text \"" +
                          e->text + "\" has " + std::to_string(countChoices(e->text));
            }
        }
        e->def.u.pd.u.namesptr = e->text.c_str();
    } else if (def.param_type == PF_Param_CHECKBOX) {
        if (def.u.bd.u.nameptr != nullptr) {
            e->text = def.u.bd.u.nameptr;
        }
        e->def.u.bd.u.nameptr = e->text.c_str();
    }
    e->value.set(readValue(def));
    entries_.push_back(std::move(e));
    return problem;
}

}  // namespace minihost
