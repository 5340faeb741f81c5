#include "support/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "common/Text.h"
#include "platform/FolderHandles.h"
#include "platform/Sha256.h"
#include "support/FakeFileTree.h"

namespace bastion::testing {

using namespace platform;
using fakefs::ParsePath;
using fakefs::Through;
using fakefs::FileAttributes;

namespace {

// The content, or its first readable bytes and then a failure.
class StringReader : public FileReader {
public:
    StringReader(std::string content, std::optional<std::size_t> readable)
        : content_(std::move(content)), readable_(readable.value_or(content_.size())) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (position_ >= readable_ && readable_ < content_.size()) {
            failed_ = true;
            return 0;
        }
        std::size_t count = std::min({size, content_.size() - position_, readable_ - position_});
        std::memcpy(buffer, content_.data() + position_, count);
        position_ += count;
        return count;
    }
    bool Failed() const override { return failed_; }

private:
    std::string content_;
    std::size_t readable_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

class FakePendingHash final : public platform::PendingContentHash {
public:
    FakePendingHash(FakeFileSystem& files, std::string path, std::uint64_t size)
        : files_(files), path_(std::move(path)), size_(size) {}
    std::optional<ContentDigest> Result() override {
        if (!result_ && !files_.pendingHashesHeld) {
            result_ = files_.ContentSha256(path_, [this](std::uint64_t size) { return size == size_; }, nullptr);
        }
        return result_;
    }

private:
    FakeFileSystem& files_;
    std::string path_;
    std::uint64_t size_;
    std::optional<ContentDigest> result_;
};

std::uint32_t FolderAttributes(std::uint32_t attributes) {
    return (attributes | kAttrDirectory) & ~kAttrNormal;
}

bool IsReadOnly(const fakefs::Node& node) {
    return (node.attributes & kAttrReadOnly) != 0;
}

}  // namespace

FakeFileSystem::FakeFileSystem() {
    AddDrive(FakeDrive{});
}

FakeFileSystem::~FakeFileSystem() = default;

// ---- navigation ----------------------------------------------------------

FakeFileSystem::Drive* FakeFileSystem::FindDrive(char id) const {
    for (const auto& drive : drives_) {
        if (drive->id == id) {
            return drive.get();
        }
    }
    return nullptr;
}

FakeFileSystem::Drive* FakeFileSystem::FindRoot(const Path& path) const {
    if (path.share.empty()) return FindDrive(path.drive);
    for (const auto& drive : drives_) {
        if (EqualsIgnoreCase(drive->settings.letter, "\\\\" + path.share)) return drive.get();
    }
    return nullptr;
}

fakefs::Node* FakeFileSystem::Root(const Path& path, bool mustBeReady) const {
    Drive* drive = FindRoot(path);
    if (!drive || (mustBeReady && !drive->settings.ready)) {
        return nullptr;
    }
    return drive->root.get();
}

// The entry the path names, a junction itself rather than its target.
fakefs::Node* FakeFileSystem::Resolve(const Path& path) const {
    Node* node = Root(path, true);
    for (const std::string& part : path.parts) {
        node = Through(node);
        if (!node || !node->folder) {
            return nullptr;
        }
        node = node->Child(part);
    }
    if (node && path.trailingSeparator && !node->folder) {
        return nullptr;
    }
    return node;
}

// The folder that holds (or would hold) the entry the path names.
fakefs::Node* FakeFileSystem::ResolveParent(const Path& path) const {
    if (path.IsRoot()) {
        return nullptr;
    }
    Node* parent = Through(Resolve(path.Parent()));
    return parent && parent->folder ? parent : nullptr;
}

std::shared_ptr<fakefs::Node> FakeFileSystem::MakeNode(char drive, const std::string& name, bool folder,
                                                       std::uint32_t attributes) {
    auto node = std::make_shared<Node>();
    node->drive = drive;
    node->name = name;
    node->folder = folder;
    node->attributes = folder ? FolderAttributes(attributes) : FileAttributes(attributes);
    node->index = nextIndex_++;
    return node;
}

bool FakeFileSystem::Has(const std::set<std::string>& paths, const Path& path) {
    return paths.count(path.Key()) != 0;
}

bool FakeFileSystem::Writable(const Path& path, const Node* existing) const {
    return !Has(failWrites_, path) && !Has(locked_, path) && !(existing && IsReadOnly(*existing));
}

// ---- listing and queries -------------------------------------------------

std::optional<DirListing> FakeFileSystem::ListDirectory(const std::string& folder) {
    ++listDirectoryCalls_;
    if (beforeListing) beforeListing(folder);
    auto path = ParsePath(folder);
    if (!path || Has(failListing_, *path)) {
        return std::nullopt;
    }
    Node* node = Through(Resolve(*path));
    if (!node || !node->folder) {
        return std::nullopt;
    }
    DirListing listing;
    Drive* home = FindDrive(node->drive);
    const bool indexKnown = !home || home->settings.folderIndexKnown;
    listing.identity = {home ? home->settings.serial : 0u, 0, indexKnown ? node->index : 0, true};
    for (const auto& child : node->children) {
        listing.entries.push_back({child->name, child->attributes, child->folder ? 0 : child->content.size()});
    }
    return listing;
}

std::optional<DirEntry> FakeFileSystem::Lookup(const std::string& path) {
    // A directory search finds no entry for a drive root, nor for a path
    // that ends with a separator.
    auto parsed = ParsePath(path);
    if (!parsed || parsed->IsRoot() || parsed->trailingSeparator) {
        return std::nullopt;
    }
    Node* node = Resolve(*parsed);
    if (!node) {
        return std::nullopt;
    }
    return DirEntry{node->name, node->attributes, node->folder ? 0 : node->content.size()};
}

bool FakeFileSystem::FolderExists(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Through(Resolve(*parsed)) : nullptr;
    return node && node->folder;
}

std::optional<std::uint64_t> FakeFileSystem::FileSize(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || node->folder) {
        return std::nullopt;
    }
    return node->content.size();
}

