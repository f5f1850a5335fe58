#include "minihost/core/plugin.h"

#include <stdexcept>

namespace minihost {
namespace {

struct IdentityCapture {
    PluginIdentity identity;
    PF_Err answer = PF_Err_NONE;
};

// The capture of the identity call running on this thread: the callback
// checks that the plug-in handed the host's pointer back unchanged.
thread_local IdentityCapture* t_capture = nullptr;

std::string text(const A_u_char* s) { return s == nullptr ? std::string() : reinterpret_cast<const char*>(s); }

PF_Err recordIdentity(PF_PluginDataPtr inPtr, const A_u_char* name, const A_u_char* match_name,
                      const A_u_char* category, const A_u_char* entry_point, A_long kind, A_long api_major,
                      A_long api_minor, A_long reserved_info) {
    IdentityCapture* capture = t_capture;
    if (capture == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    try {
        PluginIdentity& id = capture->identity;
        id.name = text(name);
        id.match_name = text(match_name);
        id.category = text(category);
        id.entry_point = text(entry_point);
        id.kind = kind;
        id.api_major = api_major;
        id.api_minor = api_minor;
        id.reserved_info = reserved_info;
        ++id.callback_calls;
        id.opaque_pointer_kept = inPtr == reinterpret_cast<PF_PluginDataPtr>(capture);
    } catch (...) {
        return PF_Err_OUT_OF_MEMORY;
    }
    return capture->answer;
}

}  // namespace

std::shared_ptr<const Plugin> Plugin::load(const std::string& path) {
    std::shared_ptr<Plugin> plugin(new Plugin());
    plugin->path_ = path;
    plugin->library_ = DynamicLibrary::open(path);
    plugin->effect_main_ = reinterpret_cast<PF_FilterProc>(plugin->library_->symbol("EffectMain"));
    plugin->plugin_data_ =
        reinterpret_cast<PluginDataEntryFunctionPtr>(plugin->library_->symbol("PluginDataEntryFunction"));
    if (plugin->effect_main_ == nullptr || plugin->plugin_data_ == nullptr) {
        throw std::runtime_error(path + " does not export EffectMain and PluginDataEntryFunction");
    }
    return plugin;
}

std::shared_ptr<const Plugin> Plugin::fromEntryPoints(PF_FilterProc effect_main,
                                                      PluginDataEntryFunctionPtr plugin_data) {
    if (effect_main == nullptr) {
        throw std::invalid_argument("a plug-in needs an EffectMain");
    }
    std::shared_ptr<Plugin> plugin(new Plugin());
    plugin->path_ = "(entry points of this program)";
    plugin->effect_main_ = effect_main;
    plugin->plugin_data_ = plugin_data;
    return plugin;
}

PluginIdentity Plugin::identity(PF_Err callback_result) const {
    if (plugin_data_ == nullptr) {
        throw std::logic_error("the plug-in has no PluginDataEntryFunction");
    }
    IdentityCapture capture;
    capture.answer = callback_result;
    t_capture = &capture;
    capture.identity.result =
        plugin_data_(reinterpret_cast<PF_PluginDataPtr>(&capture), &recordIdentity, nullptr, "minihost", "1.0");
    t_capture = nullptr;
    return capture.identity;
}

}  // namespace minihost
