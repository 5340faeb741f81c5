// The file and directory definitions in memory, as the folder walk matches
// every walked item against them. Loaded once per run by the first scan that
// needs them and kept until the program ends.
//
// A table is read in row order; a row whose key (the file name, the
// directory folder) is empty is never matched, and the rows after it are
// (one bad line must not take every later definition away). Rows are
// indexed by that key when they are added, so a walked item costs
// one look-up however many definitions there are. A key that holds "[drive]"
// stands for a different text on every drive, so those rows sit in a small
// list of their own and are keyed per drive when an item of that drive is
// first matched; candidates from both come out in row order, exactly as a
// row-by-row pass would meet them.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/RowIndex.h"

namespace bastion {

struct DefinitionRow {
    std::string name;    // FileName / DirName, lower-cased
    std::string folder;  // FileFolder / DirFolder, lower-cased
    std::string type;    // FileType / DirType
    std::string threat;  // FileThreat / DirThreat
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
    explicit DefinitionTable(TableKey kind) : kind_(kind) {}

    void Add(DefinitionRow row);
    // Room for about this many rows in all, so that adding them grows no
    // index; a wrong guess costs only speed.
    void Reserve(std::size_t rows);
    // Indexes the rows added so far now; otherwise the first match does.
    void Index() const { index_.Place(); }
    void Clear();

    std::size_t Size() const { return rows_.size(); }
    const DefinitionRow& Row(std::size_t row) const { return rows_[row]; }
    const std::deque<DefinitionRow>& Rows() const { return rows_; }

    // Calls onRow(row) for every row whose key, for an item on this drive,
    // equals key, in row order, until it returns false.
    template <typename OnRow>
    void ForEachMatch(std::string_view key, std::string_view drive, OnRow&& onRow) const;

private:
    static constexpr std::uint32_t kNone = RowIndex::kNone;

    // The "[drive]" rows keyed for one drive.
    struct DriveIndex {
        RowIndex rows;
    };
    // Drives met by a walk are few; a path of unusual form can make up any
    // number of them, so past this many they are keyed afresh per item.
    static constexpr std::size_t kCachedDrives = 64;

    const DriveIndex& DriveRows(std::string_view drive, DriveIndex& scratch) const;

    TableKey kind_;
    // A deque, so rows stay in place as it grows: the index refers to them.
    std::deque<DefinitionRow> rows_;
    RowIndex index_;
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

    const std::string& FileName(std::size_t row) const { return files_.Row(row).name; }
    const std::string& FileFolder(std::size_t row) const { return files_.Row(row).folder; }
    const std::string& FileType(std::size_t row) const { return files_.Row(row).type; }
    const std::string& FileThreat(std::size_t row) const { return files_.Row(row).threat; }
    const std::string& DirName(std::size_t row) const { return directories_.Row(row).name; }
    const std::string& DirFolder(std::size_t row) const { return directories_.Row(row).folder; }
    const std::string& DirType(std::size_t row) const { return directories_.Row(row).type; }
    const std::string& DirThreat(std::size_t row) const { return directories_.Row(row).threat; }

private:
    bool created_ = false;
    DefinitionTable files_{TableKey::FileName};
    DefinitionTable directories_{TableKey::DirFolder};
};

template <typename OnRow>
void DefinitionTable::ForEachMatch(std::string_view key, std::string_view drive, OnRow&& onRow) const {
    const std::uint64_t hash = RowIndex::Hash(key);
    std::uint32_t fixed = index_.First(key, hash);
    if (driveRows_.empty()) {
        for (; fixed != kNone; fixed = index_.Next(fixed)) {
            if (!onRow(static_cast<std::size_t>(fixed))) return;
        }
        return;
    }

    DriveIndex scratch;
    const DriveIndex& byDrive = DriveRows(drive, scratch);
    std::uint32_t varying = byDrive.rows.First(key, hash);
    while (true) {
        const std::uint32_t row = fixed < varying ? fixed : varying;
        if (row == kNone) return;
        if (row == fixed) {
            fixed = index_.Next(fixed);
        } else {
            varying = byDrive.rows.Next(varying);
        }
        if (!onRow(static_cast<std::size_t>(row))) return;
    }
}

}  // namespace bastion
