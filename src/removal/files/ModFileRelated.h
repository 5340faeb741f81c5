// Removing files, folders and cookies: each is copied whole into the
// quarantine and recorded in its index before it is deleted, deleted only
// once the copy and the record are safe, tested afterwards, and logged when
// it is gone. An executable still running from the path is stopped first
// (only processes whose image is that file; a program of the same name
// elsewhere runs on). A folder that is a link (a junction or a symbolic
// link) is removed as a link: what it pointed to is kept, never its content.
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"
#include "removal/RemovalResult.h"
#include "removal/files/NeverRemoved.h"
#include "removal/quarantine/Quarantine.h"
#include "services/waits/EventPump.h"

namespace bastion {

struct FileRemoval {
    platform::FileSystem& files;
    platform::Processes& processes;
    platform::SystemInfo& system;
    services::EventPump& pump;
    Quarantine& quarantine;
    const NeverRemoved& neverRemoved;
};

// One file, folder or cookie across the removal's passes: its copy in the
// quarantine, made and recorded once and kept for a later attempt at the
// deletion, and what it turned out to be.
struct FileItemProgress {
    std::optional<QuarantineSlot> copy;
    QuarantineKind kind = QuarantineKind::File;
    // The path with the item's own name as the file system stores it.
    std::string path;
    // Why it was refused, when that is worth saying.
    RemovalNote note = RemovalNote::None;
};

// The path as the removal takes it: a folder's trailing backslash dropped
// (its name is the part before it).
std::string RemovalPath(std::string path);

// Stops every process whose image is the file; false when one still runs
// (a part of Windows among them).
bool StopProgramsRunning(platform::Processes& processes, platform::SystemInfo& system, platform::FileSystem& files,
                         const std::string& path);

// The first step of a removal: the item found, its copy made and recorded.
// nullopt when the item may now be deleted; otherwise how the item ended
// (not found; failed, nothing deleted; or removed, when it went away after
// its copy was kept). The program file of a part of Windows
// (IsPartOfWindows) is refused, noted as such.
std::optional<RemovalResult> KeepInQuarantine(const FileRemoval& removal, const std::string& path,
                                              QuarantineKind kind, FileItemProgress& progress);

// RemoveFileOrFolder, and QuarantineCookie for kind Cookie: KeepInQuarantine,
// then the deletion and the log entry.
RemovalResult RemoveFileOrFolder(const FileRemoval& removal, const std::string& path, QuarantineKind kind,
                                 FileItemProgress& progress);

// After the last attempt failed: a file's record is withdrawn and its copy
// goes (the file itself is still where it was); a folder's copy stays
// recorded, since part of the folder may have been deleted.
void SettleFailedItem(const FileRemoval& removal, FileItemProgress& progress);

}  // namespace bastion
