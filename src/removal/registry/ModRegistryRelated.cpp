#include "removal/registry/ModRegistryRelated.h"

#include "common/Text.h"
#include "removal/registry/KeyGuard.h"
#include "removal/registry/RegFile.h"
#include "scan/state/ScanState.h"

namespace bastion {

namespace {

std::string WithoutTrailingBackslashes(std::string key) {
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

// Writes the snapshot as a backup file of its own; the slot, or nothing
// when it could not be written whole.
std::optional<QuarantineSlot> WriteBackup(Quarantine& quarantine, const RegistrySnapshot& snapshot,
                                          const std::string& name) {
    std::optional<std::string> bytes = FormatRegFile(snapshot);
    if (!bytes || !quarantine.EnsureFolder()) return std::nullopt;
    std::optional<QuarantineSlot> slot = quarantine.Reserve(name + ".reg");
    if (slot && !quarantine.Files().WriteFile(slot->path, *bytes)) {
        quarantine.Release(*slot);
        return std::nullopt;
    }
    return slot;
}

// The backup recorded before the entry is deleted: a deletion that could
// not be recorded could never be put back. False (and the backup gone)
// when the record or the log cannot be written.
bool RecordFirst(Quarantine& quarantine, const QuarantineSlot& backup, QuarantineKind kind,
                 const std::string& location) {
    if (!quarantine.Record(backup, kind, location)) {
        quarantine.Release(backup);
        return false;
    }
    if (!quarantine.CanLog()) {
        if (quarantine.Withdraw(backup.id)) quarantine.Release(backup);
        return false;
    }
    return true;
}

std::string LastPart(const std::string& key) {
    const std::size_t separator = key.rfind('\\');
    return separator == std::string::npos ? key : key.substr(separator + 1);
}

}  // namespace

std::string RegistryEntryLocation(platform::Hive hive, const std::string& key, const std::string& value,
                                  platform::RegView view) {
    std::string location = std::string(platform::HiveName(hive)) + "\\" + WithoutTrailingBackslashes(key);
    if (!value.empty()) location += "\\" + value;
    return RegistryLocationInView(location, view);
}

RemovalResult DeleteRegistryValue(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                  const std::string& name, platform::RegView view) {
    const std::string key = WithoutTrailingBackslashes(given);
    RegistrySnapshot snapshot;
    if (!ReadOneValue(removal.registry, hive, key, name, view, snapshot)) {
        platform::RegValue ignored;
        return removal.registry.QueryValue(hive, key, name, ignored, view) == platform::kRegNotFound
                   ? RemovalResult::NotFound
                   : RemovalResult::Failed;
    }
    std::optional<QuarantineSlot> backup = WriteBackup(removal.quarantine, snapshot, name.empty() ? "Default" : name);
    const std::string location = RegistryEntryLocation(hive, key, name, view);
    if (!backup || !RecordFirst(removal.quarantine, *backup, QuarantineKind::RegistryValue, location)) {
        return RemovalResult::Failed;
    }
    platform::RegValue ignored;
    if (removal.registry.DeleteValue(hive, key, name, view) != platform::kRegOk ||
        removal.registry.QueryValue(hive, key, name, ignored, view) != platform::kRegNotFound) {
        if (removal.quarantine.Withdraw(backup->id)) removal.quarantine.Release(*backup);
        return RemovalResult::Failed;
    }
    removal.quarantine.LogRegistry(std::string(platform::HiveName(hive)) + "\\" + key, name);
    return RemovalResult::Removed;
}

RemovalResult DeleteRegistryKey(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                platform::RegView view) {
    const std::string key = WithoutTrailingBackslashes(given);
    if (IsGuardedRegistryKey(hive, given)) return RemovalResult::Failed;
    const long opened = removal.registry.OpenKey(hive, key, platform::RegAccess::Read, view);
    if (opened == platform::kRegNotFound) return RemovalResult::NotFound;
    if (opened != platform::kRegOk) return RemovalResult::Failed;
    RegistrySnapshot snapshot;
    if (!ReadKeyTree(removal.registry, hive, key, view, snapshot)) return RemovalResult::Failed;
    std::optional<QuarantineSlot> backup = WriteBackup(removal.quarantine, snapshot, LastPart(key));
    if (!backup || !RecordFirst(removal.quarantine, *backup, QuarantineKind::RegistryKey,
                                RegistryEntryLocation(hive, key, "", view))) {
        return RemovalResult::Failed;
    }
    if (removal.registry.DeleteTree(hive, key, view) != platform::kRegOk ||
        removal.registry.OpenKey(hive, key, platform::RegAccess::Read, view) != platform::kRegNotFound) {
        // Part of the tree may have gone before the failure: its backup
        // stays recorded, so that it can be put back.
        return RemovalResult::Failed;
    }
    removal.quarantine.LogRegistry(ToDecimal(platform::HiveHandleNumber(hive)) + "\\" + key, "All Values");
    return RemovalResult::Removed;
}

}  // namespace bastion
