// The file and directory definitions in memory, as the folder walk matches
// every walked item against them. Loaded once per run by the first scan that
// needs them and kept until the program ends.
//
// A table is read in row order; a row whose key (the file name, the
// directory folder) is empty is never matched, and the rows after it are
// (one bad line must not take every later definition away). The rows' text
// sits in one block (RowBlock) and an index of row numbers by key
// (RowIndex) finds the rows of a walked item in one look-up however many
// definitions there are. A key that holds "[drive]" stands for a different
// text on every drive, so those rows sit in a small list of their own and
// are keyed per drive when an item of that drive is first matched;
// candidates from both come out in row order, exactly as a row-by-row pass
// would meet them.
//
// A definition for the program folder also stands for the same place in
// its 32-bit twin ("Program Files (x86)"). The row says so by a flag and
// its twin's folder is worked out from its own when needed, so that such a
// definition costs one row, not two.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/PathTokens.h"
#include "definitions/RowBlock.h"
#include "definitions/RowIndex.h"

namespace bastion {

// A row's fields (or one place of it), as views into its table: valid until
// the table changes.
struct DefinitionRow {
    std::string_view name;    // FileName / DirName, lower-cased
    std::string_view folder;  // FileFolder / DirFolder, lower-cased
    std::string_view type;    // FileType / DirType
    std::string_view threat;  // FileThreat / DirThreat
};

// The key a row is matched by, for one drive (its root, "c:\"): the name or
// folder with "[drive]" replaced by the root (ReplaceDriveToken), lower-cased
// and trimmed;
// a directory folder then loses one trailing "\" when longer than one
// character. A row with an empty key matches nothing.
enum class TableKey { FileName, DirFolder };
std::string RowKey(TableKey kind, std::string_view text, std::string_view drive);
// True when the key's text differs from drive to drive.
bool HoldsDriveToken(std::string_view text);

class DefinitionTable {
public:
    using FolderTwin = PathTokens::FolderTwin;
    static constexpr std::uint32_t kNone = RowIndex::kNone;

    explicit DefinitionTable(TableKey kind) : kind_(kind) {}
    DefinitionTable(const DefinitionTable&) = delete;
    DefinitionTable& operator=(const DefinitionTable&) = delete;

    // The program folders with their 32-bit twins
    // (PathTokens::ProgramFolderTwins) that the rows added next may also
    // stand in.
    void SetProgramFolderTwins(std::vector<FolderTwin> twins) { twins_ = std::move(twins); }

    // Adds a row. thirtyTwoBitFolder: the folder the same definition names
    // in the 32-bit twin of the program folder, when it stands there too,
    // written as the row's own folder is. False when the table is full:
    // nothing is added.
    bool Add(const DefinitionRow& row, std::optional<std::string_view> thirtyTwoBitFolder = std::nullopt);
    // Room for about this many rows and bytes of text, so that loading
    // grows nothing; a wrong guess costs only a copy.
    void Reserve(std::size_t rows, std::size_t bytes);
    // Gives back the room reserved and not used, once loaded.
    void Trim();
    void Clear();

    std::size_t Size() const { return block_.Size(); }
    // The row at the place its definition names.
    DefinitionRow Row(std::size_t row) const;
    // The row's folder in the 32-bit program folder, or nullopt when the row
    // stands only at its own.
    std::optional<std::string> ThirtyTwoBitFolder(std::size_t row) const;
    // Calls onPlace(const DefinitionRow&) for every place of the row: its
    // own, then its 32-bit twin.
    template <typename OnPlace>
    void ForEachPlace(std::size_t row, OnPlace&& onPlace) const;

    // Calls onPlace(row, const DefinitionRow& place) for every place whose
    // key, for an item on this drive, equals key: in row order, a row's own
    // place before its twin; until it returns false. The place's folder is
    // its own.
    template <typename OnPlace>
    void ForEachMatch(std::string_view key, std::string_view drive, OnPlace&& onPlace) const;

    // The memory the table holds, for the benchmarks.
    std::size_t Bytes() const;

private:
    // Flag bits of a row (RowBlock::kHasExtra: the row's key, which differs
    // from its text, follows it).
    static constexpr std::uint8_t kThirtyTwoBitTwin = 0x01;
    static constexpr std::uint8_t kDriveRow = 0x02;
    // A walk meets few drives; a path of unusual form can make up any number
    // of them, so past this many they are keyed afresh per item.
    static constexpr std::size_t kCachedDrives = 64;

    // The index's entries: a file row is one entry (its twin has the same
    // name); a directory row two, its own folder and its twin's.
    std::uint32_t RowOf(std::uint32_t entry) const { return kind_ == TableKey::FileName ? entry : entry >> 1; }
    bool IsTwinEntry(std::uint32_t entry) const { return kind_ == TableKey::DirFolder && (entry & 1) != 0; }
    std::uint32_t EntryOf(std::uint32_t row, bool twin) const {
        return kind_ == TableKey::FileName ? row : (row << 1) | (twin ? 1u : 0u);
    }
    struct EntryKeys {
        const DefinitionTable& table;
        bool Equal(std::uint32_t entry, std::string_view key) const;
        std::uint64_t Hash(std::uint32_t entry) const;
    };

