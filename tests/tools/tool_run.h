// Runs the built preview tool as a user would and collects what it said.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "scratch_dir.h"

struct ToolRun {
    int exit_code = -1;  // -1 when it did not exit normally (crash, signal)
    std::string out;
    std::string err;
};

// Runs the tool with args in folder cwd; stdin is empty.
ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& cwd);
