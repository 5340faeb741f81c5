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
    std::string text = share.empty() ? std::string{drive, ':'} : "\\\\" + share;
    if (parts.empty()) {
        return text + "\\";
    }
    for (const std::string& part : parts) {
        text += '\\';
        text += part;
    }
    return text;
}

// "\\server\share" and what follows: the share and where its parts begin;
// nullopt when the text names no share.
std::optional<std::pair<std::string, std::size_t>> ParseShare(const std::string& text) {
    if (text.size() < 3 || !IsSeparator(text[0]) || !IsSeparator(text[1]) || IsSeparator(text[2])) {
        return std::nullopt;
    }
    const std::size_t server = text.find_first_of("\\/", 2);
    if (server == std::string::npos || server + 1 >= text.size() || IsSeparator(text[server + 1])) {
        return std::nullopt;
    }
    const std::size_t end = std::min(text.find_first_of("\\/", server + 1), text.size());
    std::string share = text.substr(2, end - 2);
    share[server - 2] = '\\';
    return std::pair{share, end};
}

std::optional<Path> ParsePath(const std::string& text) {
    Path path;
    std::size_t first = 2;
    if (auto share = ParseShare(text)) {
        path.drive = 0;
        path.share = share->first;
        first = share->second;
    } else if (text.size() < 2 || !std::isalpha(static_cast<unsigned char>(text[0])) || text[1] != ':') {
        return std::nullopt;
    } else if (text.size() > 2 && !IsSeparator(text[2])) {
        return std::nullopt;  // "C:name" is relative to the drive's current folder
    } else {
        path.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
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
    for (std::size_t i = first; i < text.size(); ++i) {
        if (IsSeparator(text[i])) {
            finishPart();
        } else {
            part += text[i];
        }
    }
    finishPart();
    path.trailingSeparator = text.size() > first + 1 && IsSeparator(text.back());
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
