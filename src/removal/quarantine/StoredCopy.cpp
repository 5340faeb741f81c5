#include "removal/quarantine/StoredCopy.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace bastion {

namespace {

constexpr char kKey = static_cast<char>(0xA5);
// The piece a copy is read and written in: a large file is never held whole.
constexpr std::size_t kPiece = 1 << 20;

// Reads until the buffer is full or the file ends; how much came.
std::size_t ReadFull(platform::FileReader& reader, std::string& buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const std::size_t read = reader.Read(buffer.data() + got, buffer.size() - got);
        if (read == 0) break;
        got += read;
    }
    return got;
}

// Appends the rest of what reader gives to the file at to, transformed when
// asked; the bytes written, nullopt when reading or writing failed.
std::optional<std::uint64_t> AppendRest(platform::FileSystem& files, platform::FileReader& reader,
                                        const std::string& to, bool transform, std::string first = {}) {
    std::uint64_t written = 0;
    std::string piece = std::move(first);
    for (;;) {
        if (!piece.empty()) {
            if (transform) TransformStoredBytes(piece.data(), piece.size());
            if (!files.AppendFile(to, piece)) return std::nullopt;
            written += piece.size();
        }
        piece.resize(kPiece);
        piece.resize(ReadFull(reader, piece));
        if (piece.empty()) break;
    }
    if (reader.Failed()) return std::nullopt;
    return written;
}

}  // namespace

void TransformStoredBytes(char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[i] ^= kKey;
}

bool StoreTransformedCopy(platform::FileSystem& files, const std::string& from, const std::string& to) {
    const std::unique_ptr<platform::FileReader> reader = files.OpenForRead(from);
    if (!reader || !files.WriteFile(to, std::string(kStoredCopyHeader))) return false;
    const std::optional<std::uint64_t> written = AppendRest(files, *reader, to, true);
    return written && files.FileSize(to) == kStoredCopyHeader.size() + *written;
}

bool RestoreStoredCopy(platform::FileSystem& files, const std::string& stored, const std::string& to) {
    const std::optional<platform::DirEntry> entry = files.Lookup(stored);
    const std::unique_ptr<platform::FileReader> reader = entry ? files.OpenForRead(stored) : nullptr;
    if (!reader) return false;
    std::string start(kStoredCopyHeader.size(), '\0');
    start.resize(ReadFull(*reader, start));
    const bool transformed = start == kStoredCopyHeader;
    if (transformed) start.clear();

    // Written whole beside the place before it takes the place: a restore
    // cut short leaves what was there. Made new, so that no file of the
    // user's is ever taken for it.
    const std::string temporary = to + ".restoring";
    if (!files.CreateNewFile(temporary)) return false;
    const std::optional<std::uint64_t> written = AppendRest(files, *reader, temporary, transformed, std::move(start));
    const std::uint64_t expected = transformed ? entry->size - kStoredCopyHeader.size() : entry->size;
    if (!written || *written != expected || files.FileSize(temporary) != expected ||
        !files.MoveReplace(temporary, to)) {
        files.DeleteFile(temporary);
        return false;
    }
    // The attributes the file had when it was taken away.
    files.SetAttributes(to, entry->attributes);
    return true;
}

}  // namespace bastion
