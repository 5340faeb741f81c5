#include "definitions/DefinitionTables.h"

#include "common/Text.h"
#include "definitions/PathTokens.h"

namespace bastion {

namespace {

constexpr std::string_view kDriveToken = "[drive]";

// Row numbers stay below this, so that a directory row's two entries and
// the index's "none" never meet.
constexpr std::size_t kMostRows = std::size_t{1} << 31;

// The loader stores names and folders lower-cased and trimmed, so for almost
// every row the key is its text as stored.
bool LooksLikeOwnKey(TableKey kind, std::string_view text) {
    if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
    if (kind == TableKey::DirFolder && text.size() > 1 && text.back() == '\\') return false;
    for (char c : text) {
        if ((c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

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

bool DefinitionTable::IsOwnKey(std::string_view text) const {
    return LooksLikeOwnKey(kind_, text) || RowKey(kind_, text, {}) == text;
}

const DefinitionTable::FolderTwin* DefinitionTable::TwinOf(std::string_view folder) const {
    for (const FolderTwin& twin : twins_) {
        if (folder.starts_with(twin.native) &&
            (folder.size() == twin.native.size() || folder[twin.native.size()] == '\\')) {
            return &twin;
        }
    }
    return nullptr;
}

std::optional<std::string> DefinitionTable::TwinFolderOf(std::string_view folder) const {
    const FolderTwin* twin = TwinOf(folder);
    if (!twin) return std::nullopt;
    std::string place = twin->thirtyTwoBit;
    place.append(folder.substr(twin->native.size()));
    return place;
}

std::optional<std::string> DefinitionTable::ThirtyTwoBitFolder(std::size_t row) const {
    if ((block_.Flags(row) & kThirtyTwoBitTwin) == 0) return std::nullopt;
    return TwinFolderOf(block_.Folder(row));
}

std::string_view DefinitionTable::KeyText(std::uint32_t row) const {
    if ((block_.Flags(row) & RowBlock::kHasExtra) != 0) return block_.Row(row).extra;
    return kind_ == TableKey::FileName ? block_.Name(row) : block_.Folder(row);
}

bool DefinitionTable::EntryKeys::Equal(std::uint32_t entry, std::string_view key) const {
    const std::uint32_t row = table.RowOf(entry);
    if (!table.IsTwinEntry(entry)) return table.KeyText(row) == key;
    // The twin's folder, compared without being put together.
    const std::string_view folder = table.block_.Folder(row);
    const FolderTwin* twin = table.TwinOf(folder);
    const std::string_view below = folder.substr(twin->native.size());
    return key.size() == twin->thirtyTwoBit.size() + below.size() && key.starts_with(twin->thirtyTwoBit) &&
           key.substr(twin->thirtyTwoBit.size()) == below;
}

std::uint64_t DefinitionTable::EntryKeys::Hash(std::uint32_t entry) const {
    const std::uint32_t row = table.RowOf(entry);
    if (!table.IsTwinEntry(entry)) return RowIndex::Hash(table.KeyText(row));
    return RowIndex::Hash(*table.TwinFolderOf(table.block_.Folder(row)));
}

bool DefinitionTable::Add(const DefinitionRow& row, std::optional<std::string_view> thirtyTwoBitFolder) {
    if (!thirtyTwoBitFolder) return AddOne(row, 0);
    // The twin is a flag when its folder can be worked out from the row's
    // own exactly as given, with nothing that changes from drive to drive;
    // otherwise it is a row of its own.
    const std::optional<std::string> worked = TwinFolderOf(row.folder);
    bool flag = worked && *worked == *thirtyTwoBitFolder && !HoldsDriveToken(row.name) &&
                !HoldsDriveToken(row.folder);
    if (flag && kind_ == TableKey::DirFolder) flag = IsOwnKey(row.folder) && IsOwnKey(*worked);
    if (flag) return AddOne(row, kThirtyTwoBitTwin);
    DefinitionRow twin = row;
    twin.folder = *thirtyTwoBitFolder;
    return AddOne(row, 0) && AddOne(twin, 0);
}

bool DefinitionTable::AddOne(const DefinitionRow& row, std::uint8_t flags) {
    if (block_.Size() >= kMostRows) return false;
    const auto number = static_cast<std::uint32_t>(block_.Size());
    const std::string_view text = kind_ == TableKey::FileName ? row.name : row.folder;
    std::string key;
    if (HoldsDriveToken(text)) {
        flags |= kDriveRow;
    } else if (!IsOwnKey(text)) {
        key = RowKey(kind_, text, {});
        flags |= RowBlock::kHasExtra;
    }
    if (!block_.Append({flags, row.name, row.folder, row.threat, row.type, key})) return false;

    if ((flags & kDriveRow) != 0) {
        driveRows_.push_back(number);
        driveIndexes_.clear();
        return true;
    }
    const std::string_view indexed = (flags & RowBlock::kHasExtra) != 0 ? std::string_view(key) : text;
    if (indexed.empty()) return true;
    const EntryKeys keys{*this};
    index_.Add(EntryOf(number, false), indexed, RowIndex::Hash(indexed), keys);
    if ((flags & kThirtyTwoBitTwin) != 0 && kind_ == TableKey::DirFolder) {
        const std::string twin = *TwinFolderOf(row.folder);
        index_.Add(EntryOf(number, true), twin, RowIndex::Hash(twin), keys);
    }
    return true;
}

DefinitionRow DefinitionTable::Row(std::size_t row) const {
    const RowBlock::Fields fields = block_.Row(row);
    return {fields.name, fields.folder, fields.type, fields.threat};
}

void DefinitionTable::Reserve(std::size_t rows, std::size_t bytes) {
    block_.Reserve(rows, bytes);
    const std::size_t entries = kind_ == TableKey::FileName ? rows : rows * 2;
    index_.Reserve(rows, entries);
}

void DefinitionTable::Trim() {
    block_.Trim();
    index_.Trim();
}

void DefinitionTable::Clear() {
    block_.Clear();
    index_.Clear();
    driveRows_ = {};
    driveIndexes_.clear();
}

std::size_t DefinitionTable::Bytes() const {
    return block_.Bytes() + index_.Bytes() + driveRows_.capacity() * sizeof(std::uint32_t);
}

const DefinitionTable::DriveIndex& DefinitionTable::DriveRows(std::string_view drive, DriveIndex& scratch) const {
    if (auto cached = driveIndexes_.find(drive); cached != driveIndexes_.end()) {
        return cached->second;
    }
    DriveIndex built;
    built.keys.reserve(driveRows_.size());
    for (std::uint32_t row : driveRows_) {
        built.keys.push_back(RowKey(kind_, kind_ == TableKey::FileName ? block_.Name(row) : block_.Folder(row), drive));
    }
    for (std::uint32_t position = 0; position < built.keys.size(); ++position) {
        const std::string& key = built.keys[position];
        if (!key.empty()) built.rows.Add(position, key, RowIndex::Hash(key), built);
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