std::optional<platform::FileStamp> FakeFileSystem::Stamp(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || node->folder) {
        return std::nullopt;
    }
    return platform::FileStamp{node->content.size(), node->written};
}

// The child a name (or short name) finds in the folder.
fakefs::Node* FakeFileSystem::ChildOrShort(const Node& folder, const std::string& name) {
    if (Node* child = folder.Child(name)) {
        return child;
    }
    for (const auto& child : folder.children) {
        if (!child->shortName.empty() && ToLower(child->shortName) == ToLower(name)) {
            return child.get();
        }
    }
    return nullptr;
}

std::string FakeFileSystem::FinalText(const Path& path, int hops) const {
    Path final{path.drive, path.share, {}, false};
    Node* node = Root(path, true);
    for (const std::string& part : path.parts) {
        // Below a junction the path goes on where the junction leads.
        if (node && node->junction && hops < 32) {
            if (auto target = ParsePath(node->link.target)) {
                if (auto resolved = ParsePath(FinalText(*target, hops + 1))) {
                    final = *resolved;
                }
            }
        }
        Node* folder = Through(node);
        Node* child = folder && folder->folder ? ChildOrShort(*folder, part) : nullptr;
        final = final.Child(child ? child->name : part);
        node = child;
    }
    return final.Text();
}

std::string FakeFileSystem::FinalPath(const std::string& path) {
    auto parsed = ParsePath(path);
    return parsed ? FinalText(*parsed, 0) : path;
}

std::optional<FolderLink> FakeFileSystem::ReadFolderLink(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || !node->junction) {
        return std::nullopt;
    }
    return node->link;
}

bool FakeFileSystem::MakeFolderLink(const std::string& path, const FolderLink& link) {
    auto parsed = ParsePath(path);
    Node* parent = parsed && !parsed->IsRoot() ? ResolveParent(*parsed) : nullptr;
    if (!parent || parent->Child(parsed->Name()) || Has(failWrites_, *parsed)) {
        return false;
    }
    parent->Add(MakeLinkNode(parent->drive, *parsed, link));
    return true;
}

std::shared_ptr<fakefs::Node> FakeFileSystem::MakeLinkNode(char drive, const Path& linkPath, const FolderLink& link) {
    // A relative symbolic link leads from the folder it lies in.
    auto target = ParsePath(link.target);
    if (!target) {
        target = ParsePath(linkPath.Parent().Text() + "\\" + link.target);
    }
    auto created = MakeNode(drive, linkPath.Name(), true, kAttrDirectory | kAttrReparsePoint);
    created->junction = true;
    created->link = link;
    if (Node* targetNode = target ? Through(Resolve(*target)) : nullptr; targetNode && targetNode->folder) {
        created->target = targetNode->shared_from_this();
    }
    return created;
}

