#include "minihost/core/detail/call_context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "minihost/core/host.h"
#include "minihost/pixels/world.h"

namespace minihost::detail {
namespace {

thread_local CallContext* t_current = nullptr;

A_long scaledUp(int length, const PF_RationalScale& ds) {
    if (ds.den == 0) {
        return 0;
    }
    return static_cast<A_long>(std::ceil(length * static_cast<double>(ds.num) / static_cast<double>(ds.den)));
}

std::string plural(std::size_t n, const char* what) { return std::to_string(n) + " " + what; }

// The entry of a handle in one of the context's lists of owned objects.
template <typename T>
auto findOwned(std::vector<std::unique_ptr<T>>& objects, const void* handle) {
    return std::find_if(objects.begin(), objects.end(),
                        [handle](const std::unique_ptr<T>& o) { return o.get() == handle; });
}

}  // namespace

CallContext::CallContext(Host& host, PF_Cmd cmd, const HostConfig& config, PF_OutData* out_data, FrameState* frame)
    : host_(host), cmd_(cmd), config_(config), out_data_(out_data), frame_(frame), previous_(t_current) {
    record_.cmd = cmd;
    fillUtilCallbacks(utils_);
    basic_ = basicSuite();

    PF_InData& in = in_data_;
    in.inter = interactCallbacks();
    in.utils = &utils_;
    in.effect_ref = ref();
    in.quality = config.quality;
    in.version = PF_SpecVersion{config.api_major, config.api_minor};
    in.serial_num = 1;
    in.appl_id = config.appl_id;
    in.num_params = host.params().count();
    in.current_time = config.current_time;
    in.time_step = config.time_step;
    in.total_time = config.total_time;
    in.local_time_step = config.time_step;
    in.time_scale = config.time_scale;
    in.field = config.field;
    in.width = scaledUp(host.layer().compWidth(), config.downsample_x);
    in.height = scaledUp(host.layer().compHeight(), config.downsample_y);
    in.extent_hint = PF_Rect{0, 0, in.width, in.height};
    in.downsample_x = config.downsample_x;
    in.downsample_y = config.downsample_y;
    in.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in.pica_basicP = &basic_;
    t_current = this;
}

CallContext::~CallContext() {
    t_current = previous_;
    // Worlds the plug-in leaked: the leak is on record, the memory goes back.
    for (PF_EffectWorld& world : worlds_) {
        freeWorld(world);
    }
}

CallContext* CallContext::current() { return t_current; }

A_Err CallContext::onCall(HostFunction function) {
    ++record_.calls[indexOf(function)];
    return host_.faults().onCall(function);
}

void CallContext::violation(const std::string& what) { record_.violations.push_back(what); }

void CallContext::violationInCall(const std::string& what) { violation(std::string(nameOf(function_)) + ": " + what); }

void CallContext::reject(const std::string& what, A_Err err) {
    violationInCall(what);
    throw HostFault{err};
}

void CallContext::checkRef(PF_ProgPtr effect_ref) {
    if (effect_ref != ref()) {
        reject("effect_ref is not the one this call handed out", PF_Err_BAD_CALLBACK_PARAM);
    }
}

void CallContext::checkLayer(AEGP_LayerH layer) {
    if (layer != layerHandle()) {
        reject("layer handle is not the one AEGP_GetEffectLayer handed out in this call", A_Err_PARAMETER);
    }
}

void CallContext::checkCommand(std::initializer_list<PF_Cmd> allowed) {
    for (PF_Cmd c : allowed) {
        if (c == cmd_) {
            return;
        }
    }
    reject("not allowed during " + commandName(cmd_), PF_Err_BAD_CALLBACK_PARAM);
}

FrameState& CallContext::requireFrame() {
    if (frame_ == nullptr) {
        reject("no frame: the command was sent without the host's render records", PF_Err_BAD_CALLBACK_PARAM);
    }
    return *frame_;
}

void CallContext::suiteAcquired(SuiteName suite) {
    CommandTally::Suite& s = record_.suite(suite);
    ++s.acquired;
    ++s.held;
}

bool CallContext::suiteReleased(SuiteName suite) {
    CommandTally::Suite& s = record_.suite(suite);
    ++s.released;
    if (record_.release_order.empty()) {
        record_.release_order.reserve(16);
    }
    record_.release_order.push_back(static_cast<std::uint32_t>(&s - record_.suites.data()));
    if (s.held == 0) {
        return false;
    }
    --s.held;
    return true;
}

AEGP_EffectRefH CallContext::newEffectRef() {
    auto obj = std::make_unique<EffectRefObject>();
    auto* h = reinterpret_cast<AEGP_EffectRefH>(obj.get());
    effect_refs_.push_back(std::move(obj));
    ++record_.effect_refs_obtained;
    return h;
}

bool CallContext::liveEffectRef(AEGP_EffectRefH ref) const {
    const void* handle = ref;
    return std::any_of(effect_refs_.begin(), effect_refs_.end(),
                       [handle](const std::unique_ptr<EffectRefObject>& o) { return o.get() == handle; });
}

bool CallContext::disposeEffectRef(AEGP_EffectRefH ref) {
    const auto it = findOwned(effect_refs_, ref);
    if (it == effect_refs_.end()) {
        return false;
    }
    effect_refs_.erase(it);
    ++record_.effect_refs_disposed;
    return true;
}

AEGP_StreamRefH CallContext::newStream(PF_ParamIndex index) {
    auto obj = std::make_unique<StreamObject>(StreamObject{index});
    auto* h = reinterpret_cast<AEGP_StreamRefH>(obj.get());
    streams_.push_back(std::move(obj));
    ++record_.streams_obtained;
    return h;
}

StreamObject* CallContext::liveStream(AEGP_StreamRefH stream) {
    const auto it = findOwned(streams_, stream);
    return it == streams_.end() ? nullptr : it->get();
}

bool CallContext::disposeStream(AEGP_StreamRefH stream) {
    const auto it = findOwned(streams_, stream);
    if (it == streams_.end()) {
        return false;
    }
    streams_.erase(it);
    ++record_.streams_disposed;
    return true;
}

AEGP_TextOutlinesH CallContext::newOutlineSet(std::vector<Glyph> glyphs) {
    auto obj = std::make_unique<OutlineSetObject>();
    std::size_t outlines = 0;
    for (const Glyph& g : glyphs) {
        outlines += g.contours.size();
    }
    obj->outlines.reserve(outlines);
    for (Glyph& g : glyphs) {
        for (Contour& c : g.contours) {
            obj->outlines.push_back(OutlineObject{std::move(c)});
        }
    }
    auto* h = reinterpret_cast<AEGP_TextOutlinesH>(obj.get());
    outline_sets_.push_back(std::move(obj));
    ++record_.outline_sets_obtained;
    return h;
}

OutlineSetObject* CallContext::liveOutlineSet(AEGP_TextOutlinesH set) {
    const auto it = findOwned(outline_sets_, set);
    return it == outline_sets_.end() ? nullptr : it->get();
}

bool CallContext::disposeOutlineSet(AEGP_TextOutlinesH set) {
    const auto it = findOwned(outline_sets_, set);
    if (it == outline_sets_.end()) {
        return false;
    }
    outline_sets_.erase(it);
    ++record_.outline_sets_disposed;
    return true;
}

OutlineObject* CallContext::liveOutline(PF_PathOutlinePtr outline) {
    // An outline of a live set is an element of that set's array: its
    // address lies within the array, on an element's first byte.
    const auto at = reinterpret_cast<std::uintptr_t>(outline);
    for (const std::unique_ptr<OutlineSetObject>& set : outline_sets_) {
        std::vector<OutlineObject>& outlines = set->outlines;
        if (outlines.empty()) {
            continue;
        }
        const auto first = reinterpret_cast<std::uintptr_t>(outlines.data());
        if (at >= first && at - first < outlines.size() * sizeof(OutlineObject) &&
            (at - first) % sizeof(OutlineObject) == 0) {
            return &outlines[(at - first) / sizeof(OutlineObject)];
        }
    }
    return nullptr;
}

void CallContext::worldCreated(const PF_EffectWorld& world) {
    worlds_.push_back(world);
    ++record_.worlds_created;
    record_.world_sizes.emplace_back(world.width, world.height);
}

bool CallContext::worldDisposed(const PF_EffectWorld& world) {
    const auto it = std::find_if(worlds_.begin(), worlds_.end(),
                                 [&world](const PF_EffectWorld& w) { return w.data == world.data; });
    if (world.data == nullptr || it == worlds_.end()) {
        return false;
    }
    worlds_.erase(it);
    ++record_.worlds_disposed;
    return true;
}

bool CallContext::knownWorld(const PF_EffectWorld* world) const {
    if (world == nullptr) {
        return false;
    }
    if (frame_ != nullptr) {
        if ((frame_->input && world == frame_->input->pf()) || (frame_->output && world == frame_->output->pf())) {
            return true;
        }
    }
    return world->data != nullptr && std::any_of(worlds_.begin(), worlds_.end(),
                                                 [world](const PF_EffectWorld& w) { return w.data == world->data; });
}

void CallContext::paramCheckedOut(const PF_ParamDef* def, PF_ParamIndex index) {
    const auto held =
        std::find_if(checked_out_.begin(), checked_out_.end(), [def](const CheckedOut& c) { return c.def == def; });
    if (held != checked_out_.end()) {
        violation("checkout_param: parameter " + std::to_string(index) +
                  " checked out into a definition that still holds a checkout");
        held->index = index;
    } else {
        if (checked_out_.empty()) {
            checked_out_.reserve(static_cast<std::size_t>(std::max(1, host_.params().count())));
        }
        checked_out_.push_back({def, index});
    }
    ++record_.params_checked_out;
}

bool CallContext::paramCheckedIn(const PF_ParamDef* def) {
    const auto it =
        std::find_if(checked_out_.begin(), checked_out_.end(), [def](const CheckedOut& c) { return c.def == def; });
    if (it == checked_out_.end()) {
        return false;
    }
    checked_out_.erase(it);
    ++record_.params_checked_in;
    return true;
}

PF_ParamDef** CallContext::paramArray() {
    const Params& params = host_.params();
    const double seconds = config_.time_scale == 0
                               ? 0.0
                               : static_cast<double>(config_.current_time) / static_cast<double>(config_.time_scale);
    param_copies_.clear();
    choice_texts_.clear();
    for (int i = 0; i < params.count(); ++i) {
        // A popup's namesptr is the host's own choice buffer.
        param_copies_.push_back(params.definitionAt(i, seconds));
        if (param_copies_.back().param_type == PF_Param_POPUP) {
            choice_texts_.push_back(ChoiceText{i, params.choices(i)});
        }
    }
    param_pointers_.clear();
    for (PF_ParamDef& def : param_copies_) {
        param_pointers_.push_back(&def);
    }
    return param_pointers_.data();
}

CommandTally CallContext::finish(PF_Err result) {
    record_.result = result;
    for (const CommandTally::Suite& s : record_.suites) {
        if (s.held > 0) {
            violation(suiteKey(s.id.name, s.id.version) + " acquired " + std::to_string(s.held) +
                      " more time(s) than released");
        }
    }
    if (!effect_refs_.empty()) {
        violation(plural(effect_refs_.size(), "effect reference(s) never disposed of (AEGP_DisposeEffect)"));
    }
    if (!streams_.empty()) {
        violation(plural(streams_.size(), "stream reference(s) never disposed of (AEGP_DisposeStream)"));
    }
    if (!outline_sets_.empty()) {
        violation(plural(outline_sets_.size(), "text outline set(s) never disposed of (AEGP_DisposeTextOutlines)"));
    }
    if (!worlds_.empty()) {
        violation(plural(worlds_.size(), "world(s) never disposed of (PF_DisposeWorld)"));
    }
    for (const CheckedOut& c : checked_out_) {
        violation("parameter " + std::to_string(c.index) + " checked out but never checked in");
    }
    for (const int index : host_.params().overrunChoices()) {
        violation("the effect wrote past the end of the host's choice text of parameter " + std::to_string(index));
    }
    // New choices are written where the panel may be updated, nowhere else.
    if (cmd_ != PF_Cmd_UPDATE_PARAMS_UI && cmd_ != PF_Cmd_USER_CHANGED_PARAM && cmd_ != PF_Cmd_EVENT) {
        for (const ChoiceText& text : choice_texts_) {
            if (host_.params().choices(text.index) != text.original) {
                violation("the effect wrote into the host's choice text of parameter " + std::to_string(text.index) +
                          " during " + commandName(cmd_) + " (was \"" + text.original + "\")");
            }
        }
    }
    return std::move(record_);
}

}  // namespace minihost::detail
