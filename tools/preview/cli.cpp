#include "tools/preview/cli.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include <CLI/CLI.hpp>

#include "tools/preview/controls.h"
#include "tools/preview/layer_values.h"
#include "tools/preview/output_target.h"
#include "tools/preview/png_image.h"
#include "tools/preview/preview_error.h"
#include "tools/preview/scene.h"

namespace minihost::preview {
namespace {

// Values as typed; each is checked by the shared parsers after CLI11 has
// matched the flags, so that every message has one form.
struct RawFlags {
    std::map<std::string, std::string> controls;  // control name -> value
    std::map<std::string, bool> checked;          // checkbox name -> --NAME given
    std::map<std::string, bool> unchecked;        // checkbox name -> --no-NAME given
    std::optional<std::string> text;              // given, even empty
    std::string font, font_size, leading, color, position, scale, comp_size, orientation, paragraph;
    std::string bpc, downsample, quality, api_minor, appl_id, threads;
    std::string output, scene, plugin, png_compression;
    bool no_effect = false;
    bool compare = false;
    bool version = false;
    bool progress = false;
};

double numberFlag(const std::string& flag, const std::string& text, double lo, double hi) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v)) {
        throw InputError(flag + " \"" + text + "\" is not a number");
    }
    if (v < lo || v > hi) {
        char range[96];
        std::snprintf(range, sizeof range, "%g to %g", lo, hi);
        throw InputError(flag + " " + text + " is outside its valid range " + range);
    }
    return v;
}

int wholeFlag(const std::string& flag, const std::string& text, int lo, int hi) {
    const double v = numberFlag(flag, text, lo, hi);
    if (v != std::floor(v)) {
        throw InputError(flag + " " + text + " is not a whole number");
    }
    return static_cast<int>(v);
}

// Prefixes a shared parser's message with the flag it came from.
template <typename Parse>
auto flagValue(const std::string& flag, Parse parse) {
    try {
        return parse();
    } catch (const InputError& e) {
        throw InputError(flag + ": " + e.what());
    }
}

void addEffectFlags(CLI::App& app, RawFlags& raw, const Controls& controls) {
    const std::string group = "Effect controls (ranges and defaults as the effect declares them)";
    const Params& params = controls.params();
    for (const Control& c : controls.all()) {
        if (c.kind == ControlKind::kCheckbox) {
            app.add_flag("--" + c.name, raw.checked[c.name], describeControl(c, params))->group(group);
            app.add_flag("--no-" + c.name, raw.unchecked[c.name], "turns \"" + c.panel_name + "\" off")->group(group);
        } else {
            app.add_option("--" + c.name, raw.controls[c.name], describeControl(c, params))
                ->type_name(c.kind == ControlKind::kSlider ? "NUMBER" : "WORD")
                ->group(group);
        }
    }
}

void addLayerFlags(CLI::App& app, RawFlags& raw) {
    const std::string group = "Text layer";
    app.add_option(
           "--text", raw.text,
           "the layer's text, default \"Quill & Ink\"; \\n in it breaks the line, \\\\ is a backslash; '' is an empty layer")
        ->type_name("TEXT")
        ->group(group);
    app.add_option("--font", raw.font, "font family or font file, default \"DejaVu Sans\"")
        ->type_name("FONT")
        ->group(group);
    app.add_option("--font-size", raw.font_size, "font size in pixels, 1 to 2000, default 40")
        ->type_name("PX")
        ->group(group);
    app.add_option("--leading", raw.leading, "line distance in pixels, default (and 0) 120 % of the size")
        ->type_name("PX")
        ->group(group);
    app.add_option("--color", raw.color, "fill colour: #rrggbb[aa] or r,g,b[,a], default #e07b39")
        ->type_name("COLOUR")
        ->group(group);
    app.add_option("--position", raw.position, "x,y of the text's anchor in comp pixels, default 40,75")
        ->type_name("X,Y")
        ->group(group);
    app.add_option("--scale", raw.scale, "layer scale in percent: s or sx,sy, default 100")
        ->type_name("S[,SY]")
        ->group(group);
    app.add_option("--comp-size", raw.comp_size, "WIDTHxHEIGHT of the comp, default 600x120")
        ->type_name("WxH")
        ->group(group);
    app.add_option("--orientation", raw.orientation, "horizontal or vertical, default horizontal")
        ->type_name("WORD")
        ->group(group);
    app.add_option("--paragraph", raw.paragraph, "paragraph alignment about the anchor: left, center, right")
        ->type_name("WORD")
        ->group(group);
}

