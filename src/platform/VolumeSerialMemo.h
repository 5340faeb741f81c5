// The volume serial numbers of folders listed lately, so that listing a
// folder need not ask the volume for it again. Asking is costly (under Wine
// each question crosses to the mount manager, a good part of a millisecond),
// and a walk lists every folder of a drive. A subfolder that is not a
// reparse point (no junction, mount point or link) lies on its parent's
// volume: its serial is the parent's. Anything else is asked for.
#pragma once

#include <cstdint>
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
    // when its parent was remembered and had it as a plain subfolder.
    std::optional<std::uint32_t> Find(std::wstring_view folder) const;

    // After listing a folder: its serial and the names of its subfolders
    // that are not reparse points. Past a bound the memo starts afresh, so a
    // walk of a whole drive keeps it small.
    void Remember(std::wstring_view folder, std::uint32_t serial, std::vector<std::wstring> plainSubfolders);

private:
    struct Folder {
        std::uint32_t serial = 0;
        std::unordered_set<std::wstring> plainSubfolders;
    };
    static constexpr std::size_t kFolders = 1024;

    std::unordered_map<std::wstring, Folder> folders_;
};

}  // namespace bastion::platform
