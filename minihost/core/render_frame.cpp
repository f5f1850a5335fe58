// One frame as the host renders it, and several at once.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <thread>

#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/pixels/rect.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {
namespace {

double factor(const PF_RationalScale& ds) {
    return ds.den == 0 ? 0.0 : static_cast<double>(ds.num) / static_cast<double>(ds.den);
}

short bitDepth(Depth d) { return d == Depth::k8 ? 8 : d == Depth::k16 ? 16 : 32; }

World makeWorld(const PF_Rect& r, Depth depth) {
    return World(std::max(0, r.right - r.left), std::max(0, r.bottom - r.top), depth, r.left, r.top);
}

}  // namespace

Frame Host::renderFrame(const FrameRequest& request) {
    HostConfig config = config_;
    if (request.time) {
        config.current_time = *request.time;
    }
    const double dsx = factor(config.downsample_x);
    const double dsy = factor(config.downsample_y);

    detail::FrameState state;
    state.request = request;
    state.depth = request.depth.value_or(config.depth);
    const double seconds = config.time_scale == 0
                               ? 0.0
                               : static_cast<double>(config.current_time) / static_cast<double>(config.time_scale);
    state.layer_bounds = layer_.boundsAt(seconds, dsx, dsy);

    Frame frame;
    frame.out_data = out_data_;

    PF_RenderRequest rr{};
    rr.rect = request.rect.value_or(state.layer_bounds);
    rr.field = config.field;
    rr.channel_mask = PF_ChannelMask_ARGB;

    PF_PreRenderInput pre_in{};
    pre_in.output_request = rr;
    pre_in.bitdepth = bitDepth(state.depth);
    PF_PreRenderOutput pre_out{};
    PF_PreRenderCallbacks pre_cb = detail::preRenderCallbacks();
    PF_PreRenderExtra pre_extra{&pre_in, &pre_out, &pre_cb};
    frame.pre_render_err = run(PF_Cmd_SMART_PRE_RENDER, config, &frame.out_data, &pre_extra, false, &state);
    frame.pre = pre_out;
    frame.checkout = state.first_checkout;

    if (frame.pre_render_err == PF_Err_NONE) {
        // The layer image, for the area the effect asked for.
        std::optional<PF_Rect> input_rect = request.input_rect;
        if (!input_rect && !state.checkouts.empty()) {
            const auto it = state.checkouts.count(0) != 0 ? state.checkouts.find(0) : state.checkouts.begin();
            input_rect = it->second.rect;
        }
        if (!request.no_input && input_rect && !isEmpty(*input_rect)) {
            World input = makeWorld(*input_rect, state.depth);
            layer_.draw(*input.pf(), seconds, dsx, dsy);
            state.input = std::move(input);
        }
        if (!request.no_output) {
            World output = makeWorld(intersect(rr.rect, pre_out.result_rect), state.depth);
            if (request.output_fill) {
                (void)fillWorld(&*request.output_fill, nullptr, output.pf());
            }
            if (request.output_extent_hint) {
                output.pf()->extent_hint = *request.output_extent_hint;
            }
            state.output = std::move(output);
        }

        PF_SmartRenderInput render_in{};
        render_in.output_request = rr;
        render_in.bitdepth = bitDepth(state.depth);
        render_in.pre_render_data = pre_out.pre_render_data;
        PF_SmartRenderCallbacks render_cb = detail::smartRenderCallbacks();
        PF_SmartRenderExtra render_extra{&render_in, &render_cb};
        frame.render_err = run(PF_Cmd_SMART_RENDER, config, &frame.out_data, &render_extra, false, &state);
        frame.rendered = true;
    }
    // The host owns the pre-render's data once the frame is done.
    if (pre_out.pre_render_data != nullptr && pre_out.delete_pre_render_data_func != nullptr) {
        pre_out.delete_pre_render_data_func(pre_out.pre_render_data);
    }
    frame.input = std::move(state.input);
    frame.output = std::move(state.output);
    return frame;
}

std::vector<Frame> Host::renderFrames(const std::vector<A_long>& times, int threads) {
    std::vector<FrameRequest> requests(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        requests[i].time = times[i];
    }
    return renderFrames(requests, threads);
}

std::vector<Frame> Host::renderFrames(const std::vector<FrameRequest>& requests, int threads) {
    std::vector<Frame> frames(requests.size());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failure_mutex;
    const auto worker = [&] {
        for (std::size_t i = next++; i < requests.size(); i = next++) {
            try {
                frames[i] = renderFrame(requests[i]);
            } catch (...) {
                std::lock_guard lock(failure_mutex);
                failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> pool;
    const std::size_t n = std::min<std::size_t>(requests.size(), static_cast<std::size_t>(std::max(1, threads)));
    for (std::size_t t = 0; t < n; ++t) {
        pool.emplace_back(worker);
    }
    for (std::thread& t : pool) {
        t.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return frames;
}

}  // namespace minihost
