#include "minihost/audit/ledger.h"

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

std::vector<CommandRecord> Ledger::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

CommandRecord Ledger::last() const {
    std::lock_guard lock(mutex_);
    if (commands_.empty()) {
        throw std::logic_error("ledger: no command has run");
    }
    return commands_.back();
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

void Ledger::commit(CommandRecord record) {
    std::lock_guard lock(mutex_);
    const std::string prefix = commandName(record.cmd) + ": ";
    for (const std::string& v : record.violations) {
        violations_.push_back(prefix + v);
    }
    commands_.push_back(std::move(record));
}

void Ledger::addViolation(const std::string& what) {
    std::lock_guard lock(mutex_);
    violations_.push_back(what);
}

}  // namespace minihost
