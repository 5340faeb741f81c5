#include "removal/registry/ModRegistryRelated.h"

#include "common/Text.h"
#include "removal/registry/RegFile.h"
#include "scan/state/ScanState.h"

namespace bastion {

namespace {

// Keys whose deletion would take a whole part of the system with it,
// whatever a definition says.
constexpr std::string_view kNeverDeletedKeys[] = {
    "Software\\Microsoft",       "Software\\Classes",     "Software\\Wow6432Node",    "Software\\Policies",
    "Software\\Classes\\CLSID",  "Software\\Microsoft\\Windows",
    "Software\\Microsoft\\Windows\\CurrentVersion",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
};
constexpr std::string_view kNeverDeletedClassKeys[] = {"CLSID", "Interface", "TypeLib", "Wow6432Node", "AppID"};

std::string WithoutTrailingBackslashes(std::string key) {
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
}

bool NeverDeleted(platform::Hive hive, const std::string& key) {
    if (key.empty()) return true;
    if (hive == platform::Hive::ClassesRoot) {
        for (std::string_view root : kNeverDeletedClassKeys) {
            if (EqualsIgnoreCase(key, root)) return true;
        }
        return false;
    }
    if (key.find('\\') == std::string::npos) return true;
    for (std::string_view root : kNeverDeletedKeys) {
        if (EqualsIgnoreCase(key, root)) return true;
    }
    return false;
}

// Writes the snapshot as a backup file of its own; the slot, or nothing
// when it could not be written whole.
std::optional<QuarantineSlot> WriteBackup(Quarantine& quarantine, const RegistrySnapshot& snapshot,
                                          const std::string& name) {
    std::optional<std::string> bytes = FormatRegFile(snapshot);
    if (!bytes || !quarantine.EnsureFolder()) return std::nullopt;
    QuarantineSlot slot = quarantine.Reserve(name + ".reg");
    if (!quarantine.Files().WriteFile(slot.path, *bytes)) {
        quarantine.Files().DeleteFile(slot.path);
        return std::nullopt;
    }
    return slot;
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
                   ? RemovalResult::Gone
                   : RemovalResult::Failed;
    }
    std::optional<QuarantineSlot> backup = WriteBackup(removal.quarantine, snapshot, name.empty() ? "Default" : name);
    if (!backup) return RemovalResult::Failed;
    platform::RegValue ignored;
    if (removal.registry.DeleteValue(hive, key, name, view) != platform::kRegOk ||
        removal.registry.QueryValue(hive, key, name, ignored, view) != platform::kRegNotFound) {
        removal.quarantine.Files().DeleteFile(backup->path);
        return RemovalResult::Failed;
    }
    removal.quarantine.LogRegistry(std::string(platform::HiveName(hive)) + "\\" + key, name);
    removal.quarantine.Record(*backup, QuarantineKind::RegistryValue, RegistryEntryLocation(hive, key, name, view));
    return RemovalResult::Removed;
}

RemovalResult DeleteRegistryKey(const RegistryRemoval& removal, platform::Hive hive, const std::string& given,
                                platform::RegView view) {
    const std::string key = WithoutTrailingBackslashes(given);
    const long opened = removal.registry.OpenKey(hive, key, platform::RegAccess::Read, view);
    if (opened == platform::kRegNotFound) return RemovalResult::Gone;
    if (opened != platform::kRegOk || NeverDeleted(hive, key)) return RemovalResult::Failed;
    RegistrySnapshot snapshot;
    if (!ReadKeyTree(removal.registry, hive, key, view, snapshot)) return RemovalResult::Failed;
    std::optional<QuarantineSlot> backup = WriteBackup(removal.quarantine, snapshot, LastPart(key));
    if (!backup) return RemovalResult::Failed;
    if (removal.registry.DeleteTree(hive, key, view) != platform::kRegOk ||
        removal.registry.OpenKey(hive, key, platform::RegAccess::Read, view) != platform::kRegNotFound) {
        // Part of the tree may have gone before the failure: its backup
        // stays indexed, so that it can be put back.
        removal.quarantine.Record(*backup, QuarantineKind::RegistryKey, RegistryEntryLocation(hive, key, "", view));
        return RemovalResult::Failed;
    }
    removal.quarantine.LogRegistry(ToDecimal(platform::HiveHandleNumber(hive)) + "\\" + key, "All Values");
    removal.quarantine.Record(*backup, QuarantineKind::RegistryKey, RegistryEntryLocation(hive, key, "", view));
    return RemovalResult::Removed;
}

}  // namespace bastion
