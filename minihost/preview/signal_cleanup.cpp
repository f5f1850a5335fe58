#include "minihost/preview/signal_cleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace minihost::preview {
namespace {

// Fixed storage, so the handler touches nothing that is ever freed; a slot's
// state says whether its name may be read.
enum SlotState : int { kFree = 0, kFilling = 1, kLive = 2 };
constexpr int kSlots = 1024;

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

Slot g_slots[kSlots];

void onSignal(int sig) {
    for (Slot& s : g_slots) {
        if (s.state.load() == kLive) {
            unlink(s.path);
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

void removeTemporariesOnSignals() {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(sig, &action, nullptr);
    }
}

TemporaryName::TemporaryName(const std::string& pattern) : own_(pattern) {
    if (pattern.size() >= PATH_MAX) {
        return;
    }
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_slots[i].path, pattern.c_str(), pattern.size() + 1);
            g_slots[i].state.store(kLive);
            slot_ = i;
            return;
        }
    }
}

int TemporaryName::create() { return mkstemp(slot_ >= 0 ? g_slots[slot_].path : own_.data()); }

std::string TemporaryName::name() const { return slot_ >= 0 ? std::string(g_slots[slot_].path) : own_; }

TemporaryName::~TemporaryName() { release(); }

void TemporaryName::release() {
    if (slot_ >= 0) {
        g_slots[slot_].state.store(kFree);
        slot_ = -1;
    }
}

}  // namespace minihost::preview
