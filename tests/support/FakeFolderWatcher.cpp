#include "support/FakeFolderWatcher.h"

namespace bastion::testing {

class FakeFolderWatcher::WatchHandle final : public platform::FolderWatch {
public:
    explicit WatchHandle(Watched& watched) : watched_(watched) {}
    ~WatchHandle() override { watched_.alive = false; }

private:
    Watched& watched_;
};

platform::WatchResult FakeFolderWatcher::Watch(const std::string& folder, bool subfolders,
                                               std::function<void(platform::FolderChanges)> onChanges) {
    if (auto failure = refused.find(folder); failure != refused.end()) return {nullptr, failure->second};
    watches_.push_back(std::make_unique<Watched>(Watched{folder, subfolders, std::move(onChanges), true}));
    return {std::make_unique<WatchHandle>(*watches_.back()), platform::WatchFailure::None};
}

const FakeFolderWatcher::Watched* FakeFolderWatcher::WatchOf(const std::string& folder) const {
    for (const auto& watched : watches_) {
        if (watched->alive && watched->folder == folder) return watched.get();
    }
    return nullptr;
}

std::vector<std::string> FakeFolderWatcher::WatchedFolders() const {
    std::vector<std::string> folders;
    for (const auto& watched : watches_) {
        if (watched->alive) folders.push_back(watched->folder);
    }
    return folders;
}

bool FakeFolderWatcher::Tell(const std::string& folder, std::vector<std::string> paths, bool overflowed) {
    const Watched* watched = WatchOf(folder);
    if (!watched) return false;
    platform::FolderChanges changes;
    changes.paths = std::move(paths);
    changes.overflowed = overflowed;
    // A copy: the owner may end the watch while it hears of the changes.
    auto tell = watched->onChanges;
    tell(std::move(changes));
    return true;
}

}  // namespace bastion::testing