// ---- file content --------------------------------------------------------

std::unique_ptr<FileReader> FakeFileSystem::OpenForRead(const std::string& path) {
    auto content = ReadFile(path);
    if (!content) {
        return nullptr;
    }
    const auto parsed = ParsePath(path);
    const auto failing = parsed ? failReadsAfter_.find(parsed->Key()) : failReadsAfter_.end();
    std::optional<std::size_t> readable;
    if (failing != failReadsAfter_.end()) readable = failing->second;
    return std::make_unique<StringReader>(std::move(*content), readable);
}

ContentDigest FakeFileSystem::ContentSha256(const std::string& path, const ContentSizeWanted& wanted,
                                            const ContentHashGoOn& goOn) {
    ++contentHashes_;
    std::unique_ptr<FileReader> reader = OpenForRead(path);
    const std::optional<std::uint64_t> size = reader ? FileSize(path) : std::nullopt;
    if (!size) return {};
    if (wanted && !wanted(*size)) return {ContentHashEnd::OtherSize, *size, {}};
    platform::Sha256Hasher hasher;
    std::string piece(std::min<std::size_t>(*size, kContentHashPiece), '\0');
    for (std::uint64_t done = 0; done < *size;) {
        const std::size_t read = reader->Read(piece.data(), piece.size());
        if (read == 0) return {};
        hasher.Add(piece.data(), read);
        done += read;
        if (done < *size && goOn && !goOn()) return {ContentHashEnd::Abandoned, *size, {}};
    }
    return {ContentHashEnd::Hashed, *size, hasher.Finish()};
}

std::unique_ptr<platform::PendingContentHash> FakeFileSystem::StartContentSha256(const std::string& path,
                                                                                 std::uint64_t size) {
    ++workerHashes_;
    return std::make_unique<FakePendingHash>(*this, path, size);
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path) {
    ++readCalls_;
    auto parsed = ParsePath(path);
    if (parsed) ++readsByPath_[parsed->Key()];
    if (!parsed || Has(failReads_, *parsed)) {
        return std::nullopt;
    }
    Node* node = Resolve(*parsed);
    if (!node || node->folder) {
        return std::nullopt;
    }
    return node->content;
}

bool FakeFileSystem::WriteFileFlushed(const std::string& path, const std::string& bytes) {
    if (!WriteFile(path, bytes)) return false;
    flushedWrites.push_back(path);
    return true;
}

bool FakeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    auto parsed = ParsePath(path);
    if (!parsed || parsed->trailingSeparator) {
        return false;
    }
    Node* parent = ResolveParent(*parsed);
    if (!parent) {
        return false;
    }
    Node* existing = parent->Child(parsed->Name());
    if ((existing && existing->folder) || !Writable(*parsed, existing)) {
        return false;
    }
    if (existing) {
        existing->content = bytes;
        existing->written = ++clock_;
    } else {
        auto created = MakeNode(parent->drive, parsed->Name(), false, kAttrArchive);
        created->content = bytes;
        created->written = ++clock_;
        parent->Add(std::move(created));
    }
    return true;
}

bool FakeFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    auto parsed = ParsePath(path);
    if (!parsed || parsed->trailingSeparator) {
        return false;
    }
    Node* parent = ResolveParent(*parsed);
    Node* existing = parent ? parent->Child(parsed->Name()) : nullptr;
    if (!existing) {
        return WriteFile(path, bytes);
    }
    if (existing->folder || !Writable(*parsed, existing)) {
        return false;
    }
    existing->content += bytes;
    existing->written = ++clock_;
    return true;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
    auto source = ParsePath(from);
    auto target = ParsePath(to);
    if (!source || !target || target->trailingSeparator || Has(failReads_, *source)) {
        return false;
    }
    Node* file = Resolve(*source);
    Node* parent = ResolveParent(*target);
    if (!file || file->folder || !parent) {
        return false;
    }
    Node* existing = parent->Child(target->Name());
    if (existing == file || (existing && (!overwrite || existing->folder)) || !Writable(*target, existing)) {
        return false;
    }
    if (existing) {
        existing->content = file->content;
        existing->attributes = file->attributes;
        existing->written = file->written;
    } else {
        auto created = MakeNode(parent->drive, target->Name(), false, file->attributes);
        created->content = file->content;
        created->written = file->written;
        parent->Add(std::move(created));
    }
    return true;
}

