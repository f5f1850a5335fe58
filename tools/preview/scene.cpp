#include "tools/preview/scene.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tools/preview/controls.h"
#include "tools/preview/layer_values.h"
#include "tools/preview/preview_error.h"

namespace minihost::preview {
namespace {

using nlohmann::json;

bool hasTwoKeysAtOneTime(std::vector<Keyframe> keys) {
    std::sort(keys.begin(), keys.end(), [](const Keyframe& a, const Keyframe& b) { return a.seconds < b.seconds; });
    return std::adjacent_find(keys.begin(), keys.end(), [](const Keyframe& a, const Keyframe& b) {
               return a.seconds == b.seconds;
           }) != keys.end();
}

// Reads one scene; every error names the key path it met.
class SceneReader {
public:
    SceneReader(std::string name, const Controls& controls)
        : name_(std::move(name)), controls_(controls), params_(controls.params()) {}

    Job read(const json& given) {
        Job job = defaultJob();
        job.sequence = true;
        job.output.clear();
        expectObject(given, "the scene");
        // The comp comes first: keyframe frames need its fps.
        const json root = known(given, "", {"comp", "frames", "output", "render", "layer", "effect"});
        if (root.contains("comp")) {
            readComp(root["comp"], job);
        }
        if (root.contains("frames")) {
            readFrames(root["frames"], job.frames);
        }
        if (root.contains("output")) {
            job.output = text(root["output"], "output");
            if (job.output.empty()) {
                fail("output", "is empty");
            }
        }
        if (root.contains("render")) {
            readRender(root["render"], job.render);
        }
        if (root.contains("layer")) {
            readLayer(root["layer"], job);
        }
        if (root.contains("effect")) {
            readEffect(root["effect"], job);
        }
        return job;
    }

private:
    [[noreturn]] void fail(const std::string& key, const std::string& what) const {
        throw InputError(name_ + ": " + key + " " + what);
    }

    void expectObject(const json& j, const std::string& key) const {
        if (!j.is_object()) {
            fail(key, "must be an object");
        }
    }

    // The object with its keys in their documented spelling (hyphens; an
    // underscore, as earlier versions wrote the layer and render keys, is
    // taken for one). Refuses a key it does not know, naming the closest
    // one it does, and a key given twice in two spellings.
    json known(const json& j, const std::string& prefix, std::initializer_list<const char*> keys) const {
        json out = json::object();
        const std::vector<std::string> names(keys.begin(), keys.end());
        for (const auto& item : j.items()) {
            const std::string key = canonicalKey(item.key());
            if (std::find(names.begin(), names.end(), key) == names.end()) {
                fail(prefix + item.key(), "is not a known key" + suggestion(item.key(), names, prefix));
            }
            if (out.contains(key)) {
                fail(prefix + key, "is given twice");
            }
            out[key] = item.value();
        }
        return out;
    }

    static std::string suggestion(const std::string& key, const std::vector<std::string>& names,
                                  const std::string& prefix) {
        const std::string near = closestName(key, names);
        return near.empty() ? "" : "; did you mean \"" + prefix + near + "\"?";
    }

    double numberIn(const json& j, const std::string& key, double lo, double hi) const {
        if (!j.is_number()) {
            fail(key, "must be a number");
        }
        const double v = j.get<double>();
        if (!(v >= lo && v <= hi)) {
            fail(key, "is outside " + format(lo) + " to " + format(hi));
        }
        return v;
    }

    int integerIn(const json& j, const std::string& key, int lo, int hi) const {
        const double v = numberIn(j, key, lo, hi);
        if (v != std::floor(v)) {
            fail(key, "must be a whole number");
        }
        return static_cast<int>(v);
    }

    std::string text(const json& j, const std::string& key) const {
        if (!j.is_string()) {
            fail(key, "must be a string");
        }
        return j.get<std::string>();
    }

    static std::string format(double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    }

    // Keyframe times: "frame" (comp frames) or "time" (seconds).
    double keyTime(const json& key, const std::string& path) const {
        if (key.contains("frame") == key.contains("time")) {
            fail(path, "needs either \"frame\" or \"time\"");
        }
        if (key.contains("frame")) {
            return numberIn(key["frame"], path + ".frame", -1e6, 1e6) / fps_;
        }
        return numberIn(key["time"], path + ".time", -1e6, 1e6);
    }

