#include "tools/preview/signal_cleanup.h"

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

std::atomic<const std::atomic<int>*> g_written{nullptr};
std::atomic<std::atomic<bool>*> g_line_open{nullptr};
std::atomic<int> g_total{0};

// Appends n in decimal; only what a signal handler may call.
char* appendNumber(char* at, int n) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0 && count < 16);
    while (count > 0) {
        *at++ = digits[--count];
    }
    return at;
}

char* appendText(char* at, const char* text) {
    while (*text != '\0') {
        *at++ = *text++;
    }
    return at;
}

// "quillarray-preview: interrupted: 12 of 300 frames written", after ending
// the progress bar's line.
void reportFrames() {
    const std::atomic<int>* written = g_written.load();
    if (written == nullptr) {
        return;
    }
    char line[160];
    char* at = line;
    if (std::atomic<bool>* open = g_line_open.load(); open != nullptr && open->load()) {
        *at++ = '\n';
    }
    at = appendText(at, "quillarray-preview: interrupted: ");
    at = appendNumber(at, written->load());
    at = appendText(at, " of ");
    at = appendNumber(at, g_total.load());
    at = appendText(at, " frames written\n");
    const ssize_t ignored = write(STDERR_FILENO, line, static_cast<std::size_t>(at - line));
    (void)ignored;
}

void onSignal(int sig) {
    for (Slot& s : g_slots) {
        if (s.state.load() == kLive) {
            unlink(s.path);
        }
    }
    if (sig != SIGPIPE) {
        reportFrames();
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

void reportFramesOnSignal(const std::atomic<int>* written, int total, std::atomic<bool>* line_open) {
    g_written.store(nullptr);
    g_total.store(total);
    g_line_open.store(line_open);
    g_written.store(written);
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
