// Watching folders for files that arrive: a file created, written or renamed
// into a watched folder is named to the thread that asked, from its message
// loop, while the waiting itself happens elsewhere. A watch costs nothing
// while nothing changes (no polling); it ends when its owner is destroyed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bastion::platform {

// What a watched folder saw since it last told.
struct FolderChanges {
    // Full paths of the entries created, written or renamed to, each as
    // Windows named it, in the order seen (a path may repeat).
    std::vector<std::string> paths;
    // Changes were lost (the system's buffer overflowed): everything in the
    // folder must be looked at again.
    bool overflowed = false;
    // The watch has ended on its own (the folder was taken away or can no
    // longer be read): nothing more comes.
    bool ended = false;
};

// Why a folder is not watched.
enum class WatchFailure {
    None,
    // No such folder.
    NotFound,
    // The folder lies where Windows cannot watch it (some network shares
    // and redirected folders).
    NotSupported,
    // The folder could not be opened: no access, or another failure.
    Failed,
};

// One folder being watched: the watching stops when this is destroyed, and
// no change is told after that.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;
};

struct WatchResult {
    // Null when the folder is not watched.
    std::unique_ptr<FolderWatch> watch;
    WatchFailure failure = WatchFailure::None;
};

class FolderWatcher {
public:
    virtual ~FolderWatcher() = default;

    // Watches the folder (without a trailing backslash), with its
    // subfolders when asked. onChanges runs on the thread that called
    // Watch, while it dispatches window messages, never inside another
    // call of this facility.
    virtual WatchResult Watch(const std::string& folder, bool subfolders,
                              std::function<void(FolderChanges)> onChanges) = 0;

    // The file can be opened for reading while nobody has it open for
    // writing: whoever wrote it has finished. False for a file being
    // written, and for one that cannot be opened at all.
    virtual bool WriterFinished(const std::string& path) = 0;
};

}  // namespace bastion::platform