    // Calls each(value, path, seconds) for a keyframe list, or returns false
    // when j is not one.
    template <typename Each>
    bool forKeyframes(const json& j, const std::string& key, Each each) const {
        if (!j.is_object()) {
            return false;
        }
        const json outer = known(j, key + ".", {"keyframes"});
        const json keys = outer.contains("keyframes") ? outer["keyframes"] : json();
        if (!keys.is_array() || keys.empty()) {
            fail(key + ".keyframes", "must be a non-empty list");
        }
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::string path = key + ".keyframes[" + std::to_string(i) + "]";
            expectObject(keys[i], path);
            const json key_i = known(keys[i], path + ".", {"frame", "time", "value"});
            if (!key_i.contains("value")) {
                fail(path, "needs a \"value\"");
            }
            each(key_i["value"], path + ".value", keyTime(key_i, path));
        }
        return true;
    }

    void readComp(const json& given, Job& job) {
        expectObject(given, "comp");
        const json j = known(given, "comp.", {"width", "height", "fps"});
        if (j.contains("width")) {
            job.layer.comp_width = integerIn(j["width"], "comp.width", 1, 8192);
        }
        if (j.contains("height")) {
            job.layer.comp_height = integerIn(j["height"], "comp.height", 1, 8192);
        }
        if (j.contains("fps")) {
            job.frames.fps = numberIn(j["fps"], "comp.fps", 1, 240);
        }
        fps_ = job.frames.fps;
    }

    void readFrames(const json& given, FrameRange& frames) const {
        expectObject(given, "frames");
        const json j = known(given, "frames.", {"first", "last"});
        if (j.contains("first")) {
            frames.first = integerIn(j["first"], "frames.first", 0, 100000);
        }
        frames.last = frames.first;
        if (j.contains("last")) {
            frames.last = integerIn(j["last"], "frames.last", 0, 100000);
        }
        if (frames.last < frames.first) {
            fail("frames.last", "comes before frames.first");
        }
    }

    // A shared parser's message, prefixed with the key its value came from.
    template <typename Parse>
    auto parsed(const std::string& key, Parse parse) const {
        try {
            return parse();
        } catch (const InputError& e) {
            throw InputError(name_ + ": " + key + ": " + e.what());
        }
    }

    void readRender(const json& given, RenderSpec& render) const {
        expectObject(given, "render");
        const json j = known(given, "render.", {"bpc", "downsample", "quality", "api-minor", "appl-id"});
        if (j.contains("bpc")) {
            const std::string bpc = std::to_string(integerIn(j["bpc"], "render.bpc", 1, 64));
            render.depth = parsed("render.bpc", [&] { return parseDepth(bpc); });
        }
        if (j.contains("downsample")) {
            render.downsample = integerIn(j["downsample"], "render.downsample", 1, kMaxDownsample);
        }
        if (j.contains("quality")) {
            const std::string quality = text(j["quality"], "render.quality");
            render.quality = parsed("render.quality", [&] { return parseQuality(quality); });
        }
        if (j.contains("api-minor")) {
            render.api_minor = static_cast<A_short>(integerIn(j["api-minor"], "render.api-minor", 0, 99));
        }
        if (j.contains("appl-id")) {
            const std::string id = text(j["appl-id"], "render.appl-id");
            render.appl_id = parsed("render.appl-id", [&] { return parseApplId(id); });
        }
    }

    void readLayer(const json& given, Job& job) const {
        expectObject(given, "layer");
        const json j =
            known(given, "layer.",
                  {"text", "font", "font-size", "leading", "color", "position", "scale", "orientation", "paragraph"});
        LayerSpec& layer = job.layer;
        if (j.contains("text")) {
            layer.text.text = text(j["text"], "layer.text");
        }
        if (j.contains("font")) {
            layer.text.font = text(j["font"], "layer.font");
        }
        if (j.contains("font-size")) {
            layer.text.size_px = animatedNumber(j["font-size"], "layer.font-size", kMinFontSize, kMaxFontSize);
        }
        if (j.contains("leading")) {
            layer.text.paragraph.leading_px = numberIn(j["leading"], "layer.leading", 0, kMaxFontSize * 4);
        }
        if (j.contains("color")) {
            readColor(j["color"], layer.text);
        }
        if (j.contains("position")) {
            layer.position = animatedPoint(j["position"], "layer.position", -1e5, 1e5, false);
        }
        if (j.contains("scale")) {
            layer.scale = animatedPoint(j["scale"], "layer.scale", -1e4, 1e4, true);
        }
        if (j.contains("orientation")) {
            const std::string word = text(j["orientation"], "layer.orientation");
            layer.text.paragraph.flow = parsed("layer.orientation", [&] { return parseOrientation(word); });
        }
        if (j.contains("paragraph")) {
            const std::string word = text(j["paragraph"], "layer.paragraph");
            layer.text.paragraph.align = parsed("layer.paragraph", [&] { return parseParagraph(word); });
        }
    }

