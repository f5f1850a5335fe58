#include "tools/preview/session.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "tools/preview/picture.h"
#include "tools/preview/preview_error.h"
#include "minihost/text/text_error.h"

namespace minihost::preview {
namespace {

// Gap between the two halves of a side-by-side picture.
constexpr int kCompareGap = 8;

// Time ticks per frame: the time scale is the frame rate times this.
constexpr A_long kTicksPerFrame = 1000;

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

// "U+00E9 "é"", or "tab (U+0009)": how a note names a character.
std::string characterName(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (c == U'\t') {
        return std::string("tab (") + code + ")";
    }
    if (c < 0x20 || c == 0x7f) {
        return code;
    }
    std::string utf8;
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xc0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xe0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        utf8 += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        utf8 += static_cast<char>(0xf0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        utf8 += static_cast<char>(0x80 | (c & 0x3f));
    }
    return std::string(code) + " \"" + utf8 + "\"";
}

// Where the first byte that is no part of a well-formed UTF-8 sequence
// stands, or npos.
std::size_t firstInvalidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t c = 0;
        char32_t least = 0;  // the smallest code point that needs this length
        if (byte < 0x80) {
            ++i;
            continue;
        }
        if ((byte >> 5) == 0x6) {
            length = 2, c = byte & 0x1f, least = 0x80;
        } else if ((byte >> 4) == 0xe) {
            length = 3, c = byte & 0x0f, least = 0x800;
        } else if ((byte >> 3) == 0x1e) {
            length = 4, c = byte & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + length > text.size()) {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 0x2) {
                return i;
            }
            c = (c << 6) | (next & 0x3f);
        }
        if (c < least || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) {
            return i;
        }
        i += length;
    }
    return std::string::npos;
}

}  // namespace

Session::Session(const std::string& plugin_path, bool named_by_user) {
    try {
        host_ = std::make_unique<Host>(plugin_path);
    } catch (const std::exception& e) {
        // A plug-in the user named is input like any other; the built one
        // missing means the build is broken.
        const std::string message = std::string("cannot load the plug-in: ") + e.what();
        if (named_by_user) {
            throw InputError(message);
        }
        throw RenderError(message);
    }
    if (const PF_Err err = host_->setUp(); err != PF_Err_NONE) {
        throw RenderError("the plug-in's set-up failed with error " + errorText(err));
    }
    controls_ = std::make_unique<Controls>(host_->params(), host_->panel());
}

Session::Session(std::shared_ptr<const Plugin> plugin) : host_(std::make_unique<Host>(std::move(plugin))) {
    if (const PF_Err err = host_->setUp(); err != PF_Err_NONE) {
        throw RenderError("the plug-in's set-up failed with error " + errorText(err));
    }
    controls_ = std::make_unique<Controls>(host_->params(), host_->panel());
}

std::string Session::versionLine() const {
    const A_u_long v = host_->outData().my_version;
    const unsigned major =
        static_cast<unsigned>(((v >> PF_Vers_VERS_HIGH_SHIFT) & PF_Vers_VERS_HIGH_BITS) << PF_Vers_VERS_LOW_SHIFT |
                              ((v >> PF_Vers_VERS_SHIFT) & PF_Vers_VERS_BITS));
    const unsigned minor = static_cast<unsigned>((v >> PF_Vers_SUBVERS_SHIFT) & PF_Vers_SUBVERS_BITS);
    const unsigned bug = static_cast<unsigned>((v >> PF_Vers_BUGFIX_SHIFT) & PF_Vers_BUGFIX_BITS);
    const unsigned build = static_cast<unsigned>((v >> PF_Vers_BUILD_SHIFT) & PF_Vers_BUILD_BITS);
    return host_->identity().name + " " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(bug) + " (build " + std::to_string(build) + ")";
}