    // The "[drive]" rows keyed for one drive: entries are positions in
    // driveRows_.
    struct DriveIndex {
        RowIndex rows;
        std::vector<std::string> keys;
        bool Equal(std::uint32_t position, std::string_view key) const { return keys[position] == key; }
        std::uint64_t Hash(std::uint32_t position) const { return RowIndex::Hash(keys[position]); }
    };
    const DriveIndex& DriveRows(std::string_view drive, DriveIndex& scratch) const;

    std::string_view KeyText(std::uint32_t row) const;
    // The twin pair whose program folder holds this folder, or nullptr.
    const FolderTwin* TwinOf(std::string_view folder) const;
    std::optional<std::string> TwinFolderOf(std::string_view folder) const;
    bool IsOwnKey(std::string_view text) const;
    bool AddOne(const DefinitionRow& row, std::uint8_t flags);
    // onPlace for the row's places that the entry stands for.
    template <typename OnPlace>
    bool CallPlaces(std::uint32_t row, bool twinEntry, OnPlace& onPlace) const;

    TableKey kind_;
    RowBlock block_;
    RowIndex index_;
    std::vector<FolderTwin> twins_;
    std::vector<std::uint32_t> driveRows_;
    mutable std::map<std::string, DriveIndex, std::less<>> driveIndexes_;
};

// Both tables, owned by the application for the whole run. Created on the
// first load and kept for the run, unless a definition update changed their
// files: then they are discarded and the next scan loads them again.
class DefinitionTables {
public:
    DefinitionTables() = default;
    DefinitionTables(const DefinitionTables&) = delete;
    DefinitionTables& operator=(const DefinitionTables&) = delete;

    bool Created() const { return created_; }
    // Both tables empty, and marked as loaded for this run.
    void Create();
    // Both tables empty and not loaded: the next scan reads the files again
    // (after an update changed them).
    void Discard();

    DefinitionTable& Files() { return files_; }
    const DefinitionTable& Files() const { return files_; }
    DefinitionTable& Directories() { return directories_; }
    const DefinitionTable& Directories() const { return directories_; }

    std::string_view FileName(std::size_t row) const { return files_.Row(row).name; }
    std::string_view FileFolder(std::size_t row) const { return files_.Row(row).folder; }
    std::string_view FileType(std::size_t row) const { return files_.Row(row).type; }
    std::string_view FileThreat(std::size_t row) const { return files_.Row(row).threat; }
    std::string_view DirName(std::size_t row) const { return directories_.Row(row).name; }
    std::string_view DirFolder(std::size_t row) const { return directories_.Row(row).folder; }
    std::string_view DirType(std::size_t row) const { return directories_.Row(row).type; }
    std::string_view DirThreat(std::size_t row) const { return directories_.Row(row).threat; }

private:
    bool created_ = false;
    DefinitionTable files_{TableKey::FileName};
    DefinitionTable directories_{TableKey::DirFolder};
};

template <typename OnPlace>
void DefinitionTable::ForEachPlace(std::size_t row, OnPlace&& onPlace) const {
    DefinitionRow place = Row(row);
    onPlace(static_cast<const DefinitionRow&>(place));
    if (const std::optional<std::string> twin = ThirtyTwoBitFolder(row)) {
        place.folder = *twin;
        onPlace(static_cast<const DefinitionRow&>(place));
    }
}

template <typename OnPlace>
bool DefinitionTable::CallPlaces(std::uint32_t row, bool twinEntry, OnPlace& onPlace) const {
    DefinitionRow place = Row(row);
    if (!twinEntry && !onPlace(static_cast<std::size_t>(row), static_cast<const DefinitionRow&>(place))) {
        return false;
    }
    // A file row's twin shares its key: both come from the one entry.
    if (!twinEntry && kind_ == TableKey::DirFolder) return true;
    const std::optional<std::string> twin = ThirtyTwoBitFolder(row);
    if (!twin) return true;
    place.folder = *twin;
    return onPlace(static_cast<std::size_t>(row), static_cast<const DefinitionRow&>(place));
}

template <typename OnPlace>
void DefinitionTable::ForEachMatch(std::string_view key, std::string_view drive, OnPlace&& onPlace) const {
    const std::uint64_t hash = RowIndex::Hash(key);
    std::uint32_t entry = index_.First(key, hash, EntryKeys{*this});
    if (driveRows_.empty()) {
        while (entry != kNone) {
            const std::uint32_t row = RowOf(entry);
            const bool twin = IsTwinEntry(entry);
            entry = index_.Next(entry);
            if (!CallPlaces(row, twin, onPlace)) return;
        }
        return;
    }

    DriveIndex scratch;
    const DriveIndex& byDrive = DriveRows(drive, scratch);
    std::uint32_t position = byDrive.rows.First(key, hash, byDrive);
    while (entry != kNone || position != kNone) {
        const std::uint32_t fixedRow = entry == kNone ? kNone : RowOf(entry);
        const std::uint32_t driveRow = position == kNone ? kNone : driveRows_[position];
        // A "[drive]" row is never indexed by its own text: the two never
        // name the same row.
        if (fixedRow < driveRow) {
            const bool twin = IsTwinEntry(entry);
            entry = index_.Next(entry);
            if (!CallPlaces(fixedRow, twin, onPlace)) return;
        } else {
            position = byDrive.rows.Next(position);
            if (!CallPlaces(driveRow, false, onPlace)) return;
        }
    }
}

}  // namespace bastion
