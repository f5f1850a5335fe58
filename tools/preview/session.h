// One run of the preview tool: the plug-in loaded into the stand-in host and
// set up (global set-up, parameter set-up, panel update), then jobs rendered
// to PNG files.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "minihost/core/host.h"
#include "tools/preview/controls.h"
#include "tools/preview/job.h"
#include "tools/preview/png_image.h"

namespace minihost::preview {

// A frame that could not be rendered or written.
struct FrameFailure {
    int frame = 0;
    std::string message;        // one line, without the frame number
    bool render_failed = true;  // the effect or the host failed; false: the file could not be written
};

struct RenderReport {
    std::vector<std::string> files;      // written, in frame order
    std::vector<FrameFailure> failures;  // in frame order
};

class Session {
public:
    // Loads and sets up the plug-in; throws RenderError when it cannot be
    // loaded or a set-up command fails.
    // named_by_user: a plug-in that cannot be loaded is bad input (the
    // user's --plugin) rather than a failure of the tool.
    Session(const std::string& plugin_path, bool named_by_user = false);
    // The same with a plug-in already loaded (benchmarks wrap the effect).
    explicit Session(std::shared_ptr<const Plugin> plugin);

    // The plug-in's name, as it reports it to the host, and the version
    // its global set-up declared: "Quillarray 1.0.0 (build 1)".
    std::string versionLine() const;

    // One line each: what the user should know about the last job's layer
    // (no characters to draw; characters the font has no glyph for; text
    // that is not UTF-8; a layer flipped so that the effect skips every
    // character).
    const std::vector<std::string>& notes() const { return notes_; }

    // What the effect declared: ranges, defaults and choices for the flags.
    const Params& params() { return host_->params(); }
    // The controls a user can set, found among those declarations.
    const Controls& controls() const { return *controls_; }

    // Renders every frame of the job and writes its files; frames render on
    // several threads at once. A frame that fails (the effect answers an
    // error, the file cannot be written) is reported and the others are
    // still rendered. Calls done(written) after each frame (from any
    // thread); written is false for a frame that failed.
    // Throws InputError for a font that cannot be found, RenderError when
    // the panel update fails.
    RenderReport render(const Job& job, const std::function<void(bool written)>& done);

    // The host's record of the plug-in's rule breaking so far.
    bool ledgerClean() const { return host_->ledger().clean(); }
    std::vector<std::string> ledgerViolations() const { return host_->ledger().violations(); }

private:
    void configure(const Job& job);
    // Writes the frame's picture to path (as the job says: the layer, the
    // effect's output, or both side by side).
    void writePicture(const Job& job, int frame, Frame* rendered, const std::string& path) const;

    void noteSkippedCharacters(const Job& job);

    std::unique_ptr<Host> host_;
    std::unique_ptr<Controls> controls_;
    std::vector<std::string> notes_;
};

}  // namespace minihost::preview
