#include "tools/preview/output_target.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "tools/preview/preview_error.h"

namespace minihost::preview {
namespace {

// Symbolic links followed before a chain counts as a loop (the system's own limit).
constexpr int kMaxLinkHops = 40;

[[noreturn]] void refuse(const std::string& name, const std::string& why) {
    throw InputError("cannot write \"" + name + "\": " + why);
}

// What an existing, non-link entry allows.
OutputTarget classify(const struct stat& st, const std::string& name, const std::string& path) {
    if (S_ISREG(st.st_mode)) {
        return {TargetKind::kReplace, path};
    }
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
        return {TargetKind::kInPlace, path};
    }
    if (S_ISSOCK(st.st_mode)) {
        return {TargetKind::kSocket, path};
    }
    if (S_ISDIR(st.st_mode)) {
        refuse(name, "it is a folder");
    }
    refuse(name, S_ISBLK(st.st_mode) ? "it is a block device" : "it is not a file");
}

std::string readLink(const std::string& link, const std::string& name) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(link.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
        refuse(name, "cannot read the symbolic link \"" + link + "\"");
    }
    target.resize(static_cast<std::size_t>(n));
    const std::filesystem::path t(target);
    return t.is_absolute() ? target : (std::filesystem::path(link).parent_path() / t).string();
}

// A link chain that ends in nothing: the name at its end, to be created.
std::string danglingEnd(const std::string& name) {
    std::string path = name;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) {
            return path;
        }
        if (!S_ISLNK(st.st_mode)) {
            return path;
        }
        path = readLink(path, name);
    }
    refuse(name, "too many levels of symbolic links");
}

}  // namespace

OutputTarget resolveOutputTarget(const std::string& name) {
    if (name == "-") {
        return {TargetKind::kStdout, name};
    }
    struct stat st {};
    if (lstat(name.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            return {TargetKind::kReplace, name};
        }
        refuse(name, std::strerror(errno));
    }
    if (!S_ISLNK(st.st_mode)) {
        return classify(st, name, name);
    }
    // A link: what it leads to decides. The system follows the chain itself,
    // also through links of its own such as /dev/stdout.
    if (stat(name.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            return classify(st, name, name);
        }
        char* real = realpath(name.c_str(), nullptr);
        if (real == nullptr) {
            refuse(name, std::strerror(errno));
        }
        const std::string target = real;
        std::free(real);
        return {TargetKind::kReplace, target};
    }
    if (errno == ENOENT) {
        return {TargetKind::kReplace, danglingEnd(name)};
    }
    refuse(name, std::strerror(errno));
}

void makeParentFolders(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) {
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    if (ec) {
        refuse(path, "cannot make the folder \"" + parent.string() + "\": " + ec.message());
    }
}

void checkOutputFolders(const std::vector<std::string>& files) {
    std::vector<std::string> seen;
    for (const std::string& file : files) {
        if (isStreamTarget(file)) {
            continue;
        }
        // The folder as named: a file of its own that is in the way (a
        // folder where a frame should go) is that frame's failure alone.
        const std::string folder = std::filesystem::path(file).parent_path().string();
        if (std::find(seen.begin(), seen.end(), folder) != seen.end()) {
            continue;
        }
        seen.push_back(folder);
        makeParentFolders(file);
        if (access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
            refuse(file, "the folder \"" + (folder.empty() ? std::string(".") : folder) +
                             "\" cannot be written in: " + std::strerror(errno));
        }
    }
}

void refuseInputsAsOutputs(const std::vector<std::string>& files,
                           const std::vector<std::pair<std::string, std::string>>& inputs) {
    std::vector<std::pair<std::string, struct stat>> known;
    for (const auto& [what, path] : inputs) {
        struct stat st {};
        if (!path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            known.emplace_back(what, st);
        }
    }
    if (known.empty()) {
        return;
    }
    std::string last;
    for (const std::string& file : files) {
        struct stat st {};
        if (file == last || stat(file.c_str(), &st) != 0) {
            continue;
        }
        last = file;
        for (const auto& [what, input] : known) {
            if (st.st_dev == input.st_dev && st.st_ino == input.st_ino) {
                refuse(file, "it is " + what + ", an input of this run");
            }
        }
    }
}

bool isStreamTarget(const std::string& name) {
    if (name == "-") {
        return true;
    }
    struct stat st {};
    return stat(name.c_str(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

}  // namespace minihost::preview
