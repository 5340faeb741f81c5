#include "definitions/DefinitionTables.h"

#include "common/Text.h"
#include "definitions/PathTokens.h"

namespace bastion {

namespace {

constexpr std::string_view kDriveToken = "[drive]";

}  // namespace

bool HoldsDriveToken(std::string_view text) {
    return text.find('[') != std::string_view::npos && ContainsIgnoreCase(text, kDriveToken);
}

std::string RowKey(TableKey kind, std::string_view text, std::string_view drive) {
    std::string key = HoldsDriveToken(text) ? ReplaceDriveToken(text, drive) : std::string(text);
    key = Trim(ToLower(key));
    if (kind == TableKey::DirFolder && key.size() > 1 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

namespace {

// The loader stores names and folders lower-cased and trimmed, so for almost
// every row the key is its text as stored.
bool IsOwnKey(TableKey kind, std::string_view text) {
    if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
    if (kind == TableKey::DirFolder && text.size() > 1 && text.back() == '\\') return false;
    for (char c : text) {
        if ((c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

void DefinitionTable::Add(DefinitionRow row) {
    const auto number = static_cast<std::uint32_t>(rows_.size());
    // Rows never move once added, so the index can refer to a row's own
    // text as its key.
    const DefinitionRow& added = rows_.emplace_back(std::move(row));
    const std::string& text = kind_ == TableKey::FileName ? added.name : added.folder;
    if (HoldsDriveToken(text)) {
        driveRows_.push_back(number);
        driveIndexes_.clear();
    } else if (IsOwnKey(kind_, text)) {
        index_.AddKept(text, number);
    } else if (const std::string key = RowKey(kind_, text, {}); !key.empty()) {
        index_.Add(key, number);
    }
}

void DefinitionTable::Reserve(std::size_t rows) { index_.Reserve(rows, rows); }

void DefinitionTable::Clear() {
    rows_.clear();
    index_.Clear();
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
        const std::string key =
            RowKey(kind_, kind_ == TableKey::FileName ? definition.name : definition.folder, drive);
        if (!key.empty()) built.rows.Add(key, row);
    }
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

void DefinitionTables::Discard() {
    files_.Clear();
    directories_.Clear();
    created_ = false;
}

}  // namespace bastion
