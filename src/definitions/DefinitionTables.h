// The file and directory definitions in memory, as the folder walk matches
// every walked item against them. Loaded once per run by the first scan that
// needs them (or read where they lie from the image an earlier load saved)
// and kept until the program ends.
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
// A loaded row keeps its folder as the line wrote it, tokens and all, and
// the table expands it with the tokens it was loaded with whenever it is
// read. That keeps a row no longer than its line, and lets one row stand for
// two places: a definition for the program folder also names the same place
// in its 32-bit twin ("Program Files (x86)"), and a flag on the row says
// which of the two it stands for (the safety list may protect either).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/PathTokens.h"
#include "definitions/RowBlock.h"
#include "definitions/RowIndex.h"
#include "definitions/TableColumn.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/FileSystem.h"

namespace bastion {

// A row's fields (or one place of it), as views: valid until the table
// changes, or, from a look-up, while the call that hands it out runs.
struct DefinitionRow {
    std::string_view name;    // FileName / DirName, lower-cased
    std::string_view folder;  // FileFolder / DirFolder, lower-cased
    std::string_view type;    // FileType / DirType
    std::string_view threat;  // FileThreat / DirThreat
};

// A row as read back: its folder is worked out, so it is held.
struct StoredRow {
    std::string_view name;
    std::string folder;
    std::string_view type;
    std::string_view threat;
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

// The folder a definition line names, as its row stores it, into out: the
// tokens expanded with these, a trailing "\" added (a directory's then taken
// off again), lower-cased; empty when the line names none. "[drive]" is no
// folder token and stays.
void PlaceFolder(TableKey kind, const PathTokens& tokens, std::string_view written, std::string& out);

class DefinitionTable {
public:
    static constexpr std::uint32_t kNone = RowIndex::kNone;

    explicit DefinitionTable(TableKey kind) : kind_(kind) {}
    DefinitionTable(const DefinitionTable&) = delete;
    DefinitionTable& operator=(const DefinitionTable&) = delete;

    // Adds a row as given. False when the table is full: nothing is added.
    bool Add(const DefinitionRow& row);

    // Loading a definition file of about this many bytes, whose folders are
    // expanded with these tokens whenever read.
    void BeginLoad(std::size_t bytes, const PathTokens& tokens);
    // A definition line: its name (lower-cased), threat, folder as written
    // and type, and the places it stands for: its folder as PlaceFolder gives
    // it, with the tokens loaded with and with the 32-bit program folders
    // (nullopt where it does not stand).
    struct Line {
        std::string_view name;
        std::string_view threat;
        std::string_view writtenFolder;
        std::string_view type;
        std::optional<std::string_view> ownFolder;
        std::optional<std::string_view> thirtyTwoBitFolder;
    };
    // False when the table is full: nothing is added.
    bool AddLine(const Line& line);
    // Indexes the last rows loaded, and gives back the room reserved for
    // rows that never came, when it is much.
    void EndLoad();

    void Clear();

    std::size_t Size() const { return block_.Size(); }
    // The row at the first place it stands for.
    StoredRow Row(std::size_t row) const;
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

    // True when ForEachMatch would call onPlace at all.
    bool HasMatch(std::string_view key, std::string_view drive) const;

    // The memory the table holds, for the benchmarks.
    std::size_t Bytes() const;

    // A saved image of the loaded table, as it lies in memory.
    struct Image {
        RowBlock::Image rows;
        RowIndex::Image index;
        std::span<const std::uint32_t> driveEntries;
    };
    Image Saved() const;
    // Reads the table from an image whose arrays outlive it, its folders
    // expanded with these tokens (those it was loaded with); false, and the
    // table empty, when the image holds anything a loaded table could not.
    bool Borrow(const Image& image, const PathTokens& tokens);

private:
    // Flag bits of a row.
    static constexpr std::uint8_t kWrittenFolder = 0x01;  // the folder as the line wrote it
    static constexpr std::uint8_t kOwnPlace = 0x02;
    static constexpr std::uint8_t kThirtyTwoBitPlace = 0x04;
    // A walk meets few drives; a path of unusual form can make up any number
    // of them, so past this many they are keyed afresh per item.
    static constexpr std::size_t kCachedDrives = 64;

    // The index's entries: a file row is one entry (both its places have
    // its name); a directory row two, one per place.
    bool Files() const { return kind_ == TableKey::FileName; }
    std::uint32_t RowOf(std::uint32_t entry) const { return Files() ? entry : entry >> 1; }
    bool IsTwinEntry(std::uint32_t entry) const { return !Files() && (entry & 1) != 0; }
    std::uint32_t EntryOf(std::uint32_t row, bool twin) const {
        return Files() ? row : (row << 1) | (twin ? 1u : 0u);
    }
    struct EntryKeys {
        const DefinitionTable& table;
        bool Equal(std::uint32_t entry, std::string_view key) const;
        bool Same(std::uint32_t a, std::uint32_t b) const;
        std::uint64_t Hash(std::uint32_t entry) const;
    };

    // The "[drive]" entries keyed for one drive: the index's entries are
    // positions in driveEntries_.
    struct DriveIndex {
        RowIndex entries;
        std::vector<std::string> keys;
        bool Equal(std::uint32_t position, std::string_view key) const { return keys[position] == key; }
        std::uint64_t Hash(std::uint32_t position) const { return RowIndex::Hash(keys[position]); }
    };
    const DriveIndex& DriveEntries(std::string_view drive, DriveIndex& scratch) const;

