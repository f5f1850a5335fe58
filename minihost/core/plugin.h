// The plug-in module as the host loads it: its two entry points and the
// identity it reports through PluginDataEntryFunction.
#pragma once

#include <memory>
#include <string>

#include "AE_Effect.h"
#include "AE_PluginData.h"
#include "minihost/core/dynamic_library.h"

namespace minihost {

/// What PluginDataEntryFunction handed to the host's callback, and what it
/// returned.
struct PluginIdentity {
    std::string name, match_name, category, entry_point;
    A_long kind = 0, api_major = 0, api_minor = 0, reserved_info = 0;
    int callback_calls = 0;            // how often the callback was called
    bool opaque_pointer_kept = false;  // the callback got the host's own pointer back
    PF_Err result = PF_Err_NONE;       // what PluginDataEntryFunction returned
};

class Plugin {
public:
    /// Loads the module and finds EffectMain and PluginDataEntryFunction.
    /// Throws std::runtime_error when either is missing or the module does
    /// not load.
    static std::shared_ptr<const Plugin> load(const std::string& path);
    /// A plug-in made of two functions of the calling program, for tests of
    /// the host's own rules (a scripted plug-in that misbehaves on purpose).
    /// Throws std::invalid_argument for a null EffectMain.
    static std::shared_ptr<const Plugin> fromEntryPoints(PF_FilterProc effect_main,
                                                         PluginDataEntryFunctionPtr plugin_data = nullptr);

    PF_FilterProc effectMain() const { return effect_main_; }
    PluginDataEntryFunctionPtr pluginDataEntry() const { return plugin_data_; }
    const std::string& path() const { return path_; }

    /// Calls PluginDataEntryFunction with a callback that records the values
    /// and answers callback_result. Throws std::logic_error when the plug-in
    /// has none.
    PluginIdentity identity(PF_Err callback_result = PF_Err_NONE) const;

private:
    Plugin() = default;
    std::string path_;
    std::unique_ptr<DynamicLibrary> library_;
    PF_FilterProc effect_main_ = nullptr;
    PluginDataEntryFunctionPtr plugin_data_ = nullptr;
};

}  // namespace minihost
