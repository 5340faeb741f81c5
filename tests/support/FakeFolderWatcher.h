// Folder watching without a system: a test names the folders that cannot
// be watched and the files still being written, and tells the watches what
// changed, as the message loop would.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/FolderWatcher.h"

namespace bastion::testing {

class FakeFolderWatcher final : public platform::FolderWatcher {
public:
    struct Watched {
        std::string folder;
        bool subfolders = false;
        std::function<void(platform::FolderChanges)> onChanges;
        bool alive = true;
    };

    platform::WatchResult Watch(const std::string& folder, bool subfolders,
                                std::function<void(platform::FolderChanges)> onChanges) override;
    bool WriterFinished(const std::string& path) override { return !beingWritten.contains(path); }

    // The live watches of a folder (exactly as it was asked for).
    const Watched* WatchOf(const std::string& folder) const;
    std::vector<std::string> WatchedFolders() const;
    // What the folder's watch tells its owner; false when it is not watched.
    bool Tell(const std::string& folder, std::vector<std::string> paths, bool overflowed = false);

    // Folders whose watch fails, and how.
    std::map<std::string, platform::WatchFailure> refused;
    // Files someone holds open for writing.
    std::set<std::string> beingWritten;

private:
    class WatchHandle;
    std::vector<std::unique_ptr<Watched>> watches_;
};

}  // namespace bastion::testing
