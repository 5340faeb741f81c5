// What is done through folder handles (FolderHandle): opening a folder from
// its drive root down, deleting a tree, copying a tree or a file into a
// folder. Each step opens the next entry through the handle of the folder
// above it and reads its kind from its own handle, so that a folder swapped
// for a link between two steps is never followed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace bastion::platform {

// The folder at path (a drive path) opened from the drive root down, each
// folder through the one above it; nullptr when any folder on the way is a
// link, a file or cannot be opened, or is missing and not to be made
// (create makes the missing ones).
std::unique_ptr<FolderHandle> OpenFolderFromRoot(FileSystem& files, const std::string& path, bool create);

// Deletes the entry of the folder and everything in it. A folder is emptied
// and deleted through its own handle; a link, and a folder that has become
// one since it was listed, goes as a link. False when anything stayed.
bool DeleteEntryTree(FolderHandle& folder, const std::string& name);

// FileSystem::DeleteFolderTree for any file system: the folder at path (a
// link at its end taken as a link) deleted through the folder above it.
// Never a drive or share root.
bool DeleteFolderTreeAt(FileSystem& files, const std::string& path);

// The bytes the reader gives, written to the end; how many, or nullopt
// when a write failed. (A read that fails ends the bytes: callers compare
// the count with the size they expect.)
std::optional<std::uint64_t> CopyBytes(FileReader& from, FileWriter& to);

// A file as WriteFileInto writes it: its bytes (size of them, no fewer),
// and the attributes it keeps.
struct FileToWrite {
    FileReader& bytes;
    std::uint64_t size = 0;
    std::uint32_t attributes = 0;
};

// Writes the file of that name into the folder: under a name of its own
// first, then renamed into place, replacing a file already there only when
// replace. A name that is a link, or another name of a file elsewhere (a
// hard link), is replaced, never written through; a file cut short never
// takes the name.
bool WriteFileInto(FolderHandle& folder, const std::string& name, const FileToWrite& file, bool replace);

// Copies what from holds into to: files whole with their attributes
// (replacing files of the same name), folders made or merged, a link inside
// made as an empty folder and never followed. False when anything could
// not be copied.
bool CopyFolderContent(FolderHandle& from, FolderHandle& to);

}  // namespace bastion::platform