    Animated animatedNumber(const json& j, const std::string& key, double lo, double hi) const {
        std::vector<Keyframe> keys;
        if (forKeyframes(j, key, [&](const json& v, const std::string& path, double t) {
                keys.push_back(Keyframe{t, numberIn(v, path, lo, hi)});
            })) {
            Animated a;
            setKeys(a, keys, key, Interpolation::kLinear);
            return a;
        }
        return Animated(numberIn(j, key, lo, hi));
    }

    void setKeys(Animated& a, std::vector<Keyframe> keys, const std::string& key, Interpolation how) const {
        try {
            a.setKeyframes(std::move(keys), how);
        } catch (const std::invalid_argument&) {
            fail(key + ".keyframes", "has two keyframes at one time");
        }
    }

    A_FloatPoint pointValue(const json& v, const std::string& key, double lo, double hi, bool uniform_ok) const {
        if (uniform_ok && v.is_number()) {
            const double s = numberIn(v, key, lo, hi);
            return {s, s};
        }
        if (!v.is_array() || v.size() != 2) {
            fail(key, uniform_ok ? "must be a number or [x, y]" : "must be [x, y]");
        }
        return {numberIn(v[0], key + "[0]", lo, hi), numberIn(v[1], key + "[1]", lo, hi)};
    }

    AnimatedPoint animatedPoint(const json& j, const std::string& key, double lo, double hi, bool uniform_ok) const {
        std::vector<PointKeyframe> keys;
        if (forKeyframes(j, key, [&](const json& v, const std::string& path, double t) {
                const A_FloatPoint p = pointValue(v, path, lo, hi, uniform_ok);
                keys.push_back(PointKeyframe{t, p.x, p.y});
            })) {
            AnimatedPoint a;
            try {
                a.setKeyframes(keys);
            } catch (const std::invalid_argument&) {
                fail(key + ".keyframes", "has two keyframes at one time");
            }
            return a;
        }
        const A_FloatPoint p = pointValue(j, key, lo, hi, uniform_ok);
        return AnimatedPoint(p.x, p.y);
    }

    void readColor(const json& j, text::FontTextStyle& style) const {
        const std::string key = "layer.color";
        auto colorOf = [&](const json& v, const std::string& path) {
            if (v.is_string()) {
                return parsed(path, [&] { return parseColor(v.get<std::string>()); });
            }
            if (v.is_array() && (v.size() == 3 || v.size() == 4)) {
                Color c{};
                double* channels[4] = {&c.r, &c.g, &c.b, &c.a};
                c.a = 255;
                for (std::size_t i = 0; i < v.size(); ++i) {
                    *channels[i] = numberIn(v[i], path + "[" + std::to_string(i) + "]", 0, 255);
                }
                return c;
            }
            fail(path, "must be \"#rrggbb\", [r, g, b] or [r, g, b, a] with channels 0 to 255");
        };
        std::vector<Keyframe> r, g, b, a;
        if (forKeyframes(j, key, [&](const json& v, const std::string& path, double t) {
                const Color c = colorOf(v, path);
                r.push_back({t, c.r});
                g.push_back({t, c.g});
                b.push_back({t, c.b});
                a.push_back({t, c.a});
            })) {
            setKeys(style.red, r, key, Interpolation::kLinear);
            setKeys(style.green, g, key, Interpolation::kLinear);
            setKeys(style.blue, b, key, Interpolation::kLinear);
            setKeys(style.alpha, a, key, Interpolation::kLinear);
            return;
        }
        const Color c = colorOf(j, key);
        style.red.set(c.r);
        style.green.set(c.g);
        style.blue.set(c.b);
        style.alpha.set(c.a);
    }

    double controlValue(const Control& control, const json& v, const std::string& path) const {
        try {
            if (v.is_boolean() && control.kind == ControlKind::kCheckbox) {
                return v.get<bool>() ? 1.0 : 0.0;
            }
            if (v.is_number()) {
                return checkControlValue(control, params_, v.get<double>(), path);
            }
            if (v.is_string()) {
                return parseControlValue(control, params_, v.get<std::string>(), path);
            }
        } catch (const InputError& e) {
            throw InputError(name_ + ": " + e.what());
        }
        fail(path, "must be a number, a word or true/false");
    }

