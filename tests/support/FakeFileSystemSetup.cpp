// FakeFileSystem: arranging drives, files, folders and failures, and
// looking at the result.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "common/Text.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFileTree.h"

namespace bastion::testing {

using namespace platform;
using fakefs::ParsePath;
using fakefs::Through;

fakefs::Path FakeFileSystem::ParseForSetup(const std::string& path) const {
    auto parsed = ParsePath(path);
    if (!parsed) {
        throw std::invalid_argument("FakeFileSystem: not a full path: " + path);
    }
    return *parsed;
}

// Creates the folders of the path's first depth names that are missing
// (whether the drive is ready or not) and returns the last one.
fakefs::Node* FakeFileSystem::SetupFolders(const Path& path, std::size_t depth) {
    Node* node = Root(path, false);
    if (!node) {
        throw std::invalid_argument("FakeFileSystem: no drive for " + path.Text());
    }
    for (std::size_t i = 0; i < depth; ++i) {
        Node* folder = Through(node);
        Node* child = folder ? folder->Child(path.parts[i]) : nullptr;
        if (!child && folder) {
            auto created = MakeNode(folder->drive, path.parts[i], true, kAttrDirectory);
            child = created.get();
            folder->Add(std::move(created));
        }
        if (!child || !child->folder) {
            throw std::invalid_argument("FakeFileSystem: not a folder on the way to " + path.Text());
        }
        node = child;
    }
    return node;
}

void FakeFileSystem::AddDrive(const FakeDrive& drive) {
    std::optional<Path> share = ParsePath(drive.letter);
    if (share && (share->share.empty() || !share->IsRoot())) share.reset();
    if (!share && (drive.letter.empty() || !std::isalpha(static_cast<unsigned char>(drive.letter[0])))) {
        throw std::invalid_argument("FakeFileSystem: bad drive letter " + drive.letter);
    }
    FakeDrive settings = drive;
    if (share) {
        settings.letter = "\\\\" + share->share;
    } else {
        settings.letter = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(drive.letter[0]))));
    }
    Path root;
    root.drive = share ? 0 : settings.letter[0];
    if (share) root.share = share->share;
    if (Drive* existing = FindRoot(root)) {
        existing->settings = settings;
        return;
    }
    auto added = std::make_unique<Drive>();
    added->settings = settings;
    // Shares take ids below the letters, which no drive uses.
    added->id = share ? static_cast<char>('0' + std::count_if(drives_.begin(), drives_.end(), [](const auto& d) {
                                              return d->settings.letter.size() > 1;
                                          }))
                      : settings.letter[0];
    added->root = MakeNode(added->id, "", true, kAttrDirectory);
    // Drives are listed in letter order, as the system lists them.
    auto position = std::find_if(drives_.begin(), drives_.end(), [&](const auto& d) {
        return d->settings.letter > settings.letter;
    });
    drives_.insert(position, std::move(added));
}

void FakeFileSystem::AddDrive(const std::string& letter, DriveType type, bool ready) {
    FakeDrive drive;
    drive.letter = letter;
    drive.type = type;
    drive.ready = ready;
    AddDrive(drive);
}

void FakeFileSystem::RemoveDrive(const std::string& letter) {
    drives_.erase(std::remove_if(drives_.begin(), drives_.end(),
                                 [&](const auto& d) {
                                     if (letter.size() > 1) return EqualsIgnoreCase(d->settings.letter, letter);
                                     return !letter.empty() && d->settings.letter.size() == 1 &&
                                            d->settings.letter[0] ==
                                                std::toupper(static_cast<unsigned char>(letter[0]));
                                 }),
                  drives_.end());
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    Path parsed = ParseForSetup(path);
    if (parsed.IsRoot() || parsed.trailingSeparator) {
        throw std::invalid_argument("FakeFileSystem: not a file path: " + path);
    }
    Node* parent = Through(SetupFolders(parsed, parsed.parts.size() - 1));
    Node* existing = parent->Child(parsed.Name());
    if (existing && existing->folder) {
        throw std::invalid_argument("FakeFileSystem: a folder is in the way of " + path);
    }
    if (existing) {
        parent->Remove(existing);
    }
    auto created = MakeNode(parent->drive, parsed.Name(), false, attributes);
    created->content = content;
    created->written = ++clock_;
    parent->Add(std::move(created));
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    Path parsed = ParseForSetup(path);
    Node* folder = SetupFolders(parsed, parsed.parts.size());
    if (!parsed.IsRoot()) {
        folder->attributes = (attributes | kAttrDirectory) & ~kAttrNormal;
    }
}

