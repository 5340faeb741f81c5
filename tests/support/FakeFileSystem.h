// An in-memory file system: drives with type, readiness, volume and space;
// folders and files with attributes and content. Names are looked up
// ignoring case and keep the case they were created with; listings come in
// creation order, hidden and system entries included. Every folder has its own identity; a junction is a folder
// entry that stands for another folder, so a walk can meet one folder twice.
// Failures are injected per path.
//
// Paths are "C:\a\b" (or "\\server\share\a\b" on a share added as a
// drive) with or without a trailing backslash for folders; a
// trailing backslash on a file does not find it. "/" separates too, doubled
// separators and "." are ignored and ".." goes up, as Windows normalises.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bastion::testing {

namespace fakefs {
struct Node;
struct Path;
struct Drive;
}  // namespace fakefs

struct FakeDrive {
    // A letter, or a network share "\\server\share" (which ListDrives does
    // not list).
    std::string letter = "C";
    platform::DriveType type = platform::DriveType::Fixed;
    bool ready = true;
    std::string label;
    std::uint32_t serial = 0x1C2D3E4F;
    std::string fileSystem = "NTFS";
    std::uint64_t total = 80ull << 30;
    std::uint64_t free = 30ull << 30;
    // False: every folder's index is reported as 0, as some network shares
    // do.
    bool folderIndexKnown = true;
};

class FakeFileSystem : public platform::FileSystem {
public:
    // Starts with one empty, ready, fixed drive C.
    FakeFileSystem();
    ~FakeFileSystem() override;