void Session::configure(const Job& job) {
    HostConfig& config = host_->config();
    config.appl_id = job.render.appl_id;
    config.api_minor = job.render.api_minor;
    config.quality = job.render.quality;
    config.depth = job.render.depth;
    config.downsample_x = PF_RationalScale{1, static_cast<A_u_long>(job.render.downsample)};
    config.downsample_y = config.downsample_x;
    // Frame n is at n * time_step / time_scale seconds; thousandths of a
    // frame per second make 29.97 and 23.976 exact.
    config.time_scale = static_cast<A_u_long>(std::lround(job.frames.fps * kTicksPerFrame));
    config.time_step = kTicksPerFrame;
    config.current_time = job.frames.first * kTicksPerFrame;
    config.total_time = (job.frames.last + 1) * kTicksPerFrame;

    Layer& layer = host_->layer();
    layer.setObjectType(AEGP_ObjectType_TEXT);
    layer.setCompSize(job.layer.comp_width, job.layer.comp_height);
    // The effect gets the layer's own pixels, text outside the comp
    // included; only the picture written is cropped to the comp.
    layer.setBoundsCoverText(true);
    layer.transform().position = job.layer.position;
    layer.transform().scale = job.layer.scale;
    std::shared_ptr<const text::FontText> text;
    try {
        text = std::make_shared<const text::FontText>(job.layer.text);
    } catch (const text::TextError& e) {
        throw InputError(e.what());
    }
    layer.setText(text);
    notes_.clear();
    if (text->glyphsAt(0.0).empty()) {
        notes_.push_back("note: the text has no characters to draw: the layer is empty and the frames transparent");
    }
    if (const std::size_t bad = firstInvalidUtf8(job.layer.text.text); bad != std::string::npos) {
        notes_.push_back("note: the text is not valid UTF-8 (the first bad byte is byte " + std::to_string(bad + 1) +
                         "); bad bytes are drawn as U+FFFD, the replacement character");
    } else if (!text->glyphsAt(0.0).empty()) {
        noteSkippedCharacters(job);
    }
    if (!text->unsupportedCharacters().empty()) {
        std::string list;
        for (const char32_t c : text->unsupportedCharacters()) {
            list += list.empty() ? "" : ", ";
            list += characterName(c);
        }
        notes_.push_back("note: the font has no glyph of its own for " + list +
                         "; drawn as the font draws them, they may show as boxes or gaps");
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

// The effect lays characters out along the text's run with the layer's
// scale on that axis; below 0 (flipped) or at 0 every advance is under the
// 2 pixels a character needs, so it draws none. Said once, as an empty text
// is.
void Session::noteSkippedCharacters(const Job& job) {
    bool vertical = false;
    if (const Control* mode = controls_->find("text-mode")) {
        double value = host_->params().definition(mode->index).u.pd.dephault;
        for (const ControlSetting& c : job.controls) {
            if (c.index == mode->index && c.keys.empty()) {
                value = c.constant;
            }
        }
        const std::vector<std::string> words = choiceWords(host_->params(), mode->index);
        vertical = value >= 1 && value <= static_cast<double>(words.size()) &&
                   words[static_cast<std::size_t>(value - 1)] == "vertical";
    }
    int skipped = 0;
    int first = 0;
    double scale = 0.0;
    for (int frame = job.frames.first; frame <= job.frames.last; ++frame) {
        const A_FloatPoint s = job.layer.scale.at(frame / job.frames.fps);
        const double along = vertical ? s.y : s.x;
        if (!(along > 0.0)) {
            first = skipped == 0 ? frame : first;
            scale = skipped == 0 ? along : scale;
            ++skipped;
        }
    }
    if (skipped == 0) {
        return;
    }
    const int count = job.frames.last - job.frames.first + 1;
    char figure[32];
    std::snprintf(figure, sizeof figure, "%g %%", scale);
    std::string note = "note: the layer's scale along the text's run is ";
    note += count == 1 ? std::string(figure) : std::string("0 % or less");
    if (count > 1) {
        note += skipped < count ? " in " + std::to_string(skipped) + " of " + std::to_string(count) +
                                      " frames (from frame " + std::to_string(first) + ")"
                                : " in every frame";
    }
    note += ": every character's advance is under 2 pixels, so the effect skips them and ";
    note += count == 1        ? "the frame is transparent"
            : skipped < count ? "those frames are transparent"
                              : "the frames are transparent";
    notes_.push_back(note);
}

void Session::writePicture(const Job& job, int frame, Frame* rendered, const std::string& path) const {
    const int w = scaledSide(job.layer.comp_width, job.render.downsample);
    const int h = scaledSide(job.layer.comp_height, job.render.downsample);
    const int bits = pngBitDepth(job.render.depth);
    if (job.picture == Picture::kLayerOnly) {
        World layer_image(w, h, job.render.depth);
        const double ds = 1.0 / job.render.downsample;
        host_->layer().draw(*layer_image.pf(), static_cast<double>(frame) / job.frames.fps, ds, ds);
        Composition canvas(w, h, bits);
        canvas.paste(layer_image, 0, 0);
        writePngFile(path, canvas, job.png_compression);
        return;
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
        Composition canvas(w, h, bits);
        canvas.paste(*rendered->output, 0, 0);
        writePngFile(path, canvas, job.png_compression);
        return;
    }
    // Each half is cropped to the comp.
    Composition canvas(2 * w + kCompareGap, h, bits);
    if (rendered->input) {
        canvas.paste(*rendered->input, 0, 0, 0, 0, w, h);
    }
    canvas.paste(*rendered->output, w + kCompareGap, 0, w + kCompareGap, 0, w, h);
    writePngFile(path, canvas, job.png_compression);
}

RenderReport Session::render(const Job& job, const std::function<void(bool written)>& done) {
    configure(job);
    const int threads = threadCount(job.threads);
    const int count = job.frames.last - job.frames.first + 1;
    std::vector<std::string> files = outputFiles(job);
    std::vector<std::optional<FrameFailure>> failed(static_cast<std::size_t>(count));
    // Frames sent to one device or FIFO go one after the other, whole, and
    // in frame order.
    const bool one_stream = count > 1 && files.front() == files.back();
    std::mutex turn_mutex;
    std::condition_variable turn_changed;
    int turn = 0;  // the frame whose turn it is to be written to the stream

    // Each thread renders a frame and writes it before it takes the next, so
    // no thread waits for another's frames and at most one frame per thread
    // is held. A frame that fails is noted and the others go on: each thread
    // writes only its own frames' entries. An exception from the host itself
    // (no memory, say) stops every thread and leaves this call.
    std::atomic<int> next{0};
    std::atomic<bool> stopping{false};
    std::exception_ptr host_failure;
    std::mutex host_failure_mutex;
    auto work = [&] {
        for (int i = next++; i < count && !stopping; i = next++) {
            const int frame = job.frames.first + i;
            std::optional<FrameFailure>& failure = failed[static_cast<std::size_t>(i)];
            std::optional<Frame> rendered;
            if (job.picture != Picture::kLayerOnly) {
                try {
                    FrameRequest request;
                    request.time = frame * kTicksPerFrame;
                    rendered = host_->renderFrame(request);
                } catch (...) {
                    const std::lock_guard lock(host_failure_mutex);
                    if (!host_failure) {
                        host_failure = std::current_exception();
                    }
                    stopping = true;
                }
            }
            bool written = false;
            if (!stopping) {
                std::unique_lock<std::mutex> in_turn(turn_mutex, std::defer_lock);
                if (one_stream) {
                    in_turn.lock();
                    turn_changed.wait(in_turn, [&] { return turn == i || stopping; });
                }
                try {
                    if (!stopping) {
                        writePicture(job, frame, rendered ? &*rendered : nullptr, files[static_cast<std::size_t>(i)]);
                        written = true;
                    }
                } catch (const InputError& e) {
                    failure = FrameFailure{frame, e.what(), false};
                } catch (const std::exception& e) {
                    failure = FrameFailure{frame, e.what(), true};
                }
            }
            if (one_stream) {
                const std::lock_guard lock(turn_mutex);
                turn = std::max(turn, i + 1);
            }
            turn_changed.notify_all();
            if (done && !stopping) {
                done(written);
            }
        }
        // A thread that stops wakes those waiting for a turn it will not take.
        turn_changed.notify_all();
    };
    {
        std::vector<std::thread> pool;
        const JoinAll join{pool};
        for (int t = 1; t < std::min(threads, count); ++t) {
            pool.emplace_back(work);
        }
        work();
    }
    if (host_failure) {
        std::rethrow_exception(host_failure);
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
