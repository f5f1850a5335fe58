// Runs the built preview tool as a user would and collects what it said.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

#include "scratch_dir.h"

struct ToolRun {
    int exit_code = -1;  // -1 when it did not exit normally (crash, signal)
    int signal = 0;      // the signal that ended it, or 0
    std::string out;
    std::string err;
};

// The tool started and still running; finish() waits for it.
class RunningTool {
public:
    RunningTool(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::string& stdin_path = "/dev/null");
    ~RunningTool();
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;
    pid_t pid() const { return pid_; }
    ToolRun finish();

private:
    ScratchDir capture_;
    pid_t pid_ = -1;
};

// Runs the tool with args in folder cwd; stdin is empty unless a file is
// named for it.
ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::string& stdin_path = "/dev/null");
