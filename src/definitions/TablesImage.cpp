#include "definitions/TablesImage.h"

#include <bit>
#include <cstring>
#include <deque>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace bastion {

namespace {

// Changes whenever what an image holds, or how, changes: an image of
// another form is then never read.
constexpr std::string_view kMagic = "BSTNTBL1";
constexpr std::uint64_t kForm = 1;
constexpr std::size_t kHeader = 16;  // the magic and the checksum
constexpr char kZeros[8] = {};

// A checksum of everything after the header, fed in pieces of any size: four
// lanes of multiply-and-rotate over 8-byte words, so that it runs at the
// speed the pages of the image come in.
class ImageChecksum {
public:
    void Add(std::string_view bytes) {
        while (!bytes.empty() && pendingBytes_ != 0) {
            pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes.front())) << (8 * pendingBytes_);
            bytes.remove_prefix(1);
            if (++pendingBytes_ == 8) {
                Word(std::exchange(pending_, 0));
                pendingBytes_ = 0;
            }
        }
        for (; bytes.size() >= 8; bytes.remove_prefix(8)) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data(), 8);
            Word(word);
        }
        for (char c : bytes) pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * pendingBytes_++);
    }

    std::uint64_t Value() const {
        std::uint64_t value = words_ ^ (pending_ * kMultiplier) ^ pendingBytes_;
        for (std::uint64_t lane : lanes_) value = std::rotl(value ^ lane, 27) * kMultiplier;
        return value;
    }

private:
    static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

    void Word(std::uint64_t word) {
        std::uint64_t& lane = lanes_[words_++ & 3];
        lane = std::rotl(lane ^ (word * kMultiplier), 31) * 0xBF58476D1CE4E5B9ull;
    }

    std::uint64_t lanes_[4] = {1, 2, 3, 4};
    std::uint64_t words_ = 0;
    std::uint64_t pending_ = 0;
    unsigned pendingBytes_ = 0;
};

// The image as pieces that point into the tables: nothing is copied.
class ImageWriter {
public:
    void Number(std::uint64_t number) {
        numbers_.push_back(number);
        pieces_.emplace_back(reinterpret_cast<const char*>(&numbers_.back()), sizeof number);
    }
    // Its length, then its bytes padded to a whole number of words, so that
    // every array lies aligned where the image is mapped.
    template <typename T>
    void Array(std::span<const T> values) {
        Number(values.size());
        const std::size_t bytes = values.size_bytes();
        if (bytes > 0) pieces_.emplace_back(reinterpret_cast<const char*>(values.data()), bytes);
        if (bytes % 8 != 0) pieces_.emplace_back(kZeros, 8 - bytes % 8);
    }
    void Text(std::string_view text) { Array(std::span<const char>(text.data(), text.size())); }

    void Table(const DefinitionTable::Image& table) {
        Number(table.rows.rows);
        Text(table.rows.text);
        Array(table.rows.marks);
        Number(table.rows.types.size());
        for (std::string_view type : table.rows.types) Text(type);
        const RowIndex::Image& index = table.index;
        Number(index.keys);
        Array(index.slots);
        Array(index.tags);
        Number(index.links);
        Array(index.linkCells);
        Array(index.filter);
        Array(table.driveEntries);
    }

    const std::vector<std::string_view>& Pieces() const { return pieces_; }

private:
    // A deque keeps every number where its piece points.
    std::deque<std::uint64_t> numbers_;
    std::vector<std::string_view> pieces_;
};

// Reads an image back, never past its end.
class ImageReader {
public:
    explicit ImageReader(std::string_view bytes) : bytes_(bytes) {}

