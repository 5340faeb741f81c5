#include "definitions/DefinitionTables.h"

#include <algorithm>

#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kDriveToken = "[drive]";

}  // namespace

bool HoldsDriveToken(std::string_view text) {
    return ContainsIgnoreCase(text, kDriveToken);
}

std::string RowKey(TableKey kind, std::string_view text, std::string_view drive) {
    std::string key = HoldsDriveToken(text) ? ReplaceAllIgnoreCase(text, kDriveToken, drive) : std::string(text);
    key = Trim(ToLower(key));
    if (kind == TableKey::DirFolder && key.size() > 1 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

void DefinitionTable::Add(DefinitionRow row) {
    const auto number = static_cast<std::uint32_t>(rows_.size());
    const std::string& text = kind_ == TableKey::FileName ? row.name : row.folder;
    if (!ended_) {
        next_.push_back(kNone);
        if (HoldsDriveToken(text)) {
            driveRows_.push_back(number);
            driveIndexes_.clear();
        } else {
            std::string key = RowKey(kind_, text, {});
            if (key.empty()) {
                ended_ = true;
            } else {
                const std::uint64_t hash = Hash(key);
                auto [entry, added] = index_.try_emplace(std::move(key));
                if (added) {
                    filter_.Add(hash);
                }
                Chain& chain = entry->second;
                if (chain.last == kNone) {
                    chain.first = number;
                } else {
                    next_[chain.last] = number;
                }
                chain.last = number;
            }
        }
    }
    rows_.push_back(std::move(row));
}

void DefinitionTable::Clear() {
    rows_.clear();
    ended_ = false;
    filter_.Clear();
    index_.clear();
    next_.clear();
    driveRows_.clear();
    driveIndexes_.clear();
}

const DefinitionTable::DriveIndex& DefinitionTable::DriveRows(std::string_view drive, DriveIndex& scratch) const {
    if (auto cached = driveIndexes_.find(drive); cached != driveIndexes_.end()) {
        return cached->second;
    }
    DriveIndex built;
    for (std::uint32_t row : driveRows_) {
        const DefinitionRow& definition = rows_[row];
        std::string key = RowKey(kind_, kind_ == TableKey::FileName ? definition.name : definition.folder, drive);
        if (key.empty()) {
            built.end = row;
            break;
        }
        const std::uint64_t hash = Hash(key);
        built.filter.Add(hash);
        built.keys.push_back({hash, row, std::move(key)});
    }
    std::stable_sort(built.keys.begin(), built.keys.end(),
                     [](const DriveKey& a, const DriveKey& b) { return a.hash < b.hash; });
    if (driveIndexes_.size() >= kCachedDrives) {
        scratch = std::move(built);
        return scratch;
    }
    return driveIndexes_.emplace(std::string(drive), std::move(built)).first->second;
}

void DefinitionTables::Create() {
    files_.Clear();
    directories_.Clear();
    created_ = true;
}

}  // namespace bastion
