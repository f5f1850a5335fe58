// The host's account of what the plug-in took and gave back.
//
// Every command the host sends gets one CommandRecord: how often each suite
// (by registration string and version) was acquired and released, how many
// effect references, stream references, outline sets and worlds were
// obtained and disposed of, how many parameters were checked out and in, and
// how often each host function was called. At the end of the command the
// host adds a violation for every imbalance (a suite never released, a world
// leaked, a parameter not checked in); broken argument rules (an index out of
// range, a null world, a one-to-one copy of the wrong size, a handle used
// after it was disposed of, ...) are added as they happen.
//
// Thread-safe: frames rendered at once each keep their own record and hand
// it in here when their command ends.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "AE_Effect.h"
#include "minihost/core/host_function.h"

namespace minihost {

/// "PF_Cmd_SMART_RENDER", ..., or "command 42".
std::string commandName(PF_Cmd cmd);

/// Key of a suite in CommandRecord's maps: "PF ANSI Suite v1".
std::string suiteKey(const std::string& name, A_long version);

struct CommandRecord {
    PF_Cmd cmd = 0;
    PF_Err result = PF_Err_NONE;
    std::map<std::string, int> suites_acquired;  // by suiteKey; successful acquisitions only
    std::map<std::string, int> suites_released;
    std::vector<std::string> release_order;  // suiteKey of every release, in call order
    std::map<std::string, int> calls;        // host function name -> calls
    int effect_refs_obtained = 0, effect_refs_disposed = 0;
    int streams_obtained = 0, streams_disposed = 0;
    int outline_sets_obtained = 0, outline_sets_disposed = 0;
    int worlds_created = 0, worlds_disposed = 0;
    /// Width and height of every world made with PF_NewWorld, in order.
    std::vector<std::pair<A_long, A_long>> world_sizes;
    int params_checked_out = 0, params_checked_in = 0;
    std::vector<std::string> violations;

    int acquired(const std::string& name, A_long version) const;
    int released(const std::string& name, A_long version) const;
    int callCount(const std::string& function) const;
};

/// A suite as the host counts it while a command runs: its registration
/// string, which the host keeps for as long as the process lives (the
/// suite table's own string, or one interned by internedSuiteName), and its
/// version.
struct SuiteName {
    const char* name;
    A_long version;
};

/// A registration string the host has no table for, kept for the rest of
/// the process (only releases of suites never acquired need one).
const char* internedSuiteName(const char* name);

/// What a command leaves in the ledger, as the host counts it while the
/// command runs: counts by suite and by host function rather than maps keyed
/// by strings, so that a command allocates next to nothing for its
/// bookkeeping. The ledger makes a CommandRecord from it when asked.
struct CommandTally {
    struct Suite {
        SuiteName id;
        int acquired = 0;  // successful acquisitions
        int released = 0;  // every release, also of a suite not held
        int held = 0;      // acquired less the releases that gave one back
    };
    PF_Cmd cmd = 0;
    PF_Err result = PF_Err_NONE;
    std::vector<Suite> suites;                 // in order of first use
    std::vector<std::uint32_t> release_order;  // index into suites of every release
    std::array<int, kHostFunctionCount> calls{};
    int effect_refs_obtained = 0, effect_refs_disposed = 0;
    int streams_obtained = 0, streams_disposed = 0;
    int outline_sets_obtained = 0, outline_sets_disposed = 0;
    int worlds_created = 0, worlds_disposed = 0;
    std::vector<std::pair<A_long, A_long>> world_sizes;
    int params_checked_out = 0, params_checked_in = 0;
    std::vector<std::string> violations;

    /// The suite's entry, added on first use.
    Suite& suite(SuiteName id);
    CommandRecord record() const;
};

class Ledger {
public:
    /// Every command so far, in the order they ended.
    std::vector<CommandRecord> commands() const;
    /// The record of the command that ended last; throws std::logic_error
    /// when there is none.
    CommandRecord last() const;
    /// Every violation so far, each prefixed with its command's name.
    std::vector<std::string> violations() const;
    bool clean() const;
    /// Human-readable list of the violations, for test failure messages.
    std::string report() const;
    /// Forgets every record and violation.
    void clear();

    // Host side.
    void commit(CommandTally tally);
    void addViolation(const std::string& what);

private:
    mutable std::mutex mutex_;
    std::vector<CommandTally> commands_;
    std::vector<std::string> violations_;
};

}  // namespace minihost
