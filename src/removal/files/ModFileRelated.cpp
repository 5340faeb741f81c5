#include "removal/files/ModFileRelated.h"

#include "common/PathParts.h"
#include "common/Text.h"
#include "platform/FolderHandles.h"
#include "removal/quarantine/LinkRecord.h"
#include "scan/processes/ExecutablePaths.h"
#include "scan/processes/ProcessStop.h"
#include "scan/processes/WindowsProcesses.h"

namespace bastion {

namespace {

constexpr int kDeleteAttempts = 8;

// What is at the path: hidden and system entries are found too. A name
// with wildcards would make a look-up match other files.
std::optional<platform::DirEntry> Find(platform::FileSystem& files, const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    std::optional<platform::DirEntry> entry = files.Lookup(path);
    if (entry && !EqualsIgnoreCase(entry->name, FileNameOfPath(path))) return std::nullopt;
    return entry;
}

// Nothing of that name in a folder that could be listed: a look-up that
// failed for another reason (access denied) proves nothing.
bool Absent(platform::FileSystem& files, const std::string& path) {
    std::optional<platform::DirListing> listing = files.ListDirectory(FolderOfPath(path));
    if (!listing) return false;
    const std::string name = FileNameOfPath(path);
    for (const platform::DirEntry& entry : listing->entries) {
        if (EqualsIgnoreCase(entry.name, name)) return false;
    }
    return true;
}

bool IsFolder(const platform::DirEntry& entry) { return (entry.attributes & platform::kAttrDirectory) != 0; }
bool IsLink(const platform::DirEntry& entry) {
    return IsFolder(entry) && (entry.attributes & platform::kAttrReparsePoint) != 0;
}

// The copy in a slot of its own; a folder link is kept as what it points to.
std::optional<QuarantineSlot> Copy(const FileRemoval& removal, const FileItemProgress& item) {
    Quarantine& quarantine = removal.quarantine;
    platform::FileSystem& files = removal.files;
    if (!quarantine.EnsureFolder()) return std::nullopt;
    const std::string name = FileNameOfPath(item.path);
    std::optional<OpenQuarantineSlot> open;
    bool copied = false;
    if (item.kind == QuarantineKind::FolderLink) {
        std::optional<platform::FolderLink> link = files.ReadFolderLink(item.path);
        open = link ? quarantine.Reserve(name + std::string(kLinkRecordExtension)) : std::nullopt;
        const std::string record = link ? FormatLinkRecord(*link) : std::string();
        copied = open && open->file->Write(record.data(), record.size());
    } else if (item.kind == QuarantineKind::Folder) {
        open = quarantine.Reserve(name, Quarantine::SlotKind::Folder);
        // The folder itself: one turned into a link since it was found is
        // not copied through.
        std::unique_ptr<platform::FolderHandle> source =
            open ? files.OpenFolder(item.path, platform::LinkAtEnd::Refuse) : nullptr;
        copied = source && platform::CopyFolderContent(*source, *open->folder);
    } else {
        open = quarantine.Reserve(name);
        copied = open && quarantine.CopyFileInto(item.path, *open->file);
    }
    if (!open) return std::nullopt;
    // Closed before anything else is done with it.
    const QuarantineSlot slot = open->slot;
    open.reset();
    // A copy cut short (a full disk, a name too long) is no copy.
    if (!copied) {
        quarantine.Release(slot);
        return std::nullopt;
    }
    return slot;
}

bool Delete(const FileRemoval& removal, const FileItemProgress& item) {
    platform::FileSystem& files = removal.files;
    const bool folder = item.kind == QuarantineKind::Folder || item.kind == QuarantineKind::FolderLink;
    for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
        if (folder) {
            // A link goes alone: the place it points to is left as it is.
            files.DeleteFolderTree(item.path);
        } else {
            std::optional<platform::DirEntry> entry = Find(files, item.path);
            if (entry && (entry->attributes & platform::kAttrReadOnly) != 0) {
                files.SetAttributes(item.path, entry->attributes & ~platform::kAttrReadOnly);
            }
            files.DeleteFile(item.path);
        }
        if (!files.Lookup(item.path)) return true;
        removal.pump.Pump();
    }
    return false;
}

void Log(const FileRemoval& removal, const FileItemProgress& item) {
    removal.quarantine.LogFile(FileNameOfPath(item.path), item.path);
}

}  // namespace

