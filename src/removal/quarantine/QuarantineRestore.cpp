#include "removal/quarantine/QuarantineRestore.h"

#include <algorithm>

#include "common/PathParts.h"
#include "common/Text.h"
#include "platform/FolderHandles.h"
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

std::string ReadAll(platform::FileReader& reader) {
    std::string bytes;
    char buffer[4096];
    while (const std::size_t read = reader.Read(buffer, sizeof buffer)) bytes.append(buffer, read);
    return bytes;
}

RestoreOutcome RestorePath(Quarantine& quarantine, const QuarantineItem& item, const platform::DirEntry& copy,
                           const RestoreQuestions& questions) {
    platform::FileSystem& files = quarantine.Files();
    const std::string& target = item.originalLocation;
    const std::string name = FileNameOfPath(target);
    std::unique_ptr<platform::FolderHandle> stored = files.OpenFolder(quarantine.Folder(), platform::LinkAtEnd::Refuse);
    if (!stored) return Failure(msg::kRestoreNoCopy);
    std::optional<platform::FolderLink> link;
    if (item.kind == QuarantineKind::FolderLink) {
        std::unique_ptr<platform::FileReader> reader = stored->ReadFile(item.storedName);
        link = reader ? ParseLinkRecord(ReadAll(*reader)) : std::nullopt;
        if (!link) return Failure(msg::kRestoreNoCopy);
    }
    const bool existing = files.Lookup(target).has_value();
    // A link is made only where nothing is.
    if (existing && (link || !Ask(questions.replaceExisting, target))) return {RestoreResult::Kept, {}};
    // A deletion set for the next start would take the file again, with
    // its copy gone from the quarantine.
    if (IsFileKind(item.kind) && !files.CancelDeleteAtRestart(target)) return Failure(msg::kRestorePendingDelete);
    // Missing folders are made again on the way.
    std::unique_ptr<platform::FolderHandle> folder = platform::OpenFolderFromRoot(files, FolderOfPath(target), true);
    if (!folder) return Failure(msg::kRestoreThroughLink);
    bool written = false;
    if (link) {
        written = folder->NewLink(name, *link);
    } else if (item.kind == QuarantineKind::Folder) {
        std::unique_ptr<platform::FolderHandle> source = stored->Folder(item.storedName);
        std::unique_ptr<platform::FolderHandle> place = folder->Folder(name);
        if (!place) place = folder->NewFolder(name);
        written = source && place && platform::CopyFolderContent(*source, *place);
    } else {
        std::unique_ptr<platform::FileReader> reader = stored->ReadFile(item.storedName);
        std::uint64_t size = 0;
        std::unique_ptr<platform::FileReader> original = reader ? OriginalBytes(*reader, copy.size, size) : nullptr;
        written = original && platform::WriteFileInto(*folder, name, {*original, size, copy.attributes}, existing);
    }
    if (!written) return Failure(msg::kRestoreNotWritten);
    platform::DeleteEntryTree(*stored, item.storedName);
    return {RestoreResult::Restored, {}};
}

}  // namespace

MachineWidePlaces::MachineWidePlaces(platform::FileSystem& files, platform::Shell& shell,
                                     const std::string& quarantineFolder)
    : quarantine_(files) {
    profile_ = ToLower(Trim(shell.SpecialFolderPath(platform::csidl::kProfile).value_or(std::string())));
    while (!profile_.empty() && profile_.back() == '\\') profile_.pop_back();
    quarantine_.Add(quarantineFolder);
}

bool MachineWidePlaces::HoldsPath(const std::string& path) const {
    return profile_.empty() || !StartsWith(ToLower(path), profile_ + "\\");
}

bool MachineWidePlaces::InQuarantine(const std::string& path) const {
    return quarantine_.Holds(quarantine_.Comparable(path));
}

RestoreOutcome RestoreFromQuarantine(Quarantine& quarantine, platform::Registry& registry,
                                     const MachineWidePlaces& places, const QuarantineItem& item,
                                     const RestoreQuestions& questions) {
    const bool registryItem = item.kind == QuarantineKind::RegistryValue || item.kind == QuarantineKind::RegistryKey;
    if (!IsRecordTheQuarantineWrites(item) || (!registryItem && places.InQuarantine(item.originalLocation))) {
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
                                                : RestorePath(quarantine, item, *entry, questions);
    if (outcome.result == RestoreResult::Restored) quarantine.MarkRestored(item.id);
    return outcome;
}

RestoreSummary RestoreChosen(Quarantine& quarantine, platform::Registry& registry, platform::Shell& shell,
                             const std::vector<QuarantineItem>& chosen, const RestoreQuestions& questions) {
    const MachineWidePlaces places(quarantine.Files(), shell, quarantine.Folder());
    const std::vector<QuarantineItem> current = quarantine.Items();
    RestoreSummary summary;
    for (const QuarantineItem& item : chosen) {
        if (std::find(current.begin(), current.end(), item) == current.end()) continue;
        const RestoreOutcome outcome = RestoreFromQuarantine(quarantine, registry, places, item, questions);
        if (outcome.result == RestoreResult::Restored) ++summary.restored;
        if (outcome.result == RestoreResult::Failed) summary.failures.push_back({item, outcome.reason});
    }
    return summary;
}

}  // namespace bastion