    // platform::FileSystem
    // A handle on the folder node itself (FakeFolderHandle): what is done
    // through it happens in that node, wherever its path now leads.
    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path, platform::LinkAtEnd atEnd) override;
    std::optional<platform::DirListing> ListDirectory(const std::string& folder) override;
    std::optional<platform::DirEntry> Lookup(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    // Every write moves the file's time stamp on; a copy or a move keeps it.
    std::optional<platform::FileStamp> Stamp(const std::string& path) override;
    // "." and ".." resolved, short names (AddShortName) expanded, the stored
    // case of every existing name, junctions on the way followed to their
    // target; what does not exist is kept as written.
    std::string FinalPath(const std::string& path) override;
    std::optional<platform::FolderLink> ReadFolderLink(const std::string& path) override;
    // A junction or symbolic link alike; its target need not exist.
    bool MakeFolderLink(const std::string& path, const platform::FolderLink& link) override;
    std::unique_ptr<platform::FileReader> OpenForRead(const std::string& path) override;
    // Hashes with the program's own SHA-256, asking goOn after every piece;
    // a path whose reads fail cannot be hashed, nor one whose reads fail
    // part-way.
    platform::ContentDigest ContentSha256(const std::string& path, const platform::ContentSizeWanted& wanted,
                                          const platform::ContentHashGoOn& goOn) override;
    // Finishes when its result is first asked for, unless pendingHashesHeld.
    std::unique_ptr<platform::PendingContentHash> StartContentSha256(const std::string& path,
                                                                     std::uint64_t size) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;
    // Recorded in flushedWrites.
    bool WriteFileFlushed(const std::string& path, const std::string& bytes) override;
    bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool MoveReplace(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    // Recorded in deletedAtRestart unless failDeleteAtRestart; taken back
    // from it unless failCancelDeleteAtRestart.
    bool DeleteAtRestart(const std::string& path) override;
    bool DeletePendingAtRestart(const std::string& path) override;
    bool CancelDeleteAtRestart(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool CreateFolder(const std::string& path) override;
    bool CreateNewFile(const std::string& path) override;
    bool CreateNewFolder(const std::string& path) override;
    bool CopyFolderTree(const std::string& from, const std::string& to) override;
    bool DeleteFolderTree(const std::string& path) override;
    std::vector<platform::DriveInfo> ListDrives() override;
    std::optional<platform::VolumeInfo> GetVolumeInfo(const std::string& root) override;
    std::optional<platform::DriveSpace> GetDriveSpace(const std::string& root) override;

    // Setup. Each creates the missing folders above the path; a drive that
    // does not exist, or a file standing where a folder must be, throws.
    // AddDrive replaces the settings of a drive that exists, keeping its
    // content.
    void AddDrive(const FakeDrive& drive);
    void AddDrive(const std::string& letter, platform::DriveType type, bool ready = true);
    void RemoveDrive(const std::string& letter);
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = platform::kAttrArchive);
    void AddFolder(const std::string& path, std::uint32_t attributes = platform::kAttrDirectory);
    // A folder entry at path that stands for the folder at target (which
    // must exist): paths below it reach the target's content and its listing
    // carries the target's identity. Real junctions report the reparse-point
    // attribute; pass plain kAttrDirectory for one the walker descends into.
    void AddJunction(const std::string& path, const std::string& target,
                     std::uint32_t attributes = platform::kAttrDirectory | platform::kAttrReparsePoint);
    // The short (8.3) name an existing file or folder also answers to in
    // FinalPath.
    void AddShortName(const std::string& path, const std::string& shortName);

    // Failure injection, by the path as the caller writes it (not through
    // junctions). Reads: OpenForRead, ReadFile, copying from. Writes:
    // WriteFile, AppendFile, copying to, creating the folder. Moves:
    // MoveReplace from or to the path. Deletes: DeleteFile, and
    // DeleteFolderTree at or above the path. A locked file (a running
    // program) cannot be deleted, moved or written but can be read.
    void FailReads(const std::string& path);
    // Reads of the file give its first bytes, then fail.
    void FailReadsAfter(const std::string& path, std::size_t bytes);
    void FailWrites(const std::string& path);
    void FailMoves(const std::string& path);
    void FailDeletes(const std::string& path);
    void FailListing(const std::string& folder);
    void LockFile(const std::string& path);
    void UnlockFile(const std::string& path);
    void ClearFailures();

    // Assertions.
    bool HasFile(const std::string& path);
    bool HasFolder(const std::string& path);
    std::optional<std::string> Content(const std::string& path);
    std::optional<std::uint32_t> Attributes(const std::string& path);
    // Every folder and file below the path (drive root or folder), depth
    // first in listing order, hidden ones included, junctions not followed;
    // folders end with a backslash.
    std::vector<std::string> Tree(const std::string& root);

    // Called with a folder's path as it was opened each time a handle has
    // listed it: a test changes the tree there, as another program could
    // between a listing and what is done with it.
    std::function<void(const std::string& folder)> onListedThroughHandle;
    // Called on the listing thread before each ListDirectory: a test holds
    // a walk's listing threads there, or counts what they list.
    std::function<void(const std::string& folder)> beforeListing;

    std::vector<std::string> deletedAtRestart;
    // Every path written with WriteFileFlushed, in order.
    std::vector<std::string> flushedWrites;
    bool failDeleteAtRestart = false;
    bool failCancelDeleteAtRestart = false;
    // Hashes started on a worker stay unfinished while this is set.
    bool pendingHashesHeld = false;

    std::size_t ListDirectoryCalls() const { return listDirectoryCalls_; }
    std::size_t ReadCalls() const { return readCalls_; }
    // Files hashed, on the asking thread or on a worker.
    std::size_t ContentHashes() const { return contentHashes_; }
    std::size_t WorkerHashes() const { return workerHashes_; }
    // Reads of this one file (by any spelling of its path).
    std::size_t ReadCalls(const std::string& path) const;
    void ResetCounters();

private:
    friend class FakeFolderHandle;
    using Node = fakefs::Node;
    using Path = fakefs::Path;
    using Drive = fakefs::Drive;

    Drive* FindDrive(char id) const;
    Drive* FindRoot(const Path& path) const;
    Node* Root(const Path& path, bool mustBeReady) const;
    Node* Resolve(const Path& path) const;
    Node* ResolveParent(const Path& path) const;
    std::shared_ptr<Node> MakeNode(char drive, const std::string& name, bool folder, std::uint32_t attributes);
    Node* SetupFolders(const Path& path, std::size_t depth);
    static Node* ChildOrShort(const Node& folder, const std::string& name);
    std::string FinalText(const Path& path, int hops) const;
    Path ParseForSetup(const std::string& path) const;
    static bool Has(const std::set<std::string>& paths, const Path& path);
    void Insert(std::set<std::string>& paths, const std::string& path) const;
    bool Writable(const Path& path, const Node* existing) const;
    bool CopyInto(const Node& source, Node& target, const Path& targetPath);
    // A folder link named name in a folder at linkPath's parent.
    std::shared_ptr<Node> MakeLinkNode(char drive, const Path& linkPath, const platform::FolderLink& link);

    std::vector<std::unique_ptr<Drive>> drives_;
    std::uint64_t nextIndex_ = 1;
    // Ticks once per write, for the files' time stamps.
    std::uint64_t clock_ = 0;
    std::set<std::string> failReads_, failWrites_, failMoves_, failDeletes_, failListing_, locked_;
    // A walk lists on several threads at once.
    std::atomic<std::size_t> listDirectoryCalls_{0};
    std::size_t readCalls_ = 0;
    std::size_t contentHashes_ = 0;
    std::size_t workerHashes_ = 0;
    // Bytes readable before a read fails, by path key.
    std::map<std::string, std::size_t> failReadsAfter_;
    std::map<std::string, std::size_t> readsByPath_;
};

}  // namespace bastion::testing
