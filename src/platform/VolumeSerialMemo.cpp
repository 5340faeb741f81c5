#include "platform/VolumeSerialMemo.h"

namespace bastion::platform {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring_view WithoutTrailingSeparators(std::wstring_view path) {
    while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
    return path;
}

}  // namespace

std::optional<std::uint32_t> VolumeSerialMemo::Find(std::wstring_view folder) const {
    const std::wstring_view path = WithoutTrailingSeparators(folder);
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view name = path.substr(cut + 1);
    // "." and ".." name no subfolder; a listing never offers them as one.
    if (name.empty() || name == L"." || name == L"..") return std::nullopt;
    const auto parent = folders_.find(std::wstring(WithoutTrailingSeparators(path.substr(0, cut))));
    if (parent == folders_.end() || !parent->second.plainSubfolders.contains(std::wstring(name))) {
        return std::nullopt;
    }
    return parent->second.serial;
}

void VolumeSerialMemo::Remember(std::wstring_view folder, std::uint32_t serial,
                                std::vector<std::wstring> plainSubfolders) {
    // Forgetting everything at once is enough: a walk lists a folder's
    // subfolders soon after the folder, so it asks again only for the few
    // folders whose parent went.
    if (folders_.size() >= kFolders) folders_.clear();
    Folder& entry = folders_[std::wstring(WithoutTrailingSeparators(folder))];
    entry.serial = serial;
    entry.plainSubfolders.clear();
    for (std::wstring& name : plainSubfolders) entry.plainSubfolders.insert(std::move(name));
}

}  // namespace bastion::platform
