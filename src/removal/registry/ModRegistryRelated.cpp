#include "removal/registry/ModRegistryRelated.h"

#include "common/Text.h"
#include "removal/registry/KeyGuard.h"
#include "removal/registry/RegFile.h"
#include "removal/registry/WindowsSettings.h"
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
    std::optional<OpenQuarantineSlot> open = quarantine.Reserve(name + ".reg");
    if (!open) return std::nullopt;
    const bool written = open->file->Write(bytes->data(), bytes->size());
    const QuarantineSlot slot = open->slot;
    open.reset();
    if (!written) {
        quarantine.Release(slot);
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

namespace {

// The value backed up and recorded, then changed as change does, then
// tested with changed; a change that did not take place has its record
// withdrawn, one that did is logged.
template <typename Change, typename Changed>
RemovalResult ChangeRegistryValue(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                  const std::string& name, platform::RegView view, Change change, Changed changed) {
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
    if (change(key) != platform::kRegOk || !changed(key)) {
        if (removal.quarantine.Withdraw(backup->id)) removal.quarantine.Release(*backup);
        return RemovalResult::Failed;
    }
    removal.quarantine.LogRegistry(std::string(platform::HiveName(hive)) + "\\" + key, name);
    return RemovalResult::Removed;
}

}  // namespace

RemovalResult DeleteRegistryValue(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                  const std::string& name, platform::RegView view) {
    platform::Registry& registry = removal.registry;
    return ChangeRegistryValue(
        removal, hive, given, name, view, [&](const std::string& key) { return registry.DeleteValue(hive, key, name, view); },
        [&](const std::string& key) {
            platform::RegValue ignored;
            return registry.QueryValue(hive, key, name, ignored, view) == platform::kRegNotFound;
        });
}

RemovalResult SetRegistryValueToDefault(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                        const std::string& name, platform::RegView view,
                                        const platform::RegValue& windowsDefault) {
    platform::Registry& registry = removal.registry;
    return ChangeRegistryValue(
        removal, hive, given, name, view,
        [&](const std::string& key) { return registry.SetValue(hive, key, name, windowsDefault, view); },
        [&](const std::string& key) {
            platform::RegValue now;
            return registry.QueryValue(hive, key, name, now, view) == platform::kRegOk && now.type == windowsDefault.type &&
                   now.text == windowsDefault.text;
        });
}

RemovalResult DeleteRegistryKey(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                platform::RegView view) {
    const std::string key = WithoutTrailingBackslashes(given);
    if (IsGuardedRegistryKey(hive, given) || IsServiceWindowsNeeds(removal.registry, hive, key, view)) {
        return RemovalResult::Failed;
    }
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