std::string RemovalPath(std::string path) {
    // A name may end with a blank ("evil.exe "); nothing starts with one.
    path = TrimLeft(path);
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

bool StopProgramsRunning(platform::Processes& processes, platform::SystemInfo& system, platform::FileSystem& files,
                         const std::string& path) {
    std::optional<std::vector<std::uint32_t>> ids = processes.EnumerateIds();
    if (!ids) return true;
    const std::string systemFolder = system.SystemFolder();
    const std::string wanted = ComparableProgramPath(files, path, systemFolder);
    bool stopped = true;
    for (std::uint32_t id : *ids) {
        std::optional<std::string> image = processes.ImagePath(id);
        if (!image || ComparableProgramPath(files, *image, systemFolder) != wanted) continue;
        stopped = StopProcessById(processes, system, files, id, path) && stopped;
    }
    return stopped;
}

std::optional<RemovalResult> KeepInQuarantine(const FileRemoval& removal, const std::string& given,
                                              QuarantineKind kind, FileItemProgress& progress) {
    const std::string path = RemovalPath(given);
    if (!IsDrivePath(path) || removal.neverRemoved.Contains(path)) return RemovalResult::Failed;
    const std::string systemFolder = removal.system.SystemFolder();
    if (IsPartOfWindows(removal.files, ComparableProgramPath(removal.files, path, systemFolder), systemFolder)) {
        progress.note = RemovalNote::PartOfWindows;
        return RemovalResult::Failed;
    }
    std::optional<platform::DirEntry> entry = Find(removal.files, progress.copy ? progress.path : path);
    if (!entry) {
        if (!progress.copy) return Absent(removal.files, path) ? RemovalResult::NotFound : RemovalResult::Failed;
        // Gone since its copy was kept and recorded: the copy is all that is
        // left of it, as after any removal.
        Log(removal, progress);
        progress.copy.reset();
        return RemovalResult::Removed;
    }
    if (progress.copy) return std::nullopt;

    progress.path = FolderOfPath(path) + "\\" + entry->name;
    progress.kind = kind;
    if (IsLink(*entry)) {
        // A reparse point that is no link it can read is never walked into.
        if (!removal.files.ReadFolderLink(progress.path)) return RemovalResult::Failed;
        progress.kind = QuarantineKind::FolderLink;
    } else if (IsFolder(*entry)) {
        progress.kind = QuarantineKind::Folder;
    } else if (EndsWithIgnoreCase(progress.path, ".exe")) {
        StopProgramsRunning(removal.processes, removal.system, removal.files, progress.path);
    }
    std::optional<QuarantineSlot> slot = Copy(removal, progress);
    if (!slot) return RemovalResult::Failed;
    // Recorded before anything is deleted: what cannot be recorded could
    // never be put back, and stays where it is.
    Quarantine& quarantine = removal.quarantine;
    if (!quarantine.Record(*slot, progress.kind, progress.path)) {
        quarantine.Release(*slot);
        return RemovalResult::Failed;
    }
    if (!quarantine.CanLog()) {
        if (quarantine.Withdraw(slot->id)) quarantine.Release(*slot);
        return RemovalResult::Failed;
    }
    progress.copy = slot;
    return std::nullopt;
}

RemovalResult RemoveFileOrFolder(const FileRemoval& removal, const std::string& path, QuarantineKind kind,
                                 FileItemProgress& progress) {
    if (std::optional<RemovalResult> ended = KeepInQuarantine(removal, path, kind, progress)) return *ended;
    if (progress.kind == QuarantineKind::File && EndsWithIgnoreCase(progress.path, ".exe")) {
        // Started again since it was copied, or not stopped the first time.
        StopProgramsRunning(removal.processes, removal.system, removal.files, progress.path);
    }
    if (!Delete(removal, progress)) return RemovalResult::Failed;
    Log(removal, progress);
    progress.copy.reset();
    return RemovalResult::Removed;
}

void SettleFailedItem(const FileRemoval& removal, FileItemProgress& progress) {
    if (!progress.copy) return;
    // Part of a folder may be gone: its copy stays recorded, so that it can
    // be put back. A file or link is still whole where it was.
    if (progress.kind != QuarantineKind::Folder && removal.quarantine.Withdraw(progress.copy->id)) {
        removal.quarantine.Release(*progress.copy);
    }
    progress.copy.reset();
}

}  // namespace bastion
