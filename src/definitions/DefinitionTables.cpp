#include "definitions/DefinitionTables.h"

#include "common/Text.h"
#include "definitions/PathTokens.h"

namespace bastion {

namespace {

constexpr std::string_view kDriveToken = "[drive]";

// Row numbers stay below this, so that a directory row's two entries and
// the index's "none" never meet.
constexpr std::size_t kMostRows = std::size_t{1} << 31;

// Names and folders are stored lower-cased and trimmed, so for almost every
// row the key is its text as stored.
bool LooksLikeOwnKey(TableKey kind, std::string_view text) {
    if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
    if (kind == TableKey::DirFolder && text.size() > 1 && text.back() == '\\') return false;
    return IsLowerCaseAscii(text);
}

// The key of a text without "[drive]": the text itself when it is its own.
std::string_view FixedKey(TableKey kind, std::string_view text, std::string& scratch) {
    if (LooksLikeOwnKey(kind, text)) return text;
    scratch = RowKey(kind, text, {});
    return scratch;
}

}  // namespace

bool HoldsDriveToken(std::string_view text) {
    return FindByte(text, '[') != std::string_view::npos && ContainsIgnoreCase(text, kDriveToken);
}

std::string RowKey(TableKey kind, std::string_view text, std::string_view drive) {
    std::string key = HoldsDriveToken(text) ? ReplaceDriveToken(text, drive) : std::string(text);
    key = Trim(ToLower(key));
    if (kind == TableKey::DirFolder && key.size() > 1 && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

void PlaceFolder(TableKey kind, const PathTokens& tokens, std::string_view written, std::string& out) {
    out.clear();
    if (written.empty()) return;
    tokens.ExpandPathInto(written, out);
    if (!out.empty() && out.back() != '\\') out += '\\';
    if (kind == TableKey::DirFolder && !out.empty()) out.pop_back();
    // Lower-cased where it lies: the loader works out two places a line, and
    // a copy each would cost more than the rest of the line.
    bool ascii = true;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (!ascii) out = ToLower(out);
}

void DefinitionTable::FolderOf(const RowBlock::Fields& row, bool thirtyTwoBit, std::string& out) const {
    if ((row.flags & kWrittenFolder) == 0) {
        out.assign(row.folder);
        return;
    }
    const PathTokens* tokens = tokens_.get();
    if (thirtyTwoBit) tokens = tokens->ThirtyTwoBitPlace(row.folder);
    // A row of a damaged image may claim a twin its folder has not.
    if (tokens == nullptr) {
        out.clear();
        return;
    }
    PlaceFolder(kind_, *tokens, row.folder, out);
}

std::string_view DefinitionTable::KeyText(std::uint32_t entry, std::string& scratch) const {
    const std::uint32_t row = RowOf(entry);
    if (Files()) return block_.Name(row);
    FolderOf(block_.Row(row), IsTwinEntry(entry), scratch);
    return scratch;
}

bool DefinitionTable::EntryKeys::Equal(std::uint32_t entry, std::string_view key) const {
    std::string text;
    std::string scratch;
    return FixedKey(table.kind_, table.KeyText(entry, text), scratch) == key;
}

bool DefinitionTable::EntryKeys::Same(std::uint32_t a, std::uint32_t b) const {
    std::string text;
    std::string scratch;
    return Equal(a, FixedKey(table.kind_, table.KeyText(b, text), scratch));
}

std::uint64_t DefinitionTable::EntryKeys::Hash(std::uint32_t entry) const {
    std::string text;
    std::string scratch;
    return RowIndex::Hash(FixedKey(table.kind_, table.KeyText(entry, text), scratch));
}

void DefinitionTable::IndexEntry(std::uint32_t entry, std::string_view text) {
    if (HoldsDriveToken(text)) {
        driveEntries_.push_back(entry);
        driveIndexes_.clear();
        return;
    }
    std::string scratch;
    const std::string_view key = FixedKey(kind_, text, scratch);
    if (key.empty()) return;
    const std::uint64_t hash = RowIndex::Hash(key);
    if (!loading_) {
        index_.Add(entry, key, hash, EntryKeys{*this});
        return;
    }
    if (waitingCount_ == kWaiting) IndexWaiting();
    waiting_[(oldestWaiting_ + waitingCount_++) % kWaiting] = {hash, entry};
    index_.Prefetch(hash);
}

void DefinitionTable::IndexWaiting() {
    const Waiting oldest = waiting_[oldestWaiting_];
    oldestWaiting_ = (oldestWaiting_ + 1) % kWaiting;
    --waitingCount_;
    index_.AddKnown(oldest.entry, oldest.hash, EntryKeys{*this});
}

bool DefinitionTable::Add(const DefinitionRow& row) {
    if (block_.Size() >= kMostRows) return false;
    const auto number = static_cast<std::uint32_t>(block_.Size());
    if (!block_.Append({kOwnPlace, row.name, row.threat, row.folder, row.type})) return false;
    IndexEntry(EntryOf(number, false), Files() ? row.name : row.folder);
    return true;
}

void DefinitionTable::BeginLoad(std::size_t bytes, const PathTokens& tokens) {
    Clear();
    tokens_ = std::make_unique<const PathTokens>(tokens);
    // A row is shorter than its line when the line names a type, and up to
    // three bytes longer when it names none (its lengths and type number
    // take the place of fewer separators): a sixteenth more is room for
    // lines of forty bytes without a type, so that the block is not grown,
    // which would hold it twice for a moment. Room never used is never
    // touched.
    block_.Reserve(bytes + bytes / 16);
    // Sized from the file, so that the file is read once: lines are about
    // forty bytes, and a directory line may stand for two places. An index
    // that needs more grows.
    constexpr std::size_t kLineBytes = 40;
    const std::size_t lines = bytes / kLineBytes;
    const bool twins = !Files() && tokens.ThirtyTwoBitPlace("[progfil]") != nullptr;
    index_.Reserve(twins ? lines + lines / 2 : lines);
    loading_ = true;
}

bool DefinitionTable::AddLine(const Line& line) {
    if (block_.Size() >= kMostRows) return false;
    const auto number = static_cast<std::uint32_t>(block_.Size());
    std::uint8_t flags = kWrittenFolder;
    if (line.ownFolder) flags |= kOwnPlace;
    if (line.thirtyTwoBitFolder) flags |= kThirtyTwoBitPlace;
    if (!block_.Append({flags, line.name, line.threat, line.writtenFolder, line.type})) return false;
    if (Files()) {
        IndexEntry(EntryOf(number, false), line.name);
        return true;
    }
    if (line.ownFolder) IndexEntry(EntryOf(number, false), *line.ownFolder);
    if (line.thirtyTwoBitFolder) IndexEntry(EntryOf(number, true), *line.thirtyTwoBitFolder);
    return true;
}

void DefinitionTable::EndLoad() {
    while (waitingCount_ > 0) IndexWaiting();
    oldestWaiting_ = 0;
    loading_ = false;
    block_.Trim();
}

StoredRow DefinitionTable::Row(std::size_t row) const {
    const RowBlock::Fields fields = block_.Row(row);
    StoredRow stored{fields.name, {}, fields.type, fields.threat};
    FolderOf(fields, (fields.flags & kOwnPlace) == 0, stored.folder);
    return stored;
}

void DefinitionTable::Clear() {
    block_.Clear();
    index_.Clear();
    tokens_.reset();
    driveEntries_.Clear();
    driveIndexes_.clear();
    waitingCount_ = 0;
    oldestWaiting_ = 0;
    loading_ = false;
}

bool DefinitionTable::HasMatch(std::string_view key, std::string_view drive) const {
    // Every entry stands for a place of its row.
    const std::uint64_t hash = RowIndex::Hash(key);
    if (index_.First(key, hash, EntryKeys{*this}) != kNone) return true;
    if (driveEntries_.empty()) return false;
    DriveIndex scratch;
    const DriveIndex& byDrive = DriveEntries(drive, scratch);
    return byDrive.entries.First(key, hash, byDrive) != kNone;
}

std::size_t DefinitionTable::Bytes() const {
    return block_.Bytes() + index_.Bytes() + driveEntries_.capacity() * sizeof(std::uint32_t);
}

DefinitionTable::Image DefinitionTable::Saved() const {
    return {block_.Saved(), index_.Saved(), driveEntries_.View()};
}

bool DefinitionTable::Borrow(const Image& image, const PathTokens& tokens) {
    Clear();
    if (image.rows.rows > kMostRows || !block_.Borrow(image.rows)) return false;
    const auto entryLimit = static_cast<std::uint32_t>(Files() ? block_.Size() : block_.Size() * 2);
    // The "[drive]" entries are met in increasing order beside the index's.
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < image.driveEntries.size(); ++i) {
        const std::uint32_t entry = image.driveEntries[i];
        if (entry >= entryLimit || (i > 0 && entry <= previous)) {
            Clear();
            return false;
        }
        previous = entry;
    }
    if (!index_.Borrow(image.index, entryLimit)) {
        Clear();
        return false;
    }
    driveEntries_.Borrow(image.driveEntries);
    tokens_ = std::make_unique<const PathTokens>(tokens);
    return true;
}

const DefinitionTable::DriveIndex& DefinitionTable::DriveEntries(std::string_view drive, DriveIndex& scratch) const {
    if (auto cached = driveIndexes_.find(drive); cached != driveIndexes_.end()) {
        return cached->second;
    }
    DriveIndex built;
    built.keys.reserve(driveEntries_.size());
    std::string text;
    for (std::uint32_t entry : driveEntries_) built.keys.push_back(RowKey(kind_, KeyText(entry, text), drive));
    for (std::uint32_t position = 0; position < built.keys.size(); ++position) {
        const std::string& key = built.keys[position];
        if (!key.empty()) built.entries.Add(position, key, RowIndex::Hash(key), built);
    }
    if (driveIndexes_.size() >= kCachedDrives) {
        scratch = std::move(built);
        return scratch;
    }
    return driveIndexes_.emplace(std::string(drive), std::move(built)).first->second;
}

void DefinitionTables::ClearTables() {
    files_.Clear();
    directories_.Clear();
    image_.reset();
}

void DefinitionTables::Create() {
    ClearTables();
    created_ = true;
}

void DefinitionTables::Discard() {
    ClearTables();
    created_ = false;
    content_.Clear();
    contentLoaded_ = false;
}

}  // namespace bastion
