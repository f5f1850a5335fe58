#include "tool_run.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

RunningTool::RunningTool(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                         const std::string& stdin_path) {
    const std::string out_path = (capture_.path() / "out").string();
    const std::string err_path = (capture_.path() / "err").string();
    std::vector<std::string> argv_text = {QA_PREVIEW_PATH};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        const int in = open(stdin_path.c_str(), O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || chdir(cwd.c_str()) != 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0) {
            _exit(127);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
}

RunningTool::~RunningTool() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

ToolRun RunningTool::finish() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    ToolRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.out = slurp(capture_.path() / "out");
    run.err = slurp(capture_.path() / "err");
    return run;
}

ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& cwd, const std::string& stdin_path) {
    return RunningTool(args, cwd, stdin_path).finish();
}
