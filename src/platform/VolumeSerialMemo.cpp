#include "platform/VolumeSerialMemo.h"

namespace bastion::platform {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring_view WithoutTrailingSeparators(std::wstring_view path) {
    while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
    return path;
}

}  // namespace

std::optional<std::uint32_t> VolumeSerialMemo::Find(std::wstring_view folder) {
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
    uses_.splice(uses_.begin(), uses_, parent->second.use);
    return parent->second.serial;
}

void VolumeSerialMemo::Remember(std::wstring_view folder, std::uint32_t serial,
                                std::vector<std::wstring> plainSubfolders) {
    std::wstring key(WithoutTrailingSeparators(folder));
    auto known = folders_.find(key);
    if (known != folders_.end()) {
        uses_.erase(known->second.use);
        folders_.erase(known);
    }
    if (plainSubfolders.empty()) return;
    if (folders_.size() >= kFolders) {
        folders_.erase(uses_.back());
        uses_.pop_back();
    }
    uses_.push_front(key);
    Folder& entry = folders_[std::move(key)];
    entry.serial = serial;
    entry.use = uses_.begin();
    for (std::wstring& name : plainSubfolders) entry.plainSubfolders.insert(std::move(name));
}

}  // namespace bastion::platform