bool FakeFileSystem::MoveReplace(const std::string& from, const std::string& to) {
    auto source = ParsePath(from);
    auto target = ParsePath(to);
    if (!source || !target || source->IsRoot() || target->IsRoot()) {
        return false;
    }
    if (Has(failMoves_, *source) || Has(failMoves_, *target) || Has(locked_, *source) || Has(locked_, *target)) {
        return false;
    }
    Node* node = Resolve(*source);
    Node* sourceParent = ResolveParent(*source);
    Node* targetParent = ResolveParent(*target);
    if (!node || !targetParent) {
        return false;
    }
    Node* existing = targetParent->Child(target->Name());
    if (existing == node) {
        node->name = target->Name();  // a change of case only
        return true;
    }
    if (node->folder) {
        const std::string sourceKey = source->Key() + "\\";
        if (existing || FindRoot(*source) != FindRoot(*target) || target->Key().rfind(sourceKey, 0) == 0) {
            return false;
        }
    } else if (existing && (existing->folder || IsReadOnly(*existing))) {
        return false;
    }
    if (existing) {
        targetParent->Remove(existing);
    }
    std::shared_ptr<Node> moved = sourceParent->Remove(node);
    moved->name = target->Name();
    targetParent->Add(std::move(moved));
    return true;
}

bool FakeFileSystem::DeleteAtRestart(const std::string& path) {
    if (failDeleteAtRestart || !HasFile(path)) return false;
    deletedAtRestart.push_back(path);
    return true;
}

bool FakeFileSystem::DeletePendingAtRestart(const std::string& path) {
    auto parsed = ParsePath(path);
    return parsed && std::any_of(deletedAtRestart.begin(), deletedAtRestart.end(), [&](const std::string& pending) {
               auto other = ParsePath(pending);
               return other && other->Key() == parsed->Key();
           });
}

bool FakeFileSystem::CancelDeleteAtRestart(const std::string& path) {
    if (!DeletePendingAtRestart(path)) return true;
    if (failCancelDeleteAtRestart) return false;
    const std::string key = ParsePath(path)->Key();
    std::erase_if(deletedAtRestart, [&](const std::string& pending) {
        auto other = ParsePath(pending);
        return other && other->Key() == key;
    });
    return true;
}

bool FakeFileSystem::DeleteFile(const std::string& path) {
    auto parsed = ParsePath(path);
    if (!parsed || Has(failDeletes_, *parsed) || Has(locked_, *parsed)) {
        return false;
    }
    Node* node = Resolve(*parsed);
    if (!node || node->folder || IsReadOnly(*node)) {
        return false;
    }
    ResolveParent(*parsed)->Remove(node);
    return true;
}

bool FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || parsed->IsRoot()) {
        return false;
    }
    if (node->folder) {
        node->attributes = FolderAttributes(attributes) | (node->attributes & kAttrReparsePoint);
    } else {
        node->attributes = FileAttributes(attributes);
    }
    return true;
}

// ---- folders -------------------------------------------------------------

bool FakeFileSystem::CreateFolder(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Root(*parsed, true) : nullptr;
    if (!node) {
        return false;
    }
    Path partial = *parsed;
    partial.parts.clear();
    partial.trailingSeparator = false;
    for (const std::string& part : parsed->parts) {
        partial = partial.Child(part);
        node = Through(node);
        if (!node) {
            return false;
        }
        Node* child = node->Child(part);
        if (!child) {
            if (Has(failWrites_, partial)) {
                return false;
            }
            auto created = MakeNode(node->drive, part, true, kAttrDirectory);
            child = created.get();
            node->Add(std::move(created));
        }
        if (!child->folder) {
            return false;
        }
        node = child;
    }
    return true;
}

