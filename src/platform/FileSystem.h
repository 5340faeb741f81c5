// Files, folders and drives. Paths are UTF-8 Windows paths ("C:\a\b.txt");
// implementations use long-path forms where the system needs them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Crypto.h"
#include "platform/FolderHandle.h"

namespace bastion::platform {

// Attribute bits as the system reports them.
inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;
// A file whose content lies elsewhere (a cloud service, an archive): reading
// it, or with the first, even opening it, fetches it first.
inline constexpr std::uint32_t kAttrOffline = 0x1000;
inline constexpr std::uint32_t kAttrRecallOnOpen = 0x40000;
inline constexpr std::uint32_t kAttrRecallOnDataAccess = 0x400000;

// Identity of a directory for cycle checks: the same directory reached twice
// (through a junction, mount point or link) has the same identity.
struct FileIdentity {
    std::uint64_t volumeSerial = 0;
    std::uint64_t indexHigh = 0;
    std::uint64_t indexLow = 0;
    bool valid = false;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

struct DirListing {
    FileIdentity identity;  // of the listed folder itself
    std::vector<DirEntry> entries;
};

enum class DriveType {
    Unknown = 0,
    Removable = 1,
    Fixed = 2,
    Network = 3,
    CdRom = 4,
    RamDisk = 5,
    NoRootDir = 6,
};

struct DriveInfo {
    std::string letter;  // "C"
    DriveType type = DriveType::Unknown;
    bool ready = false;
};

struct VolumeInfo {
    std::string label;
    std::uint32_t serial = 0;
    std::string fileSystem;
};

struct DriveSpace {
    std::uint64_t total = 0;
    std::uint64_t free = 0;
};

// What tells one content of a file from another without reading it: its
// size and the time it was last written (in the system's 100-nanosecond
// units; a rename keeps it). Equal stamps are taken to mean equal content.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A folder that stands for another place: a junction (or mount point), or
// a symbolic link.
enum class FolderLinkKind { Junction, SymbolicLink };

struct FolderLink {
    FolderLinkKind kind = FolderLinkKind::Junction;
    // Where it points, as the link holds it: a full path ("C:\Target"), a
    // volume ("\\?\Volume{...}\") for a mount point, or for a symbolic
    // link also a path relative to the link's own folder.
    std::string target;
    friend bool operator==(const FolderLink&, const FolderLink&) = default;
};

// A file opened for reading; closed when destroyed.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Reads up to size bytes; 0 at the end of the file or on failure.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Whether a read failed: its 0 was no end of the file.
    virtual bool Failed() const { return false; }
};

// A file's bytes mapped read-only into memory while this lives.
class MappedFile {
public:
    virtual ~MappedFile() = default;
    virtual std::string_view Bytes() const = 0;
};

// A file read whole into memory of its own: what a file system that cannot
// map files hands out.
class CopiedFile final : public MappedFile {
public:
    explicit CopiedFile(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view Bytes() const override { return bytes_; }

private:
    std::string bytes_;
};

// How hashing a file's content ended.
enum class ContentHashEnd {
    Hashed,
    Unreadable,  // it could not be opened, a read failed, or it ended early
    OtherSize,   // its size when opened was not one wanted: it was not read
    Abandoned,   // the caller asked to stop between two pieces
};

struct ContentDigest {
    ContentHashEnd end = ContentHashEnd::Unreadable;
    // The file's size when it was opened: the bytes hashed.
    std::uint64_t size = 0;
    Sha256Digest sha256{};
};

// Told the size of the file just opened: whether to hash it.
using ContentSizeWanted = std::function<bool(std::uint64_t size)>;
// Asked between two pieces of the hash: false abandons it.
using ContentHashGoOn = std::function<bool()>;

// The most a hash reads and hashes between two questions whether to go on:
// a few milliseconds of work even with the slowest SHA-256.
inline constexpr std::size_t kContentHashPiece = 1 << 20;

// A hash of a file's content under way on a worker, while the program goes
// on; dropping it abandons the hash.
class PendingContentHash {
public:
    virtual ~PendingContentHash() = default;
    // The result once the worker has finished; nullopt until then.
    virtual std::optional<ContentDigest> Result() = 0;
};

// Whether a folder that is itself a link is opened (what it points to is
// held) or refused.
enum class LinkAtEnd { Follow, Refuse };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folder at path held open, links on the way to it followed;
    // nullptr when it is absent, a file, a link that is refused, or cannot
    // be opened.
    virtual std::unique_ptr<FolderHandle> OpenFolder(const std::string& path, LinkAtEnd atEnd) = 0;

