#include "removal/quarantine/QuarantineRestore.h"

#include "common/PathParts.h"
#include "removal/RemovalMessages.h"
#include "removal/quarantine/LinkRecord.h"
#include "removal/quarantine/RecordCheck.h"
#include "removal/quarantine/StoredCopy.h"
#include "removal/registry/RegFile.h"

namespace bastion {

namespace {

RestoreOutcome Failure(std::string_view reason) { return {RestoreResult::Failed, reason}; }

bool Ask(const RestoreQuestion& question, const std::string& location) { return question && question(location); }

bool IsFileKind(QuarantineKind kind) { return kind == QuarantineKind::File || kind == QuarantineKind::Cookie; }

// Whether what lies in the quarantine is what the record's kind stores: a
// plain folder for a folder, a plain file for everything else; never a
// link, which would lead the restore elsewhere.
bool StoredAsKind(const platform::DirEntry& entry, QuarantineKind kind) {
    if ((entry.attributes & platform::kAttrReparsePoint) != 0) return false;
    const bool folder = (entry.attributes & platform::kAttrDirectory) != 0;
    return folder == (kind == QuarantineKind::Folder);
}

RestoreOutcome RestoreRegistry(Quarantine& quarantine, platform::Registry& registry, const QuarantineItem& item,
                               const std::string& stored, const RestoreQuestions& questions) {
    std::optional<std::string> bytes = quarantine.Files().ReadFile(stored);
    std::optional<RegistrySnapshot> backup = bytes ? ParseRegFile(*bytes) : std::nullopt;
    if (!backup) return Failure(msg::kRestoreNoCopy);
    std::optional<RegistrySnapshot> placed = SnapshotInPlace(*backup, item);
    if (!placed) return Failure(msg::kRestoreBadBackup);
    if (placed->hive != platform::Hive::CurrentUser && !Ask(questions.machineWide, item.originalLocation)) {
        return Failure(msg::kRestoreNotAgreed);
    }
    if (!ApplySnapshot(registry, *placed, RecordedView(item))) return Failure(msg::kRestoreNotWritten);
    quarantine.Files().DeleteFile(stored);
    return {RestoreResult::Restored, {}};
}

RestoreOutcome RestorePath(Quarantine& quarantine, const QuarantineItem& item, const std::string& stored,
                           const RestoreQuestions& questions) {
    platform::FileSystem& files = quarantine.Files();
    const std::string& target = item.originalLocation;
    std::optional<platform::FolderLink> link;
    if (item.kind == QuarantineKind::FolderLink) {
        std::optional<std::string> bytes = files.ReadFile(stored);
        link = bytes ? ParseLinkRecord(*bytes) : std::nullopt;
        if (!link) return Failure(msg::kRestoreNoCopy);
    }
    std::optional<platform::DirEntry> existing = files.Lookup(target);
    if (existing) {
        // A link is made only where nothing is.
        if (link || !Ask(questions.replaceExisting, target)) return {RestoreResult::Kept, {}};
        if (item.kind != QuarantineKind::Folder) {
            files.SetAttributes(target, existing->attributes & ~platform::kAttrReadOnly);
        }
    }
    // A deletion set for the next start would take the file again, with
    // its copy gone from the quarantine.
    if (IsFileKind(item.kind) && !files.CancelDeleteAtRestart(target)) return Failure(msg::kRestorePendingDelete);
    const std::string parent = FolderOfPath(target);
    if (!parent.empty() && !files.FolderExists(parent)) files.CreateFolder(parent);
    if (link) {
        if (!files.MakeFolderLink(target, *link)) return Failure(msg::kRestoreNotWritten);
        files.DeleteFile(stored);
    } else if (item.kind == QuarantineKind::Folder) {
        if (!files.CopyFolderTree(stored, target)) return Failure(msg::kRestoreNotWritten);
        files.DeleteFolderTree(stored);
    } else {
        if (!RestoreStoredCopy(files, stored, target)) return Failure(msg::kRestoreNotWritten);
        // The stored copy carries the original's attributes: a read-only one
        // is made writable before it goes.
        if (std::optional<platform::DirEntry> copy = files.Lookup(stored)) {
            files.SetAttributes(stored, copy->attributes & ~platform::kAttrReadOnly);
        }
        files.DeleteFile(stored);
    }
    return {RestoreResult::Restored, {}};
}

}  // namespace

MachineWidePlaces::MachineWidePlaces(platform::FileSystem& files, platform::Shell& shell,
                                     const std::string& quarantineFolder)
    : folders_(files), quarantine_(files) {
    for (int csidl : {platform::csidl::kWindows, platform::csidl::kSystem, platform::csidl::kSystemX86,
                      platform::csidl::kProgramFiles, platform::csidl::kProgramFilesX86,
                      platform::csidl::kCommonAppData}) {
        if (std::optional<std::string> folder = shell.SpecialFolderPath(csidl)) folders_.Add(*folder);
    }
    quarantine_.Add(quarantineFolder);
}

bool MachineWidePlaces::HoldsPath(const std::string& path) const { return folders_.Holds(folders_.Comparable(path)); }

bool MachineWidePlaces::InQuarantine(const std::string& path) const {
    return quarantine_.Holds(quarantine_.Comparable(path));
}

RestoreOutcome RestoreFromQuarantine(Quarantine& quarantine, platform::Registry& registry,
                                     const MachineWidePlaces& places, const QuarantineItem& item,
                                     const RestoreQuestions& questions) {
    const bool registryItem = item.kind == QuarantineKind::RegistryValue || item.kind == QuarantineKind::RegistryKey;
    if (!IsStoredNameFor(item) ||
        (!registryItem && (!IsFullLocalPath(item.originalLocation) || places.InQuarantine(item.originalLocation)))) {
        return Failure(msg::kRestoreBadRecord);
    }
    const std::string stored = quarantine.Folder() + "\\" + item.storedName;
    std::optional<platform::DirEntry> entry = quarantine.Files().Lookup(stored);
    if (!entry) return Failure(msg::kRestoreNoCopy);
    if (!StoredAsKind(*entry, item.kind)) return Failure(msg::kRestoreBadRecord);
    if (!registryItem && places.HoldsPath(item.originalLocation) &&
        !Ask(questions.machineWide, item.originalLocation)) {
        return Failure(msg::kRestoreNotAgreed);
    }
    const RestoreOutcome outcome = registryItem ? RestoreRegistry(quarantine, registry, item, stored, questions)
                                                : RestorePath(quarantine, item, stored, questions);
    if (outcome.result == RestoreResult::Restored) quarantine.MarkRestored(item.id);
    return outcome;
}

}  // namespace bastion