    // The folder of one place of a row (the twin's: thirtyTwoBit), into out.
    void FolderOf(const RowBlock::Fields& row, bool thirtyTwoBit, std::string& out) const;
    // The text an entry is keyed by: a file row's name, a directory place's
    // folder (into scratch).
    std::string_view KeyText(std::uint32_t entry, std::string& scratch) const;
    // Indexes an entry by its text, or lists it with the "[drive]" entries.
    void IndexEntry(std::uint32_t entry, std::string_view text);
    // onPlace for the places of the row that the entry stands for.
    template <typename OnPlace>
    bool CallPlaces(std::uint32_t entry, OnPlace& onPlace) const;

    TableKey kind_;
    RowBlock block_;
    RowIndex index_;
    // The tokens loaded rows are expanded with.
    std::unique_ptr<const PathTokens> tokens_;
    TableColumn<std::uint32_t> driveEntries_;
    // While a file loads, the last few entries keyed wait here, oldest
    // first, while the index memory they will touch is fetched.
    struct Waiting {
        std::uint64_t hash;
        std::uint32_t entry;
    };
    static constexpr std::size_t kWaiting = 8;
    std::array<Waiting, kWaiting> waiting_{};
    std::size_t waitingCount_ = 0;
    std::size_t oldestWaiting_ = 0;
    bool loading_ = false;
    void IndexWaiting();
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

    // Keeps the mapped image both tables read from, while they do.
    void KeepImage(std::unique_ptr<platform::MappedFile> image) { image_ = std::move(image); }
    bool FromImage() const { return image_ != nullptr; }

    DefinitionTable& Files() { return files_; }
    const DefinitionTable& Files() const { return files_; }
    DefinitionTable& Directories() { return directories_; }
    const DefinitionTable& Directories() const { return directories_; }

    std::string_view FileName(std::size_t row) const { return files_.Row(row).name; }
    std::string FileFolder(std::size_t row) const { return files_.Row(row).folder; }
    std::string_view FileType(std::size_t row) const { return files_.Row(row).type; }
    std::string_view FileThreat(std::size_t row) const { return files_.Row(row).threat; }
    std::string_view DirName(std::size_t row) const { return directories_.Row(row).name; }
    std::string DirFolder(std::size_t row) const { return directories_.Row(row).folder; }
    std::string_view DirType(std::size_t row) const { return directories_.Row(row).type; }
    std::string_view DirThreat(std::size_t row) const { return directories_.Row(row).threat; }

    // The content definitions, loaded once per run by the first that needs
    // them (a scan, the memory shield) and discarded with the tables.
    bool ContentLoaded() const { return contentLoaded_; }
    ContentTable& Content() { return content_; }
    const ContentTable& Content() const { return content_; }
    void MarkContentLoaded() {
        contentLoaded_ = true;
        ++contentLoads_;
    }
    // Counts the loads of the content table: what was found with one holds
    // while this stays the same.
    std::uint64_t ContentLoads() const { return contentLoads_; }

private:
    void ClearTables();

    bool created_ = false;
    bool contentLoaded_ = false;
    // Before the tables, so that it outlives them.
    std::unique_ptr<platform::MappedFile> image_;
    std::uint64_t contentLoads_ = 0;
    ContentTable content_;
    DefinitionTable files_{TableKey::FileName};
    DefinitionTable directories_{TableKey::DirFolder};
};

template <typename OnPlace>
void DefinitionTable::ForEachPlace(std::size_t row, OnPlace&& onPlace) const {
    const RowBlock::Fields fields = block_.Row(row);
    std::string folder;
    for (const bool twin : {false, true}) {
        if ((fields.flags & (twin ? kThirtyTwoBitPlace : kOwnPlace)) == 0) continue;
        FolderOf(fields, twin, folder);
        const DefinitionRow place{fields.name, folder, fields.type, fields.threat};
        onPlace(place);
    }
}

template <typename OnPlace>
bool DefinitionTable::CallPlaces(std::uint32_t entry, OnPlace& onPlace) const {
    const std::uint32_t row = RowOf(entry);
    const RowBlock::Fields fields = block_.Row(row);
    std::string folder;
    for (const bool twin : {false, true}) {
        // A directory entry is one place; a file entry both of its row's.
        if (!Files() && twin != IsTwinEntry(entry)) continue;
        if ((fields.flags & (twin ? kThirtyTwoBitPlace : kOwnPlace)) == 0) continue;
        FolderOf(fields, twin, folder);
        const DefinitionRow place{fields.name, folder, fields.type, fields.threat};
        if (!onPlace(static_cast<std::size_t>(row), place)) return false;
    }
    return true;
}

template <typename OnPlace>
void DefinitionTable::ForEachMatch(std::string_view key, std::string_view drive, OnPlace&& onPlace) const {
    const std::uint64_t hash = RowIndex::Hash(key);
    std::uint32_t entry = index_.First(key, hash, EntryKeys{*this});
    if (driveEntries_.empty()) {
        for (; entry != kNone; entry = index_.Next(entry)) {
            if (!CallPlaces(entry, onPlace)) return;
        }
        return;
    }

    DriveIndex scratch;
    const DriveIndex& byDrive = DriveEntries(drive, scratch);
    std::uint32_t position = byDrive.entries.First(key, hash, byDrive);
    while (entry != kNone || position != kNone) {
        const std::uint32_t driveEntry = position == kNone ? kNone : driveEntries_[position];
        // An entry is either indexed by its text or listed with the
        // "[drive]" ones, never both.
        if (entry < driveEntry) {
            const std::uint32_t current = entry;
            entry = index_.Next(entry);
            if (!CallPlaces(current, onPlace)) return;
        } else {
            position = byDrive.entries.Next(position);
            if (!CallPlaces(driveEntry, onPlace)) return;
        }
    }
}

}  // namespace bastion
