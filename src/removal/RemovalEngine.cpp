#include "removal/RemovalEngine.h"

#include <algorithm>
#include <optional>

#include "common/Text.h"
#include "removal/files/ModFileRelated.h"
#include "removal/registry/KeyGuard.h"
#include "removal/registry/ModRegistryRelated.h"
#include "removal/registry/ModRegsvr32.h"
#include "removal/registry/WindowsSettings.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

// One detection through both passes.
struct WorkItem {
    const Detection* detection = nullptr;
    std::string location;
    RemovalResult result = RemovalResult::NotTried;
    RemovalNote note = RemovalNote::None;
    FileItemProgress progress;
};

// A registry item as the removal takes it: key and value without the
// blanks around them.
RegistryItem Trimmed(const RegistryItem& item) {
    return {item.hive, Trim(item.key), Trim(item.value), item.view};
}

// The order of work: files and folders, then registry entries, then
// cookies, each in the order found.
int WorkOrder(DetectionKind kind) {
    switch (kind) {
    case DetectionKind::File:
    case DetectionKind::Folder: return 0;
    case DetectionKind::Registry: return 1;
    case DetectionKind::Cookie: return 2;
    case DetectionKind::RunningProgram: break;
    }
    return 3;
}

std::string RemovalLocation(const Detection& detection) {
    if (const auto* registry = std::get_if<RegistryItem>(&detection.item)) {
        const RegistryItem item = Trimmed(*registry);
        return RegistryEntryLocation(item.hive, item.key, item.value, item.view);
    }
    if (const auto* file = std::get_if<FileItem>(&detection.item)) return RemovalPath(file->path);
    if (const auto* cookie = std::get_if<CookieItem>(&detection.item)) return RemovalPath(cookie->path);
    return detection.location;
}

std::vector<WorkItem> Work(const std::vector<Detection>& selection) {
    std::vector<WorkItem> work;
    for (int order = 0; order < 3; ++order) {
        for (const Detection& detection : selection) {
            if (WorkOrder(detection.kind) != order) continue;
            WorkItem item;
            item.detection = &detection;
            item.location = RemovalLocation(detection);
            work.push_back(std::move(item));
        }
    }
    return work;
}

bool IsComServerFile(const std::string& path) {
    return EndsWithIgnoreCase(path, ".dll") || EndsWithIgnoreCase(path, ".ocx");
}

RemovalResult RemoveRegistryItem(WorkItem& item, const RegistryItem& found, const FileRemoval& files,
                                 const RegistryRemoval& registry) {
    const RegistryItem entry = Trimmed(found);
    if (entry.key.empty()) return RemovalResult::Failed;
    if (!entry.value.empty()) {
        const std::optional<platform::RegValue> windowsDefault =
            WindowsDefaultValue(entry.hive, entry.key, entry.value, files.system.SystemFolder());
        if (!windowsDefault) return DeleteRegistryValue(registry, entry.hive, entry.key, entry.value, entry.view);
        const RemovalResult result =
            SetRegistryValueToDefault(registry, entry.hive, entry.key, entry.value, entry.view, *windowsDefault);
        if (result == RemovalResult::Removed) item.note = RemovalNote::WindowsDefault;
        return result;
    }
    if (IsGuardedRegistryKey(entry.hive, entry.key) ||
        IsServiceWindowsNeeds(registry.registry, entry.hive, entry.key, entry.view)) {
        item.note = RemovalNote::PartOfWindows;
        return RemovalResult::Failed;
    }
    return DeleteRegistryKey(registry, entry.hive, entry.key, entry.view);
}