bool FakeFileSystem::CreateNewFile(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* parent = parsed && !parsed->trailingSeparator && !parsed->IsRoot() ? ResolveParent(*parsed) : nullptr;
    if (!parent || parent->Child(parsed->Name()) || !Writable(*parsed, nullptr)) {
        return false;
    }
    parent->Add(MakeNode(parent->drive, parsed->Name(), false, kAttrArchive));
    return true;
}

bool FakeFileSystem::CreateNewFolder(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* parent = parsed && !parsed->IsRoot() ? ResolveParent(*parsed) : nullptr;
    if (!parent || parent->Child(parsed->Name()) || Has(failWrites_, *parsed)) {
        return false;
    }
    parent->Add(MakeNode(parent->drive, parsed->Name(), true, kAttrDirectory));
    return true;
}

bool FakeFileSystem::CopyFolderTree(const std::string& from, const std::string& to) {
    auto source = ParsePath(from);
    auto target = ParsePath(to);
    if (!source || !target || target->IsRoot()) {
        return false;
    }
    Node* folder = Through(Resolve(*source));
    if (!folder || !folder->folder || target->Key().rfind(source->Key() + "\\", 0) == 0) {
        return false;
    }
    Node* destination = Through(Resolve(*target));
    if (!destination) {
        Node* parent = ResolveParent(*target);
        if (!parent || parent->Child(target->Name()) || Has(failWrites_, *target)) {
            return false;
        }
        auto created = MakeNode(parent->drive, target->Name(), true, folder->attributes & ~kAttrReparsePoint);
        destination = created.get();
        parent->Add(std::move(created));
    } else if (!destination->folder) {
        return false;
    }
    return CopyInto(*folder, *destination, *target);
}

// Copies the content of source into target, merging with what is there;
// junctions are copied as junctions to the same folder.
bool FakeFileSystem::CopyInto(const Node& source, Node& target, const Path& targetPath) {
    bool complete = true;
    for (const auto& child : source.children) {
        const Path childPath = targetPath.Child(child->name);
        Node* existing = target.Child(child->name);
        if (child->folder) {
            if (existing && (!existing->folder || existing->junction)) {
                complete = false;
                continue;
            }
            if (!existing) {
                if (Has(failWrites_, childPath)) {
                    complete = false;
                    continue;
                }
                auto created = MakeNode(target.drive, child->name, true, child->attributes);
                created->junction = child->junction;
                created->target = child->target;
                existing = created.get();
                target.Add(std::move(created));
            }
            if (!child->junction) {
                complete = CopyInto(*child, *existing, childPath) && complete;
            }
        } else if (existing && (existing->folder || !Writable(childPath, nullptr))) {
            complete = false;
        } else if (existing) {
            existing->content = child->content;
            existing->attributes = child->attributes;
            existing->written = child->written;
        } else if (Has(failWrites_, childPath)) {
            complete = false;
        } else {
            auto created = MakeNode(target.drive, child->name, false, child->attributes);
            created->content = child->content;
            created->written = child->written;
            target.Add(std::move(created));
        }
    }
    return complete;
}

bool FakeFileSystem::DeleteFolderTree(const std::string& path) { return platform::DeleteFolderTreeAt(*this, path); }

// ---- drives --------------------------------------------------------------

std::vector<DriveInfo> FakeFileSystem::ListDrives() {
    std::vector<DriveInfo> drives;
    for (const auto& drive : drives_) {
        // A network share without a letter is no drive.
        if (drive->settings.letter.size() != 1) continue;
        drives.push_back({drive->settings.letter, drive->settings.type, drive->settings.ready});
    }
    return drives;
}

std::optional<VolumeInfo> FakeFileSystem::GetVolumeInfo(const std::string& root) {
    auto parsed = ParsePath(root);
    if (!parsed || !parsed->IsRoot() || !Root(*parsed, true)) {
        return std::nullopt;
    }
    const FakeDrive& settings = FindRoot(*parsed)->settings;
    return VolumeInfo{settings.label, settings.serial, settings.fileSystem};
}

std::optional<DriveSpace> FakeFileSystem::GetDriveSpace(const std::string& root) {
    auto parsed = ParsePath(root);
    if (!parsed || !parsed->IsRoot() || !Root(*parsed, true)) {
        return std::nullopt;
    }
    const FakeDrive& settings = FindRoot(*parsed)->settings;
    return DriveSpace{settings.total, settings.free};
}

}  // namespace bastion::testing
