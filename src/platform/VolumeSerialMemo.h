// The volume serial numbers of folders listed lately, so that listing a
// folder need not ask the volume for it again. Asking is costly (under Wine
// each question crosses to the mount manager, a good part of a millisecond),
// and a walk lists every folder of a drive. A subfolder that is not a
// reparse point (no junction, mount point or link) lies on its parent's
// volume: its serial is the parent's. Anything else is asked for.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace bastion::platform {

class VolumeSerialMemo {
public:
    // The serial of the folder (a path with or without trailing separators),
    // when its parent is remembered and had it as a plain subfolder.
    std::optional<std::uint32_t> Find(std::wstring_view folder);

    // After listing a folder: its serial and the names of its subfolders
    // that are not reparse points. A folder without such subfolders is the
    // parent of nothing to come and is not kept.
    void Remember(std::wstring_view folder, std::uint32_t serial, std::vector<std::wstring> plainSubfolders);

    // Past this many folders the one used least lately is forgotten. A walk
    // uses a folder each time it lists one of its subfolders, so the folders
    // above the one being walked stay.
    static constexpr std::size_t kFolders = 1024;

    std::size_t Size() const { return folders_.size(); }

private:
    struct Folder {
        std::uint32_t serial = 0;
        std::unordered_set<std::wstring> plainSubfolders;
        std::list<std::wstring>::iterator use;
    };

    std::unordered_map<std::wstring, Folder> folders_;
    // Paths of the folders kept, the one used last in front.
    std::list<std::wstring> uses_;
};

}  // namespace bastion::platform