void addRenderFlags(CLI::App& app, RawFlags& raw) {
    const std::string group = "Render";
    app.add_option("--bpc", raw.bpc, "bits per channel: 8, 16 or 32 (float), default 8")
        ->type_name("BITS")
        ->group(group);
    app.add_option("--downsample", raw.downsample, "render at 1/N resolution, N 1 to 16, default 1")
        ->type_name("N")
        ->group(group);
    app.add_option("--quality", raw.quality, "high or low, default high")->type_name("WORD")->group(group);
    app.add_option("--api-minor", raw.api_minor, "the host's effect API minor version, 0 to 99, default 28")
        ->type_name("N")
        ->group(group);
    app.add_option("--appl-id", raw.appl_id, "the host's application id, FXTC or PrMr, default FXTC")
        ->type_name("ID")
        ->group(group);
}

void addOutputFlags(CLI::App& app, RawFlags& raw) {
    const std::string group = "Output";
    app.add_option("-o,--output", raw.output,
                   "PNG file to write, default quillarray-preview.png; for a scene a pattern whose # run takes "
                   "the frame number")
        ->type_name("FILE")
        ->group(group);
    app.add_flag("--no-effect", raw.no_effect, "the layer as the host draws it, without the effect")->group(group);
    app.add_flag("--compare", raw.compare, "the layer before and after the effect, side by side")->group(group);
    app.add_option("--scene", raw.scene,
                   "render the frames of a JSON scene file (at most " + std::to_string(kMaxSceneBytes >> 20) +
                       " MB); - reads it from standard input")
        ->type_name("FILE")
        ->group(group);
    app.add_option("--png-compression", raw.png_compression,
                   "zlib level of the PNG files, 0 (none, fastest) to 9 (smallest), default 1")
        ->type_name("N")
        ->group(group);
    app.add_option("--threads", raw.threads,
                   "frames rendered at once, default one per core; fewer when memory is short")
        ->type_name("N")
        ->group(group);
    app.add_option("--plugin", raw.plugin, "the plug-in to load, default the one built with this tool")
        ->type_name("FILE")
        ->group(group);
    app.add_flag("--progress", raw.progress, "a scene's progress as lines on stderr, also when it is not a terminal")
        ->group(group);
    app.add_flag("--version", raw.version, "print the plug-in's name and version, as it reports them, and stop")
        ->group(group);
}

void applyLayer(const RawFlags& raw, Job& job) {
    LayerSpec& layer = job.layer;
    if (raw.text) {
        // "\n" typed on a shell line arrives as two characters; "\\" is a
        // backslash, so that a backslash before an n can be typed. Any
        // other backslash stays as it is.
        const std::string& typed = *raw.text;
        std::string text;
        for (std::size_t i = 0; i < typed.size(); ++i) {
            const char next = i + 1 < typed.size() ? typed[i + 1] : '\0';
            if (typed[i] == '\\' && (next == 'n' || next == '\\')) {
                text += next == 'n' ? '\n' : '\\';
                ++i;
            } else {
                text += typed[i];
            }
        }
        layer.text.text = text;
    }
    if (!raw.font.empty()) {
        layer.text.font = raw.font;
    }
    if (!raw.font_size.empty()) {
        layer.text.size_px = Animated(numberFlag("--font-size", raw.font_size, kMinFontSize, kMaxFontSize));
    }
    if (!raw.leading.empty()) {
        layer.text.paragraph.leading_px = numberFlag("--leading", raw.leading, 0, kMaxFontSize * 4);
    }
    if (!raw.color.empty()) {
        const Color c = flagValue("--color", [&] { return parseColor(raw.color); });
        layer.text.red.set(c.r);
        layer.text.green.set(c.g);
        layer.text.blue.set(c.b);
        layer.text.alpha.set(c.a);
    }
    if (!raw.position.empty()) {
        const A_FloatPoint p = flagValue("--position", [&] { return parsePoint(raw.position); });
        layer.position.set(p.x, p.y);
    }
    if (!raw.scale.empty()) {
        const A_FloatPoint s = flagValue("--scale", [&] { return parseScale(raw.scale); });
        layer.scale.set(s.x, s.y);
    }
    if (!raw.comp_size.empty()) {
        const auto [w, h] = flagValue("--comp-size", [&] { return parseCompSize(raw.comp_size); });
        layer.comp_width = w;
        layer.comp_height = h;
    }
    if (!raw.orientation.empty()) {
        layer.text.paragraph.flow = flagValue("--orientation", [&] { return parseOrientation(raw.orientation); });
    }
    if (!raw.paragraph.empty()) {
        layer.text.paragraph.align = flagValue("--paragraph", [&] { return parseParagraph(raw.paragraph); });
    }
}

