// The effect controls panel as the user sees it: each parameter's shown
// name, popup choice text, hidden state, collapsed state and group.
//
// Built from the declarations at the end of PF_Cmd_PARAMS_SETUP, then changed
// by PF_UpdateParamUI (name, flags, choice text) and
// AEGP_SetDynamicStreamFlag (hidden). A popup shows the text in the host's
// own choice buffer (Params) as it is when PF_UpdateParamUI is called: that
// buffer is where the effect writes new choices, and a copy whose namesptr
// points elsewhere does not change them. Group starts are collapsed when they
// carry PF_ParamFlag_START_COLLAPSED and the effect's global set-up declared
// PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG; without that flag every group
// starts collapsed. Other parameters are collapsed when their flags carry
// PF_ParamFlag_COLLAPSE_TWIRLY. Thread-safe.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "AE_Effect.h"

namespace minihost {

class Params;

class Panel {
public:
    int count() const;
    /// Throw std::out_of_range for an unknown index.
    std::string name(int index) const;
    std::string choices(int index) const;  // "" for anything but a popup
    bool hidden(int index) const;
    bool collapsed(int index) const;
    /// Index of the group start that holds the parameter, -1 at top level.
    int parentGroup(int index) const;
    /// Dynamic stream flags set with AEGP_SetDynamicStreamFlag.
    A_long dynamicFlags(int index) const;
    /// How often PF_UpdateParamUI changed this parameter.
    int updates(int index) const;

    // Host side.
    /// Rebuilds from the declarations; answers what is wrong with the group
    /// nesting ("" if nothing).
    std::string reset(const Params& params, bool honour_start_collapsed);
    /// host_choices: the popup's text in the host's buffer now.
    void update(int index, const PF_ParamDef& def, const std::string& host_choices);
    void setDynamicFlag(int index, A_long flag, bool set);

private:
    struct Entry {
        PF_ParamType type = PF_Param_RESERVED;
        std::string name, choices;
        PF_ParamFlags flags = 0;
        bool collapsed = false;
        int parent = -1;
        A_long dyn_flags = 0;
        int updates = 0;
    };
    const Entry& at(int index) const;

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace minihost
