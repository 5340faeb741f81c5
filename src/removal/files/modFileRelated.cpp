#include "removal/files/modFileRelated.h"

#include "common/Text.h"
#include "scan/processes/ExecutablePaths.h"
#include "scan/processes/ProcessStop.h"

namespace bastion {

namespace {

constexpr int kDeleteAttempts = 8;

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// What is at the path: hidden and system entries are found too. A name
// with wildcards would make a look-up match other files.
std::optional<platform::DirEntry> Find(platform::FileSystem& files, const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    std::optional<platform::DirEntry> entry = files.Lookup(path);
    if (entry && !EqualsIgnoreCase(entry->name, NameOf(path))) return std::nullopt;
    return entry;
}

bool CopyIntoQuarantine(const FileRemoval& removal, const std::string& path, bool folder, QuarantineSlot& slot) {
    if (!removal.quarantine.EnsureFolder()) return false;
    slot = removal.quarantine.Reserve(NameOf(path));
    platform::FileSystem& files = removal.files;
    const bool copied = folder ? files.CopyFolderTree(path, slot.path)
                               : files.CopyFile(path, slot.path, false) && files.FileSize(slot.path) == files.FileSize(path);
    if (!copied) {
        // A copy cut short (a full disk, a name too long) is no copy.
        if (folder) {
            files.DeleteFolderTree(slot.path);
        } else {
            files.SetAttributes(slot.path, platform::kAttrNormal);
            files.DeleteFile(slot.path);
        }
    }
    return copied;
}

bool Delete(const FileRemoval& removal, const std::string& path, bool folder) {
    platform::FileSystem& files = removal.files;
    for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
        if (folder) {
            files.DeleteFolderTree(path);
        } else {
            std::optional<platform::DirEntry> entry = Find(files, path);
            if (entry && (entry->attributes & platform::kAttrReadOnly) != 0) {
                files.SetAttributes(path, entry->attributes & ~platform::kAttrReadOnly);
            }
            files.DeleteFile(path);
        }
        if (!files.Lookup(path)) return true;
        removal.pump.Pump();
    }
    return false;
}

}  // namespace

std::string RemovalPath(std::string path) {
    path = Trim(path);
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

bool StopProgramsRunning(platform::Processes& processes, platform::SystemInfo& system, const std::string& path) {
    std::optional<std::vector<std::uint32_t>> ids = processes.EnumerateIds();
    if (!ids) return true;
    const std::string systemFolder = system.SystemFolder();
    const std::string wanted = NormalizedProcessPath(path, systemFolder);
    bool stopped = true;
    for (std::uint32_t id : *ids) {
        std::optional<std::string> image = processes.ImagePath(id);
        if (!image || NormalizedProcessPath(*image, systemFolder) != wanted) continue;
        stopped = StopProcessById(processes, system, id, path) && stopped;
    }
    return stopped;
}

RemovalResult RemoveFileOrFolder(const FileRemoval& removal, const std::string& given, QuarantineKind kind,
                                 FileItemProgress& progress) {
    const std::string path = RemovalPath(given);
    if (path.find('\\') == std::string::npos || removal.neverRemoved.Contains(path)) return RemovalResult::Failed;
    std::optional<platform::DirEntry> entry = Find(removal.files, path);
    if (!entry) {
        // Gone since its copy was made: the copy is all that is left of it.
        if (progress.copy) removal.quarantine.Record(*progress.copy, kind, path);
        progress.copy.reset();
        return RemovalResult::Gone;
    }
    progress.folder = (entry->attributes & platform::kAttrDirectory) != 0;
    if (progress.folder && kind == QuarantineKind::File) kind = QuarantineKind::Folder;
    if (!progress.folder && EndsWithIgnoreCase(path, ".exe")) {
        StopProgramsRunning(removal.processes, removal.system, path);
    }
    if (!progress.copy) {
        QuarantineSlot slot;
        if (!CopyIntoQuarantine(removal, path, progress.folder, slot)) return RemovalResult::Failed;
        progress.copy = slot;
    }
    if (!Delete(removal, path, progress.folder)) return RemovalResult::Failed;
    removal.quarantine.LogFile(NameOf(path), path);
    removal.quarantine.Record(*progress.copy, kind, path);
    progress.copy.reset();
    return RemovalResult::Removed;
}

void SettleFailedItem(const FileRemoval& removal, const std::string& given, FileItemProgress& progress) {
    if (!progress.copy) return;
    if (progress.folder) {
        removal.quarantine.Record(*progress.copy, QuarantineKind::Folder, RemovalPath(given));
    } else {
        removal.files.SetAttributes(progress.copy->path, platform::kAttrNormal);
        removal.files.DeleteFile(progress.copy->path);
    }
    progress.copy.reset();
}

}  // namespace bastion