void applyRender(const RawFlags& raw, RenderSpec& render) {
    if (!raw.bpc.empty()) {
        render.depth = flagValue("--bpc", [&] { return parseDepth(raw.bpc); });
    }
    if (!raw.downsample.empty()) {
        render.downsample = wholeFlag("--downsample", raw.downsample, 1, kMaxDownsample);
    }
    if (!raw.quality.empty()) {
        render.quality = flagValue("--quality", [&] { return parseQuality(raw.quality); });
    }
    if (!raw.api_minor.empty()) {
        render.api_minor = static_cast<A_short>(wholeFlag("--api-minor", raw.api_minor, 0, 99));
    }
    if (!raw.appl_id.empty()) {
        render.appl_id = flagValue("--appl-id", [&] { return parseApplId(raw.appl_id); });
    }
}

// The last of --NAME and --no-NAME on the line, as a repeated flag's last
// value wins: 1 on, 0 off, -1 neither.
int lastCheckboxFlag(int argc, const char* const* argv, const std::string& name) {
    int state = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (arg == "--" + name) {
            state = 1;
        } else if (arg == "--no-" + name) {
            state = 0;
        }
    }
    return state;
}

void applyControls(const RawFlags& raw, const Controls& controls, int argc, const char* const* argv, Job& job) {
    const Params& params = controls.params();
    for (const Control& c : controls.all()) {
        if (c.kind == ControlKind::kCheckbox) {
            if (const int state = lastCheckboxFlag(argc, argv, c.name); state >= 0) {
                job.controls.push_back(ControlSetting{c.index, static_cast<double>(state), {}});
            }
            continue;
        }
        const auto it = raw.controls.find(c.name);
        if (it != raw.controls.end() && !it->second.empty()) {
            job.controls.push_back(
                ControlSetting{c.index, parseControlValue(c, params, it->second, "--" + c.name), {}});
        }
    }
}

// The flags that describe one frame's content; a scene file says all of that
// itself, so they cannot go with --scene.
void refuseWithScene(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        const std::string group = option->get_group();
        if (option->count() > 0 && group != "Output" && !option->get_name().empty()) {
            throw InputError(option->get_name() + " cannot be combined with --scene; put it in the scene file");
        }
    }
}

// Only PNG files are written, so any other name is a slip; a device, FIFO
// or socket named as it is (/dev/null, /dev/stdout) and "-" take the PNG
// as they are, for a scene's frames as for a single one.
void checkOutputName(const Job& job) {
    const std::string& out = job.output;
    if (out == "-" && job.sequence) {
        throw InputError("-o -: a scene's frames cannot all go to standard output; give a file pattern");
    }
    if (isStreamTarget(out)) {
        return;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(out, ec)) {
        throw InputError("cannot write \"" + out + "\": it is a folder; give a file name ending in .png");
    }
    std::string extension = std::filesystem::path(out).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != ".png") {
        throw InputError("output \"" + out + "\" must end in .png: the tool writes PNG files only");
    }
}