// One item in one pass.
RemovalResult RemoveItem(WorkItem& item, const FileRemoval& files, const RegistryRemoval& registry,
                         std::vector<std::string>& comFailures) {
    if (const auto* entry = std::get_if<RegistryItem>(&item.detection->item)) {
        return RemoveRegistryItem(item, *entry, files, registry);
    }
    if (item.detection->kind == DetectionKind::Cookie) {
        return RemoveFileOrFolder(files, item.location, QuarantineKind::Cookie, item.progress);
    }
    if (!item.progress.copy && IsComServerFile(item.location)) {
        // The server's classes go only once its file is safe in the
        // quarantine: a copy that fails leaves both as they were.
        if (std::optional<RemovalResult> ended =
                KeepInQuarantine(files, item.location, QuarantineKind::File, item.progress)) {
            return *ended;
        }
        ComRegistrationsResult com = UnregisterComServer(registry, files.system, files.pump, item.progress.path);
        comFailures.insert(comFailures.end(), com.failed.begin(), com.failed.end());
    }
    return RemoveFileOrFolder(files, item.location, QuarantineKind::File, item.progress);
}

}  // namespace

RemovalEngine::RemovalEngine(const RemovalEnvironment& environment)
    : env_(environment), restorePoint_(environment.restore) {}

RemovalReport RemovalEngine::Remove(const std::vector<Detection>& selection, RemovalProgress& progress,
                                    bool withRestorePoint) {
    RemovalReport report;
    report.ran = true;
    Quarantine quarantine(env_.files, env_.codePage, env_.clock, env_.dataFolder);
    quarantine.EnsureFolder();
    progress.Reached(RemovalProgress::Stage::Gathering);
    env_.pump.PumpNow();
    progress.Reached(RemovalProgress::Stage::Gathered);

    if (withRestorePoint && IsRestorePointSupported(env_.system.GetOsVersion())) {
        progress.Reached(RemovalProgress::Stage::MakingRestorePoint);
        env_.pump.PumpNow();
        report.restorePointMade = restorePoint_.BeginRestorePoint(
            env_.identity.productName + " Restore Point " + FormatGeneralDate(env_.clock.Now()),
            kModifySettingsRestorePoint);
    }

    std::vector<WorkItem> work = Work(selection);
    const NeverRemoved neverRemoved(env_.files, env_.shell, env_.system, env_.dataFolder, quarantine.Folder());
    const FileRemoval files{env_.files, env_.processes, env_.system, env_.pump, quarantine, neverRemoved};
    const RegistryRemoval registry{env_.registry, quarantine};
    std::vector<std::string> comFailures;
    for (int pass = 0; pass < 2 && !stopRequested_; ++pass) {
        const bool firstPass = pass == 0;
        for (std::size_t i = 0; i < work.size() && !stopRequested_; ++i) {
            WorkItem& item = work[i];
            if (!firstPass && item.result != RemovalResult::Failed) continue;
            progress.Removing(*item.detection, item.location, i + 1, work.size());
            item.result = RemoveItem(item, files, registry, comFailures);
            if (item.progress.note != RemovalNote::None) item.note = item.progress.note;
            env_.pump.Pump();
        }
    }
    for (WorkItem& item : work) {
        if (item.result == RemovalResult::Failed) SettleFailedItem(files, item.progress);
    }
    if (restorePoint_.Open()) restorePoint_.EndRestorePoint();

    for (const WorkItem& item : work) {
        report.items.push_back({item.detection->id, item.location, item.result, item.note});
    }
    for (const std::string& location : comFailures) {
        // The file went, but a class that names it could not: it counts as
        // a failure of its own.
        report.items.push_back({0, location, RemovalResult::Failed, RemovalNote::None});
    }
    for (const RemovedItem& item : report.items) {
        if (item.result == RemovalResult::Removed) ++report.removed;
        if (item.result == RemovalResult::Failed) ++report.failed;
        if (item.result == RemovalResult::NotFound) ++report.notFound;
    }
    const long long before = env_.settings.ReadNumber(services::settings::kLblDefRemoved);
    env_.settings.WriteNumber(services::settings::kLblDefRemoved, std::max(0LL, before) + report.removed);
    return report;
}

}  // namespace bastion