void FakeFileSystem::AddJunction(const std::string& path, const std::string& target, std::uint32_t attributes) {
    Path parsed = ParseForSetup(path);
    Node* targetNode = Through(Resolve(ParseForSetup(target)));
    if (parsed.IsRoot() || !targetNode || !targetNode->folder) {
        throw std::invalid_argument("FakeFileSystem: no folder " + target + " for the junction " + path);
    }
    Node* parent = Through(SetupFolders(parsed, parsed.parts.size() - 1));
    if (parent->Child(parsed.Name())) {
        throw std::invalid_argument("FakeFileSystem: something is already at " + path);
    }
    auto junction = MakeNode(parent->drive, parsed.Name(), true, attributes);
    junction->junction = true;
    junction->target = targetNode->shared_from_this();
    junction->link = {FolderLinkKind::Junction, ParseForSetup(target).Text()};
    parent->Add(std::move(junction));
}

void FakeFileSystem::AddShortName(const std::string& path, const std::string& shortName) {
    Node* node = Resolve(ParseForSetup(path));
    if (!node) {
        throw std::invalid_argument("FakeFileSystem: nothing at " + path + " to give a short name");
    }
    node->shortName = shortName;
}

void FakeFileSystem::Insert(std::set<std::string>& paths, const std::string& path) const {
    paths.insert(ParseForSetup(path).Key());
}

void FakeFileSystem::FailReads(const std::string& path) { Insert(failReads_, path); }
void FakeFileSystem::FailReadsAfter(const std::string& path, std::size_t bytes) {
    failReadsAfter_[ParseForSetup(path).Key()] = bytes;
}
void FakeFileSystem::FailWrites(const std::string& path) { Insert(failWrites_, path); }
void FakeFileSystem::FailMoves(const std::string& path) { Insert(failMoves_, path); }
void FakeFileSystem::FailDeletes(const std::string& path) { Insert(failDeletes_, path); }
void FakeFileSystem::FailListing(const std::string& folder) { Insert(failListing_, folder); }
void FakeFileSystem::LockFile(const std::string& path) { Insert(locked_, path); }
void FakeFileSystem::UnlockFile(const std::string& path) { locked_.erase(ParseForSetup(path).Key()); }

void FakeFileSystem::ClearFailures() {
    for (auto* paths : {&failReads_, &failWrites_, &failMoves_, &failDeletes_, &failListing_, &locked_}) {
        paths->clear();
    }
    failReadsAfter_.clear();
}

bool FakeFileSystem::HasFile(const std::string& path) {
    return FileSize(path).has_value();
}

bool FakeFileSystem::HasFolder(const std::string& path) {
    return FolderExists(path);
}

std::optional<std::string> FakeFileSystem::Content(const std::string& path) {
    auto parsed = ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || node->folder) {
        return std::nullopt;
    }
    return node->content;
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
    auto entry = Lookup(path);
    if (!entry) {
        return std::nullopt;
    }
    return entry->attributes;
}

namespace {

void CollectTree(const fakefs::Node& folder, const fakefs::Path& path, std::vector<std::string>& out) {
    for (const auto& child : folder.children) {
        const fakefs::Path childPath = path.Child(child->name);
        out.push_back(childPath.Text() + (child->folder ? "\\" : ""));
        if (child->folder && !child->junction) {
            CollectTree(*child, childPath, out);
        }
    }
}

}  // namespace

std::vector<std::string> FakeFileSystem::Tree(const std::string& root) {
    Path parsed = ParseForSetup(root);
    std::vector<std::string> out;
    Node* node = Resolve(parsed);
    if (node && node->folder && !node->junction) {
        CollectTree(*node, parsed, out);
    }
    return out;
}

void FakeFileSystem::ResetCounters() {
    listDirectoryCalls_ = 0;
    readCalls_ = 0;
    readsByPath_.clear();
}

std::size_t FakeFileSystem::ReadCalls(const std::string& path) const {
    const std::optional<Path> parsed = ParsePath(path);
    const auto found = parsed ? readsByPath_.find(parsed->Key()) : readsByPath_.end();
    return found == readsByPath_.end() ? 0 : found->second;
}

}  // namespace bastion::testing
