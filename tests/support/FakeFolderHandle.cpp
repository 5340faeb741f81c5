// Folder handles of the fake file system: each holds the folder's node, so
// that what is done through it happens there, whatever the test (standing
// for another program) renames or replaces by a junction meanwhile.
#include <algorithm>
#include <cstring>

#include "common/Text.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFileTree.h"

namespace bastion::testing {

using namespace platform;
using fakefs::Node;
using fakefs::Path;

namespace {

class NodeReader : public FileReader {
public:
    explicit NodeReader(std::string content) : content_(std::move(content)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, content_.size() - position_);
        std::memcpy(buffer, content_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::string content_;
    std::size_t position_ = 0;
};

class NodeWriter : public FileWriter {
public:
    explicit NodeWriter(std::shared_ptr<Node> file) : file_(std::move(file)) {}
    bool Write(const char* data, std::size_t size) override {
        file_->content.append(data, size);
        return true;
    }
    bool SetAttributes(std::uint32_t attributes) override {
        file_->attributes = fakefs::FileAttributes(attributes & ~kAttrReparsePoint);
        return true;
    }

private:
    std::shared_ptr<Node> file_;
};

bool IsLinkNode(const Node& node) { return node.junction || (node.attributes & kAttrReparsePoint) != 0; }


}  // namespace

class FakeFolderHandle : public FolderHandle {
public:
    FakeFolderHandle(FakeFileSystem& files, std::shared_ptr<Node> folder, std::weak_ptr<Node> parent, Path path)
        : files_(files), folder_(std::move(folder)), parent_(std::move(parent)), path_(std::move(path)) {}

    std::optional<std::vector<DirEntry>> List() override {
        if (FakeFileSystem::Has(files_.failListing_, path_)) return std::nullopt;
        std::vector<DirEntry> entries;
        for (const auto& child : folder_->children) {
            entries.push_back({child->name, child->attributes, child->folder ? 0 : child->content.size()});
        }
        if (files_.onListedThroughHandle) files_.onListedThroughHandle(path_.Text());
        return entries;
    }

    std::unique_ptr<FolderHandle> Folder(const std::string& name) override {
        Node* child = folder_->Child(name);
        if (!child || !child->folder || IsLinkNode(*child)) return nullptr;
        return Handle(*child);
    }

    std::unique_ptr<FolderHandle> NewFolder(const std::string& name) override {
        if (folder_->Child(name) || FakeFileSystem::Has(files_.failWrites_, path_.Child(name))) return nullptr;
        auto created = files_.MakeNode(folder_->drive, name, true, kAttrDirectory);
        Node& node = *created;
        folder_->Add(std::move(created));
        return Handle(node);
    }

    std::unique_ptr<FileReader> ReadFile(const std::string& name) override {
        Node* child = folder_->Child(name);
        if (!child || child->folder || FakeFileSystem::Has(files_.failReads_, path_.Child(name))) return nullptr;
        ++files_.readCalls_;
        return std::make_unique<NodeReader>(child->content);
    }

    std::unique_ptr<FileWriter> NewFile(const std::string& name) override {
        if (folder_->Child(name) || !files_.Writable(path_.Child(name), nullptr)) return nullptr;
        auto created = files_.MakeNode(folder_->drive, name, false, kAttrArchive);
        created->written = ++files_.clock_;
        auto writer = std::make_unique<NodeWriter>(created);
        folder_->Add(std::move(created));
        return writer;
    }

    bool NewLink(const std::string& name, const FolderLink& link) override {
        if (folder_->Child(name) || FakeFileSystem::Has(files_.failWrites_, path_.Child(name))) return false;
        folder_->Add(files_.MakeLinkNode(folder_->drive, path_.Child(name), link));
        return true;
    }

    bool Rename(const std::string& from, const std::string& to, bool replace) override {
        Node* node = folder_->Child(from);
        if (!node || FakeFileSystem::Has(files_.failMoves_, path_.Child(from)) ||
            FakeFileSystem::Has(files_.failMoves_, path_.Child(to))) {
            return false;
        }
        if (Node* existing = folder_->Child(to); existing && existing != node) {
            if (!replace || existing->folder || (existing->attributes & kAttrReadOnly) != 0 ||
                FakeFileSystem::Has(files_.locked_, path_.Child(to))) {
                return false;
            }
            folder_->Remove(existing);
        }
        std::shared_ptr<Node> moved = folder_->Remove(node);
        moved->name = to;
        folder_->Add(std::move(moved));
        return true;
    }

    bool SetAttributes(const std::string& name, std::uint32_t attributes) override {
        Node* child = folder_->Child(name);
        if (!child) return false;
        child->attributes = child->folder
                                ? ((attributes | kAttrDirectory) & ~kAttrNormal) | (child->attributes & kAttrReparsePoint)
                                : fakefs::FileAttributes(attributes & ~kAttrReparsePoint);
        return true;
    }

    bool Delete(const std::string& name) override {
        Node* child = folder_->Child(name);
        const Path childPath = path_.Child(name);
        if (!child || FakeFileSystem::Has(files_.failDeletes_, childPath) ||
            FakeFileSystem::Has(files_.locked_, childPath)) {
            return false;
        }
        // A link goes as a link, whatever it stands for.
        if (child->folder && !child->junction && !child->children.empty()) return false;
        folder_->Remove(child);
        return true;
    }

    bool DeleteSelf() override {
        std::shared_ptr<Node> parent = parent_.lock();
        if (!parent || !folder_->children.empty() || FakeFileSystem::Has(files_.failDeletes_, path_)) return false;
        const auto& siblings = parent->children;
        if (std::none_of(siblings.begin(), siblings.end(), [&](const auto& child) { return child == folder_; })) {
            return false;
        }
        parent->Remove(folder_.get());
        return true;
    }

private:
    std::unique_ptr<FolderHandle> Handle(Node& child) {
        return std::make_unique<FakeFolderHandle>(files_, child.shared_from_this(), folder_, path_.Child(child.name));
    }

    FakeFileSystem& files_;
    std::shared_ptr<Node> folder_;
    std::weak_ptr<Node> parent_;
    Path path_;
};

std::unique_ptr<FolderHandle> FakeFileSystem::OpenFolder(const std::string& path, LinkAtEnd atEnd) {
    auto parsed = fakefs::ParsePath(path);
    Node* node = parsed ? Resolve(*parsed) : nullptr;
    if (!node || (atEnd == LinkAtEnd::Refuse && IsLinkNode(*node))) return nullptr;
    // Held through a link, the folder is the link's target: no folder of
    // the path holds it.
    Node* parent = parsed->IsRoot() || node->junction ? nullptr : ResolveParent(*parsed);
    node = fakefs::Through(node);
    if (!node || !node->folder) return nullptr;
    std::weak_ptr<Node> above;
    if (parent) above = parent->shared_from_this();
    return std::make_unique<FakeFolderHandle>(*this, node->shared_from_this(), above, *parsed);
}

}  // namespace bastion::testing
