#include "support/FakeFileTree.h"

#include <algorithm>
#include <cctype>

#include "common/Text.h"

namespace bastion::testing::fakefs {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

Path Path::Parent() const {
    Path parent = *this;
    parent.parts.pop_back();
    parent.trailingSeparator = false;
    return parent;
}

Path Path::Child(const std::string& name) const {
    Path child = *this;
    child.parts.push_back(name);
    child.trailingSeparator = false;
    return child;
}

std::string Path::Key() const {
    return ToLower(Text());
}

std::string Path::Text() const {
    std::string text(1, drive);
    text += ':';
    if (parts.empty()) {
        return text + "\\";
    }
    for (const std::string& part : parts) {
        text += '\\';
        text += part;
    }
    return text;
}

std::optional<Path> ParsePath(const std::string& text) {
    if (text.size() < 2 || !std::isalpha(static_cast<unsigned char>(text[0])) || text[1] != ':') {
        return std::nullopt;
    }
    if (text.size() > 2 && !IsSeparator(text[2])) {
        return std::nullopt;  // "C:name" is relative to the drive's current folder
    }
    Path path;
    path.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    std::string part;
    auto finishPart = [&] {
        if (part == "..") {
            if (!path.parts.empty()) {
                path.parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            path.parts.push_back(part);
        }
        part.clear();
    };
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (IsSeparator(text[i])) {
            finishPart();
        } else {
            part += text[i];
        }
    }
    finishPart();
    path.trailingSeparator = text.size() > 3 && IsSeparator(text.back());
    return path;
}

Node* Node::Child(const std::string& childName) const {
    auto found = byFoldedName_.find(ToLower(childName));
    return found == byFoldedName_.end() ? nullptr : found->second;
}

void Node::Add(std::shared_ptr<Node> child) {
    byFoldedName_[ToLower(child->name)] = child.get();
    children.push_back(std::move(child));
}

std::shared_ptr<Node> Node::Remove(const Node* child) {
    auto found = std::find_if(children.begin(), children.end(), [&](const auto& c) { return c.get() == child; });
    if (found == children.end()) {
        return nullptr;
    }
    std::shared_ptr<Node> removed = *found;
    children.erase(found);
    byFoldedName_.erase(ToLower(removed->name));
    return removed;
}

Node* Through(Node* node) {
    // A junction may point at another junction; a chain that does not end is
    // treated as a dangling link.
    for (int hops = 0; node && node->junction; ++hops) {
        if (hops == 32) {
            return nullptr;
        }
        node = node->target.lock().get();
    }
    return node;
}

}  // namespace bastion::testing::fakefs
