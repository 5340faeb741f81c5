// The node tree and path parsing behind FakeFileSystem.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/FakeFileSystem.h"

namespace bastion::testing::fakefs {

// A Windows path taken apart: drive letter (upper case) or network share
// ("server\share"), the names below the root, and whether it ended with a
// separator.
struct Path {
    char drive = 'C';
    std::string share;  // empty for a path on a drive
    std::vector<std::string> parts;
    bool trailingSeparator = false;

    bool IsRoot() const { return parts.empty(); }
    const std::string& Name() const { return parts.back(); }
    Path Parent() const;
    Path Child(const std::string& name) const;
    // The path folded for comparison ("c:\a\b"), the key of failure sets.
    std::string Key() const;
    // The path as text ("C:\a\b", "\\server\share\a"; a root ends with
    // "\").
    std::string Text() const;
};

// "C:\a\b", "c:/a//b\", "C:", "C:\a\..\b" and "\\server\share\a" parse;
// relative paths do not.
std::optional<Path> ParsePath(const std::string& text);

struct Node : std::enable_shared_from_this<Node> {
    std::string name;
    bool folder = false;
    std::uint32_t attributes = 0;
    std::string content;
    // When the content was last written, by the file system's own clock.
    std::uint64_t written = 0;
    std::uint64_t index = 0;
    char drive = 'C';  // the id of the drive or share it lives on, for its identity
    // A junction: a folder entry whose content is the target's. link holds
    // the kind and the target as the link names it.
    bool junction = false;
    std::weak_ptr<Node> target;
    platform::FolderLink link;
    // The 8.3 name the system would also find it by; empty for none.
    std::string shortName;

    std::vector<std::shared_ptr<Node>> children;  // creation order

    Node* Child(const std::string& childName) const;
    void Add(std::shared_ptr<Node> child);
    std::shared_ptr<Node> Remove(const Node* child);

private:
    std::unordered_map<std::string, Node*> byFoldedName_;
};

struct Drive {
    FakeDrive settings;
    // The letter, or for a network share a character no letter takes.
    char id = 'C';
    std::shared_ptr<Node> root;
};

// The folder whose content a node shows: the node itself, or the target of
// a junction (nullptr when the target is gone).
Node* Through(Node* node);

// What the system reports for a file given these attributes: never the
// directory bit, and "normal" only when nothing else is set.
inline std::uint32_t FileAttributes(std::uint32_t attributes) {
    attributes &= ~platform::kAttrDirectory;
    if (attributes == 0) return platform::kAttrNormal;
    return attributes == platform::kAttrNormal ? attributes : attributes & ~platform::kAttrNormal;
}

}  // namespace bastion::testing::fakefs
