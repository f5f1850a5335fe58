#include "minihost/model/panel.h"

#include <algorithm>
#include <stdexcept>

#include "AE_GeneralPlug.h"
#include "minihost/model/params.h"

namespace minihost {

const Panel::Entry& Panel::at(int index) const {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        throw std::out_of_range("panel: parameter index " + std::to_string(index) + " out of range");
    }
    return entries_[static_cast<std::size_t>(index)];
}

int Panel::count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}
std::string Panel::name(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).name;
}
std::string Panel::choices(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).choices;
}
bool Panel::hidden(int index) const {
    std::lock_guard lock(mutex_);
    return (at(index).dyn_flags & AEGP_DynStreamFlag_HIDDEN) != 0;
}
bool Panel::collapsed(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).collapsed;
}
int Panel::parentGroup(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).parent;
}
A_long Panel::dynamicFlags(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).dyn_flags;
}
int Panel::updates(int index) const {
    std::lock_guard lock(mutex_);
    return at(index).updates;
}

std::string Panel::reset(const Params& params, bool honour_start_collapsed) {
    std::lock_guard lock(mutex_);
    entries_.clear();
    std::vector<int> open_groups;
    std::string problem;
    for (int i = 0; i < params.count(); ++i) {
        const PF_ParamDef& def = params.definition(i);
        Entry e;
        e.type = def.param_type;
        e.name = def.name;
        e.choices = params.choices(i);
        e.flags = def.flags;
        e.parent = open_groups.empty() ? -1 : open_groups.back();
        if (def.param_type == PF_Param_GROUP_START) {
            e.collapsed = !honour_start_collapsed || (def.flags & PF_ParamFlag_START_COLLAPSED) != 0;
            open_groups.push_back(i);
        } else {
            e.collapsed = (def.flags & PF_ParamFlag_COLLAPSE_TWIRLY) != 0;
            if (def.param_type == PF_Param_GROUP_END) {
                if (open_groups.empty()) {
                    problem = "group end at index " + std::to_string(i) + " closes no group";
                } else {
                    open_groups.pop_back();
                }
                e.parent = open_groups.empty() ? -1 : open_groups.back();
            }
        }
        entries_.push_back(std::move(e));
    }
    if (!open_groups.empty()) {
        problem = "group started at index " + std::to_string(open_groups.back()) + " is never closed";
    }
    return problem;
}

void Panel::update(int index, const PF_ParamDef& def, const std::string& host_choices) {
    std::lock_guard lock(mutex_);
    Entry& e = const_cast<Entry&>(at(index));
    const char* end = std::find(def.name, def.name + sizeof(def.name), '\0');
    e.name.assign(def.name, end);
    e.flags = def.flags;
    if (e.type != PF_Param_GROUP_START) {
        e.collapsed = (def.flags & PF_ParamFlag_COLLAPSE_TWIRLY) != 0;
    }
    if (e.type == PF_Param_POPUP) {
        e.choices = host_choices;
    }
    ++e.updates;
}

void Panel::setDynamicFlag(int index, A_long flag, bool set) {
    std::lock_guard lock(mutex_);
    Entry& e = const_cast<Entry&>(at(index));
    e.dyn_flags = set ? (e.dyn_flags | flag) : (e.dyn_flags & ~flag);
}

}  // namespace minihost