    // The folder's entries in listing order, hidden and system ones
    // included, without "." and ".."; nullopt when the folder cannot be
    // listed. Safe to call from several threads at once (a walk's listing
    // threads), also while another thread uses the rest of the facility.
    virtual std::optional<DirListing> ListDirectory(const std::string& folder) = 0;
    // The entry for exactly this path (a file or a folder, whatever its
    // attributes), as a directory lookup of the path returns it; nullopt
    // when nothing is there. The name is the stored name of the last part.
    virtual std::optional<DirEntry> Lookup(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
    // The file's stamp; nullopt when it is absent, a folder, or its stamp
    // cannot be told (then whoever keeps what it read reads it again).
    virtual std::optional<FileStamp> Stamp(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // The path as the system resolves it, so that two spellings of one place
    // compare equal: the full path with "." and ".." taken out and short
    // (8.3) names expanded; for an item that exists, the path its open
    // handle names (links on the way followed; a link at the end is named
    // itself, not its target). Without a "\\?\" prefix; the path itself
    // when it cannot be resolved at all.
    virtual std::string FinalPath(const std::string& path) = 0;
    // The link the folder at path is; nullopt for a plain folder, a file,
    // nothing, or a reparse point of another kind.
    virtual std::optional<FolderLink> ReadFolderLink(const std::string& path) = 0;
    // Makes a folder link at path, where nothing is yet.
    virtual bool MakeFolderLink(const std::string& path, const FolderLink& link) = 0;

    virtual std::unique_ptr<FileReader> OpenForRead(const std::string& path) = 0;
    // The file's last byte; nullopt for an empty, absent or unreadable file.
    // Implementations that can seek override this reading of the whole file.
    virtual std::optional<char> LastByte(const std::string& path) {
        std::unique_ptr<FileReader> reader = OpenForRead(path);
        if (!reader) return std::nullopt;
        std::optional<char> last;
        char buffer[4096];
        while (std::size_t read = reader->Read(buffer, sizeof buffer)) last = buffer[read - 1];
        return last;
    }
    // The SHA-256 of the file's content as it was when opened: exactly as
    // many bytes as its size then (a file that grows meanwhile is hashed to
    // that size; one that shrinks is unreadable), read in large pieces with
    // share modes that let other programs read, write and delete it
    // meanwhile. Whether that size is wanted is asked first; whether to go
    // on, after every piece of at most kContentHashPiece bytes.
    virtual ContentDigest ContentSha256(const std::string& path, const ContentSizeWanted& wanted,
                                        const ContentHashGoOn& goOn) {
        (void)path, (void)wanted, (void)goOn;
        return {};
    }
    // The same on a worker, for the one thread of the program to go on
    // meanwhile; the size wanted is given. nullptr when no worker could be
    // started.
    virtual std::unique_ptr<PendingContentHash> StartContentSha256(const std::string& path, std::uint64_t size) {
        (void)path, (void)size;
        return nullptr;
    }
    // The whole file; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // The whole file mapped read-only, so that its pages are read from the
    // system's cache when first touched rather than copied into fresh
    // memory; nullptr when it is absent, empty or cannot be mapped. While
    // mapped it can be read and renamed, not truncated.
    virtual std::unique_ptr<MappedFile> MapForRead(const std::string& path) {
        std::optional<std::string> bytes = ReadFile(path);
        if (!bytes || bytes->empty()) return nullptr;
        return std::make_unique<CopiedFile>(std::move(*bytes));
    }
    // Creates or truncates the file and writes the bytes.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // Creates or truncates the file and writes the pieces one after the
    // other, without joining them in memory first.
    virtual bool WritePieces(const std::string& path, const std::vector<std::string_view>& pieces) {
        std::string bytes;
        for (std::string_view piece : pieces) bytes.append(piece);
        return WriteFile(path, bytes);
    }
    // Appends, creating the file when absent.
    virtual bool AppendFile(const std::string& path, const std::string& bytes) = 0;
    // As WriteFile, and true only once the bytes are on the disk, not just
    // in the system's cache: a file about to be renamed over another must
    // not end up empty after a power cut.
    virtual bool WriteFileFlushed(const std::string& path, const std::string& bytes) { return WriteFile(path, bytes); }

    virtual bool CopyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
    // Renames in one step, replacing an existing target.
    virtual bool MoveReplace(const std::string& from, const std::string& to) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    // Has the system delete the file when Windows next starts (a file that
    // stays locked while Windows runs); needs the right to do so.
    virtual bool DeleteAtRestart(const std::string& path) = 0;
    // Whether such a deletion of the file is pending, and taking it back
    // (true when none is pending afterwards).
    virtual bool DeletePendingAtRestart(const std::string& path) = 0;
    virtual bool CancelDeleteAtRestart(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Creates the folder and the missing folders above it.
    virtual bool CreateFolder(const std::string& path) = 0;
    // An empty file, or one folder (its parent must exist), created only
    // where nothing is yet: false when the name is taken, so that two
    // programs creating one name at once never both succeed.
    virtual bool CreateNewFile(const std::string& path) = 0;
    virtual bool CreateNewFolder(const std::string& path) = 0;
    virtual bool CopyFolderTree(const std::string& from, const std::string& to) = 0;
    // Deletes the folder and everything in it, read-only content included,
    // through handles (DeleteEntryTree): a link in it, or the folder itself
    // being one, goes as a link; what it points to is never touched.
    virtual bool DeleteFolderTree(const std::string& path) = 0;

    virtual std::vector<DriveInfo> ListDrives() = 0;
    virtual std::optional<VolumeInfo> GetVolumeInfo(const std::string& root) = 0;
    virtual std::optional<DriveSpace> GetDriveSpace(const std::string& root) = 0;
};

}  // namespace bastion::platform
