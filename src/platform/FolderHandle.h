// Folders held open: what is done through a folder's handle happens in that
// folder, whatever is renamed, replaced or turned into a link around it
// meanwhile (another program running as the user can do all that in the
// user's own folders, and an elevated removal or restore must not follow).
// Every entry named is opened itself: a link (a junction, a symbolic link,
// any reparse point) is never followed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bastion::platform {

struct DirEntry;
struct FolderLink;
class FileReader;

// A file opened for writing; closed when destroyed.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    // The attributes the file keeps (read-only, hidden, ...), set through
    // the same handle.
    virtual bool SetAttributes(std::uint32_t attributes) = 0;
};

class FolderHandle {
public:
    virtual ~FolderHandle() = default;

    // The entries, as FileSystem::ListDirectory gives them; nullopt when
    // the folder cannot be listed.
    virtual std::optional<std::vector<DirEntry>> List() = 0;
    // The subfolder of that name; nullptr when it is absent, a file, a link,
    // or cannot be opened.
    virtual std::unique_ptr<FolderHandle> Folder(const std::string& name) = 0;
    // A subfolder made where nothing of that name is yet.
    virtual std::unique_ptr<FolderHandle> NewFolder(const std::string& name) = 0;
    // The file of that name opened for reading; nullptr for a link.
    virtual std::unique_ptr<FileReader> ReadFile(const std::string& name) = 0;
    // An empty file made where nothing of that name is yet.
    virtual std::unique_ptr<FileWriter> NewFile(const std::string& name) = 0;
    // A folder link made where nothing of that name is yet.
    virtual bool NewLink(const std::string& name, const FolderLink& link) = 0;
    // Renames an entry within this folder; a file of the new name is
    // replaced only when asked (the entry itself, never what a link names).
    virtual bool Rename(const std::string& from, const std::string& to, bool replace) = 0;
    // Sets the attributes of the entry of that name.
    virtual bool SetAttributes(const std::string& name, std::uint32_t attributes) = 0;
    // Deletes the entry of that name: a file (read-only ones too), a link
    // (never what it points to), or an empty folder.
    virtual bool Delete(const std::string& name) = 0;
    // Deletes this folder itself, through its own handle; it must be empty.
    virtual bool DeleteSelf() = 0;
};

}  // namespace bastion::platform