// CLI11 parts groups with two blank lines and ends with one; one between
// groups is enough.
std::string tidyHelp(std::string help) {
    for (std::size_t at; (at = help.find("\n\n\n")) != std::string::npos;) {
        help.erase(at, 1);
    }
    while (help.size() > 1 && help[help.size() - 1] == '\n' && help[help.size() - 2] == '\n') {
        help.pop_back();
    }
    return help;
}

// Every long flag the tool has, for naming the one meant.
std::vector<std::string> longFlags(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) {
            names.push_back("--" + name);
        }
    }
    return names;
}

// What CLI11 matched to no flag, in the order given.
void refuseExtras(const CLI::App& app) {
    const std::vector<std::string> extras = app.remaining();
    if (extras.empty()) {
        return;
    }
    std::string list;
    for (const std::string& e : extras) {
        list += (list.empty() ? "" : " ") + e;
    }
    std::string message =
        (extras.size() == 1 ? "unknown option or argument: " : "unknown options or arguments: ") + list;
    for (const std::string& e : extras) {
        if (e.rfind("--", 0) == 0 && e.size() > 2) {
            const std::string flag = e.substr(0, e.find('='));
            if (const std::string near = closestName(flag, longFlags(app)); !near.empty() && near != flag) {
                message += " (did you mean " + near + "?)";
            }
            break;
        }
    }
    throw InputError(message + " (see --help)");
}

// A value given as '' is a slip (an unset shell variable, a stray quote)
// rather than a wish for the default; only --text may be empty.
void refuseEmptyValues(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->count() == 0 || option->get_type_size() == 0 || option->results().empty()) {
            continue;
        }
        if (option->results().back().empty() && option->get_name() != "--text") {
            throw InputError(option->get_name(false, true) + " needs a value; '' is empty");
        }
    }
}

}  // namespace

std::string pluginArgument(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plugin" && i + 1 < argc) {
            return argv[i + 1];
        }
        if (arg.rfind("--plugin=", 0) == 0) {
            return arg.substr(9);
        }
    }
    return {};
}

CommandLine parseCommandLine(int argc, const char* const* argv, const Controls& controls) {
    CLI::App app(
        "Renders a text layer through the Quillarray effect in the stand-in host and writes PNG files.\n"
        "Without arguments it renders a built-in sample to quillarray-preview.png.",
        "quillarray-preview");
    app.get_formatter()->column_width(34);
    // A flag given again overrides the earlier one (make preview ARGS=...
    // relies on it); arguments CLI11 does not know are named below.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.allow_extras();
    RawFlags raw;
    addEffectFlags(app, raw, controls);
    addLayerFlags(app, raw);
    addRenderFlags(app, raw);
    addOutputFlags(app, raw);

    CommandLine line;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(tidyHelp(app.help()).c_str(), stdout);
        line.help = true;
        return line;
    } catch (const CLI::ParseError& e) {
        throw InputError(std::string(e.what()) + " (see --help)");
    }
    refuseExtras(app);
    refuseEmptyValues(app);

    line.plugin = raw.plugin;
    line.progress = raw.progress;
    if (raw.version) {
        line.version = true;
        return line;
    }
    if (!raw.scene.empty()) {
        refuseWithScene(app);
        line.scene = raw.scene;
        line.job = readScene(raw.scene, controls);
    } else {
        line.job = defaultJob();
        applyLayer(raw, line.job);
        applyRender(raw, line.job.render);
        applyControls(raw, controls, argc, argv, line.job);
    }
    if (!raw.output.empty()) {
        line.job.output = raw.output;
    }
    if (raw.no_effect && raw.compare) {
        throw InputError("--no-effect and --compare exclude each other");
    }
    if (raw.no_effect) {
        line.job.picture = Picture::kLayerOnly;
    } else if (raw.compare) {
        line.job.picture = Picture::kSideBySide;
    }
    if (!raw.threads.empty()) {
        line.job.threads = wholeFlag("--threads", raw.threads, 1, 256);
    }
    if (!raw.png_compression.empty()) {
        line.job.png_compression =
            wholeFlag("--png-compression", raw.png_compression, kMinPngCompression, kMaxPngCompression);
    }
    checkOutputName(line.job);
    return line;
}

}  // namespace minihost::preview
