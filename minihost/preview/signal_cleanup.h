// Temporary files removed when Ctrl-C (SIGINT), SIGTERM, SIGHUP or SIGPIPE
// ends the tool part-way: each TempFile registers its name while it exists.
// The handler only unlinks what is registered, then lets the signal end the
// process as it would have (same status).
#pragma once

namespace minihost::preview {

// Installs the handler; call once, before any file is written.
void removeTemporariesOnSignals();

// A registered name; registration fails quietly when every slot is taken
// (thousands of files at once), and then the file is only removed the
// ordinary way.
class TemporaryName {
public:
    explicit TemporaryName(const char* path);
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    // The file is gone or renamed: the handler must leave the name alone.
    void release();

private:
    int slot_ = -1;
};

}  // namespace minihost::preview
