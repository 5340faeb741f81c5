#include "removal/quarantine/QuarantineRestore.h"

#include "common/PathParts.h"
#include "removal/registry/RegFile.h"

namespace bastion {

namespace {

RestoreResult RestorePath(Quarantine& quarantine, const QuarantineItem& item, const std::string& stored,
                          const ReplaceQuestion& replaceExisting) {
    platform::FileSystem& files = quarantine.Files();
    const std::string& target = item.originalLocation;
    const bool folder = item.kind == QuarantineKind::Folder;
    std::optional<platform::DirEntry> existing = files.Lookup(target);
    if (existing) {
        if (!replaceExisting || !replaceExisting(target)) return RestoreResult::Kept;
        if (!folder) files.SetAttributes(target, existing->attributes & ~platform::kAttrReadOnly);
    }
    const std::string parent = FolderOfPath(target);
    if (!parent.empty() && !files.FolderExists(parent)) files.CreateFolder(parent);
    if (folder) {
        if (!files.CopyFolderTree(stored, target)) return RestoreResult::Failed;
        files.DeleteFolderTree(stored);
    } else {
        if (!files.CopyFile(stored, target, true) || files.FileSize(target) != files.FileSize(stored)) {
            return RestoreResult::Failed;
        }
        // The copy carries the original's attributes: a read-only one is
        // made writable before the stored copy goes.
        if (std::optional<platform::DirEntry> copy = files.Lookup(stored)) {
            files.SetAttributes(stored, copy->attributes & ~platform::kAttrReadOnly);
        }
        files.DeleteFile(stored);
    }
    return RestoreResult::Restored;
}

}  // namespace

RestoreResult RestoreFromQuarantine(Quarantine& quarantine, platform::Registry& registry,
                                    const QuarantineItem& item, const ReplaceQuestion& replaceExisting) {
    platform::FileSystem& files = quarantine.Files();
    const std::string stored = quarantine.Folder() + "\\" + item.storedName;
    if (!files.Lookup(stored)) return RestoreResult::Failed;
    RestoreResult result = RestoreResult::Failed;
    if (item.kind == QuarantineKind::RegistryValue || item.kind == QuarantineKind::RegistryKey) {
        std::optional<std::string> bytes = files.ReadFile(stored);
        std::optional<RegistrySnapshot> snapshot = bytes ? ParseRegFile(*bytes) : std::nullopt;
        if (!snapshot || !ApplySnapshot(registry, *snapshot)) return RestoreResult::Failed;
        files.DeleteFile(stored);
        result = RestoreResult::Restored;
    } else {
        result = RestorePath(quarantine, item, stored, replaceExisting);
    }
    if (result == RestoreResult::Restored) quarantine.MarkRestored(item.id);
    return result;
}

}  // namespace bastion