    bool Number(std::uint64_t& number) {
        if (bytes_.size() - at_ < sizeof number) return false;
        std::memcpy(&number, bytes_.data() + at_, sizeof number);
        at_ += sizeof number;
        return true;
    }
    template <typename T>
    bool Array(std::span<const T>& values) {
        std::uint64_t count = 0;
        if (!Number(count) || count > (bytes_.size() - at_) / sizeof(T)) return false;
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
        const std::size_t padded = (bytes + 7) / 8 * 8;
        const char* start = bytes_.data() + at_;
        if (padded > bytes_.size() - at_ || reinterpret_cast<std::uintptr_t>(start) % alignof(T) != 0) return false;
        values = {reinterpret_cast<const T*>(start), static_cast<std::size_t>(count)};
        at_ += padded;
        return true;
    }
    bool Text(std::string_view& text) {
        std::span<const char> chars;
        if (!Array(chars)) return false;
        text = {chars.data(), chars.size()};
        return true;
    }

    bool Table(DefinitionTable::Image& table) {
        std::uint64_t types = 0;
        if (!Number(table.rows.rows) || !Text(table.rows.text) || !Array(table.rows.marks) || !Number(types)) {
            return false;
        }
        // A type is at least its length.
        if (types > (bytes_.size() - at_) / 8) return false;
        table.rows.types.resize(static_cast<std::size_t>(types));
        for (std::string_view& type : table.rows.types) {
            if (!Text(type)) return false;
        }
        RowIndex::Image& index = table.index;
        return Number(index.keys) && Array(index.slots) && Array(index.tags) && Number(index.links) &&
               Array(index.linkCells) && Array(index.filter) && Array(table.driveEntries);
    }

    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::uint64_t TablesImageChecksum(std::string_view body) {
    ImageChecksum checksum;
    checksum.Add(body);
    return checksum.Value();
}

bool SaveTablesImage(platform::FileSystem& files, const std::string& path, const DefinitionTables& tables,
                     const TablesImageKey& key) {
    ImageWriter body;
    body.Number(kForm);
    for (std::uint64_t part : key.parts) body.Number(part);
    // The images point into the tables and their own lists of types.
    const DefinitionTable::Image fileTable = tables.Files().Saved();
    const DefinitionTable::Image directoryTable = tables.Directories().Saved();
    body.Table(fileTable);
    body.Table(directoryTable);

    ImageChecksum checksum;
    for (std::string_view piece : body.Pieces()) checksum.Add(piece);
    const std::uint64_t sum = checksum.Value();
    std::vector<std::string_view> pieces{kMagic, {reinterpret_cast<const char*>(&sum), sizeof sum}};
    pieces.insert(pieces.end(), body.Pieces().begin(), body.Pieces().end());

    const std::string written = path + ".new";
    if (files.WritePieces(written, pieces) && files.MoveReplace(written, path)) return true;
    files.DeleteFile(written);
    return false;
}

bool LoadTablesImage(platform::FileSystem& files, const std::string& path, DefinitionTables& tables,
                     const TablesImageKey& key, const PathTokens& tokens) {
    std::unique_ptr<platform::MappedFile> mapped = files.MapForRead(path);
    if (!mapped) return false;
    const std::string_view bytes = mapped->Bytes();
    if (bytes.size() < kHeader || bytes.substr(0, kMagic.size()) != kMagic) return false;
    ImageReader reader(bytes.substr(kHeader));
    // The key first: an image of other definitions is not worth checking.
    std::uint64_t form = 0;
    if (!reader.Number(form) || form != kForm) return false;
    TablesImageKey saved;
    for (std::uint64_t& part : saved.parts) {
        if (!reader.Number(part)) return false;
    }
    if (saved != key) return false;
    std::uint64_t sum = 0;
    std::memcpy(&sum, bytes.data() + kMagic.size(), sizeof sum);
    if (TablesImageChecksum(bytes.substr(kHeader)) != sum) return false;

    DefinitionTable::Image fileTable;
    DefinitionTable::Image directoryTable;
    if (!reader.Table(fileTable) || !reader.Table(directoryTable) || !reader.AtEnd() ||
        !tables.Files().Borrow(fileTable, tokens) || !tables.Directories().Borrow(directoryTable, tokens)) {
        tables.Files().Clear();
        tables.Directories().Clear();
        return false;
    }
    tables.KeepImage(std::move(mapped));
    return true;
}

}  // namespace bastion
