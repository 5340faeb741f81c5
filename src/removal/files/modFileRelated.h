// Removing files, folders and cookies: each is copied whole into the
// quarantine before it is deleted, deleted only once the copy is complete,
// tested afterwards, and logged and indexed only when it is gone. An
// executable still running from the path is stopped first (only processes
// whose image is that file; a program of the same name elsewhere runs on).
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"
#include "removal/RemovalResult.h"
#include "removal/files/NeverRemoved.h"
#include "removal/quarantine/Quarantine.h"
#include "ui/EventPump.h"

namespace bastion {

struct FileRemoval {
    platform::FileSystem& files;
    platform::Processes& processes;
    platform::SystemInfo& system;
    ui::EventPump& pump;
    Quarantine& quarantine;
    const NeverRemoved& neverRemoved;
};

// One file, folder or cookie across the removal's passes: its copy in the
// quarantine, made once and kept for a later attempt at the deletion.
struct FileItemProgress {
    std::optional<QuarantineSlot> copy;
    bool folder = false;
};

// The path as the removal takes it: a folder's trailing backslash dropped
// (its name is the part before it).
std::string RemovalPath(std::string path);

// Stops every process whose image is the file; false when one still runs.
bool StopProgramsRunning(platform::Processes& processes, platform::SystemInfo& system, const std::string& path);

// RemoveFileOrFolder, and QuarantineCookie for kind Cookie.
RemovalResult RemoveFileOrFolder(const FileRemoval& removal, const std::string& path, QuarantineKind kind,
                                 FileItemProgress& progress);

// After the last attempt failed: a file's copy goes (the file itself is
// still where it was); a folder's copy stays indexed, since part of the
// folder may have been deleted.
void SettleFailedItem(const FileRemoval& removal, const std::string& path, FileItemProgress& progress);

}  // namespace bastion
