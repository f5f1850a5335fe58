// quillarray-preview: renders a text layer through the effect in the
// stand-in host and writes PNG files. The one exception boundary of the tool.
//
// Exit status: 0 done (or --help), 1 the plug-in failed or broke a host rule,
// 2 the input could not be used. Every failure is one line on stderr.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/preview/cli.h"
#include "tools/preview/memory_budget.h"
#include "tools/preview/output_target.h"
#include "tools/preview/preview_error.h"
#include "tools/preview/progress.h"
#include "tools/preview/session.h"
#include "tools/preview/signal_cleanup.h"

namespace {

constexpr int kExitRenderFailed = 1;
constexpr int kExitBadInput = 2;

void fail(const std::string& message) { std::fprintf(stderr, "quillarray-preview: %s\n", message.c_str()); }

// One line: newlines in a message would break the one-line promise.
std::string oneLine(std::string s) {
    for (char& c : s) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return s;
}

int run(int argc, const char* const* argv) {
    using namespace minihost::preview;
    const std::string plugin = pluginArgument(argc, argv);
    const std::string plugin_path = plugin.empty() ? minihost::defaultPluginPath() : plugin;
    Session session(plugin_path, !plugin.empty());
    CommandLine line = parseCommandLine(argc, argv, session.controls());
    if (line.help) {
        return 0;
    }
    if (line.version) {
        std::printf("%s\n", session.versionLine().c_str());
        return 0;
    }
    const int frames = line.job.frames.last - line.job.frames.first + 1;
    // Everything that can be known wrong is refused before the first frame.
    const std::vector<std::string> outputs = outputFiles(line.job);
    refuseInputsAsOutputs(outputs, {{"the font file", line.job.layer.text.font},
                                    {"the scene file", line.scene == "-" ? std::string() : line.scene},
                                    {"the plug-in", plugin_path}});
    checkOutputFolders(outputs);
    const ThreadPlan plan = planThreads(line.job, line.job.threads, availableMemory());
    line.job.threads = plan.threads;
    if (!plan.note.empty()) {
        fail(plan.note);
    }
    RenderReport report;
    {
        // Progress only for sequences; a single picture is done at once.
        Progress progress(frames, line.job.sequence ? stderr : nullptr, line.progress);
        report = session.render(line.job, [&progress](bool written) { progress.advance(written); });
    }
    for (const std::string& note : session.notes()) {
        fail(oneLine(note));
    }
    if (!line.job.sequence && !report.failures.empty()) {
        const FrameFailure& f = report.failures.front();
        if (f.render_failed) {
            throw RenderError(f.message);
        }
        throw InputError(f.message);
    }
    const std::vector<std::string>& files = report.files;
    if (files.size() == 1 && frames == 1) {
        // A picture sent to standard output, a pipe or a device is followed
        // by nothing: the stream holds the PNG alone.
        if (!isStreamTarget(files.front())) {
            std::printf("wrote %s\n", files.front().c_str());
        }
    } else if (report.failures.empty() && files.front() == files.back()) {
        std::printf("wrote %zu frames to %s\n", files.size(), files.front().c_str());
    } else if (report.failures.empty()) {
        std::printf("wrote %zu frames: %s ... %s\n", files.size(), files.front().c_str(), files.back().c_str());
    } else if (!files.empty()) {
        std::printf("wrote %zu of %d frames: %s ... %s\n", files.size(), frames, files.front().c_str(),
                    files.back().c_str());
    }
    int status = 0;
    for (const FrameFailure& f : report.failures) {
        fail(oneLine("frame " + std::to_string(f.frame) + ": " + f.message));
        status = f.render_failed ? kExitRenderFailed : (status == 0 ? kExitBadInput : status);
    }
    if (!report.failures.empty()) {
        fail(std::to_string(report.failures.size()) + " of " + std::to_string(frames) + " frames failed");
    }
    if (!session.ledgerClean()) {
        const std::vector<std::string> violations = session.ledgerViolations();
        std::string message = "the plug-in broke the host's rules";
        if (!violations.empty()) {
            message += " (" + std::to_string(violations.size()) + " time(s)); first: " + violations.front();
        }
        fail(oneLine(message));
        return kExitRenderFailed;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    minihost::preview::removeTemporariesOnSignals();
    try {
        return run(argc, argv);
    } catch (const minihost::preview::InputError& e) {
        fail(oneLine(e.what()));
        return kExitBadInput;
    } catch (const minihost::preview::RenderError& e) {
        fail(oneLine(e.what()));
        return kExitRenderFailed;
    } catch (const std::exception& e) {
        fail("internal error: " + oneLine(e.what()));
        return kExitRenderFailed;
    } catch (...) {
        fail("internal error");
        return kExitRenderFailed;
    }
}
