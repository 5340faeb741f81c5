#include "platform/FolderHandles.h"

#include "common/PathParts.h"
#include "common/Text.h"

#include <vector>

namespace bastion::platform {

namespace {

// Names tried for a file on its way in; one left by a crash is passed over.
constexpr int kTemporaryNames = 16;

bool IsFolder(const DirEntry& entry) { return (entry.attributes & kAttrDirectory) != 0; }
bool IsLink(const DirEntry& entry) { return (entry.attributes & kAttrReparsePoint) != 0; }

std::optional<DirEntry> EntryNamed(FolderHandle& folder, const std::string& name) {
    std::optional<std::vector<DirEntry>> entries = folder.List();
    if (!entries) return std::nullopt;
    for (DirEntry& entry : *entries) {
        if (EqualsIgnoreCase(entry.name, name)) return std::move(entry);
    }
    return std::nullopt;
}

// "C:", "\\server\share" and what is shorter: no folder holds them.
bool IsRoot(std::string_view path) {
    if (IsNetworkPath(path)) return RootOfPath(path).size() >= path.size();
    return path.size() <= 3 && path.find('\\') >= 2;
}

}  // namespace

std::unique_ptr<FolderHandle> OpenFolderFromRoot(FileSystem& files, const std::string& given, bool create) {
    // "C:" is the root: the folder above "C:\x".
    const std::string path = given.size() == 2 ? given + "\\" : given;
    if (!IsDrivePath(path)) return nullptr;
    std::unique_ptr<FolderHandle> folder = files.OpenFolder(path.substr(0, 3), LinkAtEnd::Refuse);
    for (const std::string& name : Split(std::string_view(path).substr(3), "\\")) {
        if (!folder) return nullptr;
        if (name.empty()) continue;
        std::unique_ptr<FolderHandle> next = folder->Folder(name);
        // Made only where nothing of the name is: a link or a file there
        // stays what it is, and the way ends.
        if (!next && create) next = folder->NewFolder(name);
        folder = std::move(next);
    }
    return folder;
}

bool DeleteEntryTree(FolderHandle& folder, const std::string& name) {
    std::unique_ptr<FolderHandle> inner = folder.Folder(name);
    // A file or a link, opened itself.
    if (!inner) return folder.Delete(name);
    bool emptied = true;
    if (std::optional<std::vector<DirEntry>> entries = inner->List()) {
        for (const DirEntry& entry : *entries) emptied = DeleteEntryTree(*inner, entry.name) && emptied;
    } else {
        emptied = false;
    }
    return inner->DeleteSelf() && emptied;
}

bool DeleteFolderTreeAt(FileSystem& files, const std::string& given) {
    std::string path = given;
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    if (IsRoot(path)) return false;
    const std::optional<DirEntry> entry = files.Lookup(path);
    if (!entry || !IsFolder(*entry)) return false;
    // "C:" alone would name the drive's current folder.
    std::string folder = FolderOfPath(path);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    std::unique_ptr<FolderHandle> parent = files.OpenFolder(folder, LinkAtEnd::Follow);
    if (!parent) return false;
    return DeleteEntryTree(*parent, entry->name) && !files.Lookup(path);
}

std::optional<std::uint64_t> CopyBytes(FileReader& from, FileWriter& to) {
    std::vector<char> buffer(64 * 1024);
    std::uint64_t copied = 0;
    while (const std::size_t read = from.Read(buffer.data(), buffer.size())) {
        if (!to.Write(buffer.data(), read)) return std::nullopt;
        copied += read;
    }
    return copied;
}

bool WriteFileInto(FolderHandle& folder, const std::string& name, const FileToWrite& source, bool replace) {
    std::string temporary;
    std::unique_ptr<FileWriter> file;
    for (int attempt = 0; attempt < kTemporaryNames && !file; ++attempt) {
        temporary = "~" + name + "." + ToDecimal(attempt) + ".new";
        file = folder.NewFile(temporary);
    }
    if (!file) return false;
    const bool written = CopyBytes(source.bytes, *file) == source.size && file->SetAttributes(source.attributes);
    file.reset();
    if (written && replace) {
        // A read-only file refuses to be replaced: the one being replaced
        // no longer needs to be kept so.
        if (std::optional<DirEntry> existing = EntryNamed(folder, name); existing && !IsFolder(*existing)) {
            folder.SetAttributes(name, existing->attributes & ~kAttrReadOnly);
        }
    }
    if (written && folder.Rename(temporary, name, replace)) return true;
    folder.Delete(temporary);
    return false;
}

bool CopyFolderContent(FolderHandle& from, FolderHandle& to) {
    std::optional<std::vector<DirEntry>> entries = from.List();
    if (!entries) return false;
    bool complete = true;
    for (const DirEntry& entry : *entries) {
        if (IsFolder(entry)) {
            std::unique_ptr<FolderHandle> target = to.Folder(entry.name);
            if (!target) target = to.NewFolder(entry.name);
            if (!target) {
                complete = false;
                continue;
            }
            if (IsLink(entry)) continue;
            std::unique_ptr<FolderHandle> source = from.Folder(entry.name);
            complete = source && CopyFolderContent(*source, *target) && complete;
            continue;
        }
        std::unique_ptr<FileReader> reader = from.ReadFile(entry.name);
        complete = reader && WriteFileInto(to, entry.name, {*reader, entry.size, entry.attributes}, true) && complete;
    }
    return complete;
}

}  // namespace bastion::platform
