#include "minihost/preview/session.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "minihost/preview/picture.h"
#include "minihost/preview/preview_error.h"
#include "minihost/text/text_error.h"

namespace minihost::preview {
namespace {

// Gap between the two halves of a side-by-side picture.
constexpr int kCompareGap = 8;

int threadCount(int asked) {
    if (asked > 0) {
        return asked;
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// The layer's bounds at the render's resolution, rounded up, as the host
// sizes its layer images.
int scaledSide(int side, int downsample) { return (side + downsample - 1) / downsample; }

// Joins every thread of a pool on the way out, also when starting one failed.
struct JoinAll {
    std::vector<std::thread>& threads;
    ~JoinAll() {
        for (std::thread& t : threads) {
            t.join();
        }
    }
};

std::string errorText(PF_Err err) { return std::to_string(err); }

}  // namespace

Session::Session(const std::string& plugin_path) {
    try {
        host_ = std::make_unique<Host>(plugin_path);
    } catch (const std::exception& e) {
        throw RenderError(std::string("cannot load the plug-in: ") + e.what());
    }
    if (const PF_Err err = host_->setUp(); err != PF_Err_NONE) {
        throw RenderError("the plug-in's set-up failed with error " + errorText(err));
    }
}

void Session::configure(const Job& job) {
    HostConfig& config = host_->config();
    config.appl_id = job.render.appl_id;
    config.api_minor = job.render.api_minor;
    config.quality = job.render.quality;
    config.depth = job.render.depth;
    config.downsample_x = PF_RationalScale{1, static_cast<A_u_long>(job.render.downsample)};
    config.downsample_y = config.downsample_x;
    config.time_scale = static_cast<A_u_long>(job.frames.fps);
    config.time_step = 1;
    config.current_time = job.frames.first;
    config.total_time = job.frames.last + 1;

    Layer& layer = host_->layer();
    layer.setObjectType(AEGP_ObjectType_TEXT);
    layer.setCompSize(job.layer.comp_width, job.layer.comp_height);
    // The effect gets the layer's own pixels, text outside the comp
    // included; only the picture written is cropped to the comp.
    layer.setBoundsCoverText(true);
    layer.transform().position = job.layer.position;
    layer.transform().scale = job.layer.scale;
    try {
        layer.setText(std::make_shared<text::FontText>(job.layer.text));
    } catch (const text::TextError& e) {
        throw InputError(e.what());
    }

    Params& params = host_->params();
    for (const ControlSetting& c : job.controls) {
        const int index = static_cast<int>(c.index);
        try {
            if (c.keys.empty()) {
                params.setValue(index, c.constant);
            } else {
                params.setKeyframes(index, c.keys);
            }
        } catch (const std::exception& e) {
            throw InputError("cannot set " + std::string(params.definition(index).name) + ": " + e.what());
        }
    }
    // The host refreshes the panel after a change, as the effect asks.
    if (const PF_Err err = host_->updateParamsUI(); err != PF_Err_NONE) {
        throw RenderError("the plug-in's panel update failed with error " + errorText(err));
    }
}

PngImage Session::picture(const Job& job, int frame, Frame* rendered) const {
    const int w = scaledSide(job.layer.comp_width, job.render.downsample);
    const int h = scaledSide(job.layer.comp_height, job.render.downsample);
    if (job.picture == Picture::kLayerOnly) {
        World layer_image(w, h, job.render.depth);
        const double ds = 1.0 / job.render.downsample;
        host_->layer().draw(*layer_image.pf(), static_cast<double>(frame) / job.frames.fps, ds, ds);
        PngImage canvas = blankCanvas(w, h, job.render.depth);
        paste(canvas, layer_image, 0, 0);
        return canvas;
    }
    if (rendered->pre_render_err != PF_Err_NONE) {
        throw RenderError("the effect's pre-render failed with error " + errorText(rendered->pre_render_err));
    }
    if (rendered->render_err != PF_Err_NONE) {
        std::string message = "the effect's render failed with error " + errorText(rendered->render_err);
        if (rendered->out_data.return_msg[0] != '\0') {
            message += ": " + std::string(rendered->out_data.return_msg);
        }
        throw RenderError(message);
    }
    if (!rendered->output) {
        throw RenderError("the host had no output world");
    }
    if (job.picture == Picture::kEffect) {
        PngImage canvas = blankCanvas(w, h, job.render.depth);
        paste(canvas, *rendered->output, 0, 0);
        return canvas;
    }
    PngImage before = blankCanvas(w, h, job.render.depth);
    if (rendered->input) {
        paste(before, *rendered->input, 0, 0);
    }
    PngImage after = blankCanvas(w, h, job.render.depth);
    paste(after, *rendered->output, 0, 0);
    PngImage canvas = blankCanvas(2 * w + kCompareGap, h, job.render.depth);
    place(canvas, before, 0, 0);
    place(canvas, after, w + kCompareGap, 0);
    return canvas;
}

RenderReport Session::render(const Job& job, const std::function<void()>& done) {
    configure(job);
    const int threads = threadCount(job.threads);
    const int count = job.frames.last - job.frames.first + 1;
    std::vector<std::string> files(static_cast<std::size_t>(count));
    std::vector<std::optional<FrameFailure>> failed(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int frame = job.frames.first + i;
        files[static_cast<std::size_t>(i)] = job.sequence ? frameFileName(job.output, frame) : job.output;
    }

    // Batches of a few frames per thread bound the memory a long sequence
    // takes; within a batch the host renders on all threads at once, then
    // the files are encoded and written on as many.
    const int batch = threads * 2;
    for (int start = 0; start < count; start += batch) {
        const int n = std::min(batch, count - start);
        std::vector<Frame> frames;
        if (job.picture != Picture::kLayerOnly) {
            std::vector<FrameRequest> requests(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i) {
                requests[static_cast<std::size_t>(i)].time = job.frames.first + start + i;
            }
            frames = host_->renderFrames(requests, threads);
        }
        // A frame that fails is noted and the others go on: each thread
        // writes only its own frames' entries.
        std::atomic<int> next{0};
        auto work = [&] {
            for (int i = next++; i < n; i = next++) {
                const int frame = job.frames.first + start + i;
                std::optional<FrameFailure>& failure = failed[static_cast<std::size_t>(start + i)];
                try {
                    Frame* rendered = frames.empty() ? nullptr : &frames[static_cast<std::size_t>(i)];
                    writePngFile(files[static_cast<std::size_t>(start + i)], picture(job, frame, rendered));
                } catch (const InputError& e) {
                    failure = FrameFailure{frame, e.what(), false};
                } catch (const std::exception& e) {
                    failure = FrameFailure{frame, e.what(), true};
                }
                if (done) {
                    done();
                }
            }
        };
        {
            std::vector<std::thread> pool;
            const JoinAll join{pool};
            for (int t = 1; t < std::min(threads, n); ++t) {
                pool.emplace_back(work);
            }
            work();
        }
    }
    RenderReport report;
    for (int i = 0; i < count; ++i) {
        if (failed[static_cast<std::size_t>(i)]) {
            report.failures.push_back(std::move(*failed[static_cast<std::size_t>(i)]));
        } else {
            report.files.push_back(std::move(files[static_cast<std::size_t>(i)]));
        }
    }
    return report;
}

}  // namespace minihost::preview
