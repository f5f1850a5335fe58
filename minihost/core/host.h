// The stand-in host: loads the built plug-in and drives it as the real host
// does. See minihost/README.md for the overview.
//
// One Host is one effect instance on one layer. Commands run on the calling
// thread; renderFrames runs several frames at once. Every command leaves a
// record in ledger(); tests end with
//   EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "minihost/audit/faults.h"
#include "minihost/core/frame.h"
#include "minihost/core/host_config.h"
#include "minihost/model/layer.h"
#include "minihost/audit/ledger.h"
#include "minihost/model/panel.h"
#include "minihost/model/params.h"
#include "minihost/core/plugin.h"

namespace minihost {

/// The plug-in built with this tree.
std::string defaultPluginPath();

class Host {
public:
    /// Loads the plug-in; throws std::runtime_error when it cannot.
    explicit Host(const std::string& plugin_path = defaultPluginPath());
    /// Drives a plug-in already loaded (or made with Plugin::fromEntryPoints).
    explicit Host(std::shared_ptr<const Plugin> plugin);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    /// What the next commands get in PF_InData. Do not change it while
    /// renderFrames runs.
    HostConfig& config() { return config_; }
    const Plugin& plugin() const { return *plugin_; }
    /// Calls PluginDataEntryFunction; its callback answers callback_result.
    PluginIdentity identity(PF_Err callback_result = PF_Err_NONE) const;

    // Commands, in the host's order. Each answers what EffectMain returned.
    PF_Err globalSetup();
    /// Forgets the declarations, adds the input layer at index 0, then sends
    /// PF_Cmd_PARAMS_SETUP; the panel is rebuilt from what was declared.
    PF_Err paramsSetup();
    /// Sends PF_Cmd_UPDATE_PARAMS_UI with the parameters at the current time.
    PF_Err updateParamsUI();
    PF_Err about();
    /// GLOBAL_SETUP, PARAMS_SETUP, UPDATE_PARAMS_UI; the first error, or 0.
    PF_Err setUp();
    /// Any command code, raw: in_data, out_data(), the parameter array at
    /// the current time, no output world, extra as given.
    PF_Err command(PF_Cmd cmd, void* extra = nullptr);

    /// The output record the non-render commands write into. It is not
    /// reset between commands: set bits or text before a command to see
    /// what the command changes.
    PF_OutData& outData() { return out_data_; }
    /// The input record of the last command that ended.
    PF_InData inData() const;

    Params& params() { return params_; }
    Panel& panel() { return panel_; }
    Layer& layer() { return layer_; }
    Ledger& ledger() { return ledger_; }
    Faults& faults() { return faults_; }

    /// SMART_PRE_RENDER, then SMART_RENDER when it succeeded.
    Frame renderFrame(const FrameRequest& request = {});
    /// The frames rendered at once on up to `threads` threads; results in
    /// the order of the requests.
    std::vector<Frame> renderFrames(const std::vector<FrameRequest>& requests, int threads);
    /// The same for whole-layer frames at these layer times.
    std::vector<Frame> renderFrames(const std::vector<A_long>& times, int threads);

    /// Whether the global set-up declared that group starts follow their
    /// PF_ParamFlag_START_COLLAPSED flag.
    bool groupFlagsHonoured() const { return group_flags_honoured_; }

private:
    PF_Err run(PF_Cmd cmd, const HostConfig& config, PF_OutData* out_data, void* extra, bool pass_params,
               void* frame_state);

    std::shared_ptr<const Plugin> plugin_;
    HostConfig config_;
    PF_OutData out_data_{};
    Params params_;
    Panel panel_;
    Layer layer_;
    Ledger ledger_;
    Faults faults_;
    bool group_flags_honoured_ = false;

    mutable std::mutex last_mutex_;
    PF_InData last_in_data_{};
};

}  // namespace minihost
