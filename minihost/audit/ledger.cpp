#include "minihost/audit/ledger.h"

#include <cstring>
#include <set>
#include <stdexcept>

namespace minihost {

std::string commandName(PF_Cmd cmd) {
    static const char* const kNames[] = {"PF_Cmd_ABOUT",
                                         "PF_Cmd_GLOBAL_SETUP",
                                         "PF_Cmd_UNUSED_0",
                                         "PF_Cmd_GLOBAL_SETDOWN",
                                         "PF_Cmd_PARAMS_SETUP",
                                         "PF_Cmd_SEQUENCE_SETUP",
                                         "PF_Cmd_SEQUENCE_RESETUP",
                                         "PF_Cmd_SEQUENCE_FLATTEN",
                                         "PF_Cmd_SEQUENCE_SETDOWN",
                                         "PF_Cmd_DO_DIALOG",
                                         "PF_Cmd_FRAME_SETUP",
                                         "PF_Cmd_RENDER",
                                         "PF_Cmd_FRAME_SETDOWN",
                                         "PF_Cmd_USER_CHANGED_PARAM",
                                         "PF_Cmd_UPDATE_PARAMS_UI",
                                         "PF_Cmd_EVENT",
                                         "PF_Cmd_GET_EXTERNAL_DEPENDENCIES",
                                         "PF_Cmd_COMPLETELY_GENERAL",
                                         "PF_Cmd_QUERY_DYNAMIC_FLAGS",
                                         "PF_Cmd_AUDIO_RENDER",
                                         "PF_Cmd_AUDIO_SETUP",
                                         "PF_Cmd_AUDIO_SETDOWN",
                                         "PF_Cmd_ARBITRARY_CALLBACK",
                                         "PF_Cmd_SMART_PRE_RENDER",
                                         "PF_Cmd_SMART_RENDER"};
    if (cmd >= 0 && cmd < static_cast<PF_Cmd>(sizeof(kNames) / sizeof(kNames[0]))) {
        return kNames[cmd];
    }
    return "command " + std::to_string(cmd);
}

std::string suiteKey(const std::string& name, A_long version) { return name + " v" + std::to_string(version); }

namespace {
int lookup(const std::map<std::string, int>& m, const std::string& key) {
    const auto it = m.find(key);
    return it == m.end() ? 0 : it->second;
}
}  // namespace

int CommandRecord::acquired(const std::string& name, A_long version) const {
    return lookup(suites_acquired, suiteKey(name, version));
}
int CommandRecord::released(const std::string& name, A_long version) const {
    return lookup(suites_released, suiteKey(name, version));
}
int CommandRecord::callCount(const std::string& function) const { return lookup(calls, function); }

const char* internedSuiteName(const char* name) {
    static std::mutex mutex;
    static std::set<std::string, std::less<>> names;
    std::lock_guard lock(mutex);
    return names.emplace(name).first->c_str();
}

CommandTally::Suite& CommandTally::suite(SuiteName id) {
    for (Suite& s : suites) {
        if (s.id.version == id.version && (s.id.name == id.name || std::strcmp(s.id.name, id.name) == 0)) {
            return s;
        }
    }
    if (suites.empty()) {
        suites.reserve(16);  // more than any command acquires
    }
    suites.push_back(Suite{id});
    return suites.back();
}

CommandRecord CommandTally::record() const {
    CommandRecord r;
    r.cmd = cmd;
    r.result = result;
    for (const Suite& s : suites) {
        const std::string key = suiteKey(s.id.name, s.id.version);
        if (s.acquired != 0) {
            r.suites_acquired[key] = s.acquired;
        }
        if (s.released != 0) {
            r.suites_released[key] = s.released;
        }
    }
    for (const std::uint32_t i : release_order) {
        r.release_order.push_back(suiteKey(suites[i].id.name, suites[i].id.version));
    }
    for (std::size_t i = 0; i < kHostFunctionCount; ++i) {
        if (calls[i] != 0) {
            r.calls[nameOf(static_cast<HostFunction>(i))] = calls[i];
        }
    }
    r.effect_refs_obtained = effect_refs_obtained;
    r.effect_refs_disposed = effect_refs_disposed;
    r.streams_obtained = streams_obtained;
    r.streams_disposed = streams_disposed;
    r.outline_sets_obtained = outline_sets_obtained;
    r.outline_sets_disposed = outline_sets_disposed;
    r.worlds_created = worlds_created;
    r.worlds_disposed = worlds_disposed;
    r.world_sizes = world_sizes;
    r.params_checked_out = params_checked_out;
    r.params_checked_in = params_checked_in;
    r.violations = violations;
    return r;
}

std::vector<CommandRecord> Ledger::commands() const {
    std::lock_guard lock(mutex_);
    std::vector<CommandRecord> out;
    out.reserve(commands_.size());
    for (const CommandTally& t : commands_) {
        out.push_back(t.record());
    }
    return out;
}

CommandRecord Ledger::last() const {
    std::lock_guard lock(mutex_);
    if (commands_.empty()) {
        throw std::logic_error("ledger: no command has run");
    }
    return commands_.back().record();
}

std::vector<std::string> Ledger::violations() const {
    std::lock_guard lock(mutex_);
    return violations_;
}

bool Ledger::clean() const {
    std::lock_guard lock(mutex_);
    return violations_.empty();
}

std::string Ledger::report() const {
    std::lock_guard lock(mutex_);
    if (violations_.empty()) {
        return "ledger clean";
    }
    std::string out = std::to_string(violations_.size()) + " host rule violation(s):\n";
    for (const std::string& v : violations_) {
        out += "  " + v + "\n";
    }
    return out;
}

void Ledger::clear() {
    std::lock_guard lock(mutex_);
    commands_.clear();
    violations_.clear();
}

void Ledger::commit(CommandTally tally) {
    std::lock_guard lock(mutex_);
    if (!tally.violations.empty()) {
        const std::string prefix = commandName(tally.cmd) + ": ";
        for (const std::string& v : tally.violations) {
            violations_.push_back(prefix + v);
        }
    }
    commands_.push_back(std::move(tally));
}

void Ledger::addViolation(const std::string& what) {
    std::lock_guard lock(mutex_);
    violations_.push_back(what);
}

}  // namespace minihost
