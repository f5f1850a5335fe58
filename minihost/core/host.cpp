#include "minihost/core/host.h"

#include <stdexcept>

#include "minihost/core/detail/call_context.h"

#ifndef MINIHOST_DEFAULT_PLUGIN
#define MINIHOST_DEFAULT_PLUGIN ""
#endif

namespace minihost {

std::string defaultPluginPath() { return MINIHOST_DEFAULT_PLUGIN; }

Host::Host(const std::string& plugin_path) : plugin_(Plugin::load(plugin_path)) {}

Host::Host(std::shared_ptr<const Plugin> plugin) : plugin_(std::move(plugin)) {
    if (plugin_ == nullptr) {
        throw std::invalid_argument("Host: null plug-in");
    }
}

Host::~Host() = default;

PluginIdentity Host::identity(PF_Err callback_result) const { return plugin_->identity(callback_result); }

PF_InData Host::inData() const {
    std::lock_guard lock(last_mutex_);
    return last_in_data_;
}

PF_Err Host::run(PF_Cmd cmd, const HostConfig& config, PF_OutData* out_data, void* extra, bool pass_params,
                 void* frame_state) {
    detail::CallContext ctx(*this, cmd, config, out_data, static_cast<detail::FrameState*>(frame_state));
    PF_ParamDef** params = pass_params ? ctx.paramArray() : nullptr;
    const PF_Err err = plugin_->effectMain()(cmd, &ctx.inData(), out_data, params, nullptr, extra);
    CommandTally record = ctx.finish(err);
    {
        std::lock_guard lock(last_mutex_);
        last_in_data_ = ctx.inData();
    }
    ledger_.commit(std::move(record));
    return err;
}

PF_Err Host::globalSetup() {
    const PF_Err err = run(PF_Cmd_GLOBAL_SETUP, config_, &out_data_, nullptr, false, nullptr);
    if (err == PF_Err_NONE) {
        group_flags_honoured_ = (out_data_.out_flags2 & PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG) != 0;
    }
    return err;
}

PF_Err Host::paramsSetup() {
    params_.reset();
    const PF_Err err = run(PF_Cmd_PARAMS_SETUP, config_, &out_data_, nullptr, true, nullptr);
    const std::string prefix = commandName(PF_Cmd_PARAMS_SETUP) + ": ";
    if (err == PF_Err_NONE && out_data_.num_params != params_.count()) {
        ledger_.addViolation(prefix + "num_params is " + std::to_string(out_data_.num_params) + " but " +
                             std::to_string(params_.count()) + " parameters were declared (input layer included)");
    }
    const std::string problem = panel_.reset(params_, group_flags_honoured_);
    // A set-up the plug-in gave up on an error (a refused add_param) ends
    // part-way by design; only a finished declaration must be balanced.
    if (err == PF_Err_NONE && !problem.empty()) {
        ledger_.addViolation(prefix + problem);
    }
    return err;
}

PF_Err Host::updateParamsUI() { return run(PF_Cmd_UPDATE_PARAMS_UI, config_, &out_data_, nullptr, true, nullptr); }

PF_Err Host::about() { return run(PF_Cmd_ABOUT, config_, &out_data_, nullptr, false, nullptr); }

PF_Err Host::setUp() {
    PF_Err err = globalSetup();
    if (err == PF_Err_NONE) {
        err = paramsSetup();
    }
    if (err == PF_Err_NONE) {
        err = updateParamsUI();
    }
    return err;
}

PF_Err Host::command(PF_Cmd cmd, void* extra) { return run(cmd, config_, &out_data_, extra, true, nullptr); }

}  // namespace minihost
