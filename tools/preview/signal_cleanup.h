// Temporary files removed when Ctrl-C (SIGINT), SIGTERM, SIGHUP or SIGPIPE
// ends the tool part-way: each TempFile registers its name while it exists.
// The handler only unlinks what is registered (and, during a scene, writes
// one summary line), then lets the signal end the process as it would have
// (same status).
#pragma once

#include <atomic>
#include <string>

namespace minihost::preview {

// Installs the handler; call once, before any file is written.
void removeTemporariesOnSignals();

// While a scene renders: the handler also ends an open progress line and
// says in one line how many of total frames were written. nullptr stops it.
void reportFramesOnSignal(const std::atomic<int>* written, int total, std::atomic<bool>* line_open);

// A temporary file's name, registered before the file exists: mkstemp picks
// the name inside the registered storage, so there is no moment in which the
// file exists unknown to the handler. Registration fails quietly when every
// slot is taken (a thousand files at once); that file is then only removed
// the ordinary way.
class TemporaryName {
public:
    // pattern ends in "XXXXXX", as mkstemp takes it.
    explicit TemporaryName(const std::string& pattern);
    // Creates the file (mkstemp): its descriptor, or -1 with errno set.
    int create();
    // The file's name once created.
    std::string name() const;
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    // The file is gone or renamed: the handler must leave the name alone.
    void release();

private:
    int slot_ = -1;
    std::string own_;  // the name when no slot was free
};

}  // namespace minihost::preview
