// Where an output file name leads, decided before anything is written.
//
// A regular file, or a name nothing has yet, is replaced whole: the picture
// goes to a temporary file in the same folder, renamed over the name once
// complete. A symbolic link is followed to the end of its chain and its
// target treated the same way, so the link stays a link. A character device
// (/dev/null), a FIFO or a socket cannot be replaced and is written in place.
// "-" is standard output. Folders, block devices and link loops are refused.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace minihost::preview {

enum class TargetKind {
    kReplace,  // regular file or nothing yet: temporary file, then rename
    kInPlace,  // character device or FIFO: opened and written as it is
    kSocket,   // a Unix socket: connected to and written
    kStdout,   // "-"
};

struct OutputTarget {
    TargetKind kind = TargetKind::kReplace;
    std::string path;  // what is written or renamed over: the link's target for a link
};

// Decides; throws InputError naming name and the reason for a folder, a
// block device or a link chain that does not end.
OutputTarget resolveOutputTarget(const std::string& name);

// Creates the folders that lead to path (not path itself) when missing;
// throws InputError naming path when one cannot be made.
void makeParentFolders(const std::string& path);

// Checks, before any frame is rendered, that the files can be written:
// their folders exist or can be made, and may be written in. Throws
// InputError with one line naming the first that fails.
void checkOutputFolders(const std::vector<std::string>& files);

// Refuses an output that is one of the inputs (same device and inode),
// so that no run overwrites its own font or scene file. inputs: what each
// is ("the font file") and its path; paths that are not files are skipped.
void refuseInputsAsOutputs(const std::vector<std::string>& files,
                           const std::vector<std::pair<std::string, std::string>>& inputs);

// True when the name leads to something written in place or to standard
// output rather than a PNG file of its own.
bool isStreamTarget(const std::string& name);

}  // namespace minihost::preview