    void readEffect(const json& j, Job& job) const {
        expectObject(j, "effect");
        for (const auto& item : j.items()) {
            const std::string key = "effect." + item.key();
            if (canonicalKey(item.key()) == "enabled") {
                if (!item.value().is_boolean()) {
                    fail(key, "must be true or false");
                }
                job.picture = item.value().get<bool>() ? Picture::kEffect : Picture::kLayerOnly;
                continue;
            }
            const Control* control = controls_.find(item.key());
            if (control == nullptr) {
                std::vector<std::string> names = {"enabled"};
                for (const Control& c : controls_.all()) {
                    names.push_back(c.name);
                }
                fail(key, "is not a control of the effect" + suggestion(item.key(), names, "effect."));
            }
            ControlSetting setting;
            setting.index = control->index;
            if (std::any_of(job.controls.begin(), job.controls.end(),
                            [&](const ControlSetting& c) { return c.index == control->index; })) {
                fail("effect." + control->name, "is given twice");
            }
            const bool animated =
                forKeyframes(item.value(), key, [&](const json& v, const std::string& path, double t) {
                    setting.keys.push_back(Keyframe{t, controlValue(*control, v, path)});
                });
            if (!animated) {
                setting.constant = controlValue(*control, item.value(), key);
            } else if (hasTwoKeysAtOneTime(setting.keys)) {
                fail(key + ".keyframes", "has two keyframes at one time");
            } else if (params_.definition(control->index).flags & PF_ParamFlag_CANNOT_TIME_VARY) {
                fail(key, "cannot be animated");
            }
            job.controls.push_back(std::move(setting));
        }
    }

    std::string name_;
    const Controls& controls_;
    const Params& params_;
    double fps_ = 24.0;
};

// Line and column (both from 1) of a byte offset, counted from 1 as
// nlohmann reports it (the offset of the last byte read).
std::pair<std::size_t, std::size_t> lineAndColumn(const std::string& text, std::size_t byte) {
    std::size_t line = 1;
    std::size_t column = 1;
    const std::size_t end = std::min(byte > 0 ? byte - 1 : 0, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

// nlohmann's message without its "[json.exception...] parse error at ...: " prefix.
std::string reason(const std::string& message) {
    const std::size_t colon = message.find(": ");
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

}  // namespace

Job parseScene(const std::string& content, const std::string& name, const Controls& controls) {
    json root;
    try {
        root = json::parse(content);
    } catch (const json::parse_error& e) {
        const auto [line, column] = lineAndColumn(content, e.byte);
        throw InputError(name + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + reason(e.what()));
    } catch (const json::out_of_range& e) {
        // A number beyond a double ("1e999") is refused by the reader itself.
        const std::string what = e.what();
        const std::size_t end = what.find("] ");
        throw InputError(name + ": " + (end == std::string::npos ? what : what.substr(end + 2)));
    }
    SceneReader reader(name, controls);
    Job job = reader.read(root);
    if (job.output.empty()) {
        job.output = (name == kStandardInputName ? std::string("scene") : std::filesystem::path(name).stem().string()) +
                     "_####.png";
    }
    return job;
}

Job readScene(const std::string& path, const Controls& controls) {
    const bool from_stdin = path == "-";
    const std::string name = from_stdin ? kStandardInputName : path;
    int fd = STDIN_FILENO;
    if (!from_stdin) {
        // Opened without waiting: a FIFO with no writer must not hang the
        // tool before it is refused.
        fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            throw InputError(path + ": cannot read the scene file: " + std::strerror(errno));
        }
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            const std::string what =
                S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file (use --scene - for standard input)";
            throw InputError(path + ": cannot read the scene file: " + what);
        }
        if (st.st_size > static_cast<off_t>(kMaxSceneBytes)) {
            close(fd);
            throw InputError(path + ": cannot read the scene file: it is larger than " +
                             std::to_string(kMaxSceneBytes >> 20) + " MB, the most a scene file may be");
        }
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    // Read to the limit and one byte more: a file that grows while it is
    // read, or a stream without end, is refused all the same.
    std::string content;
    char buffer[65536];
    int error = 0;
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
        if (content.size() > kMaxSceneBytes) {
            break;
        }
    }
    if (!from_stdin) {
        close(fd);
    }
    if (error != 0) {
        throw InputError(name + ": cannot read the scene file: " + std::strerror(error));
    }
    if (content.size() > kMaxSceneBytes) {
        throw InputError(name + ": cannot read the scene file: it is larger than " +
                         std::to_string(kMaxSceneBytes >> 20) + " MB, the most a scene file may be");
    }
    return parseScene(content, name, controls);
}

}  // namespace minihost::preview
