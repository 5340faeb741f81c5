#include "removal/registry/ModRegsvr32.h"

#include <set>

#include "common/Text.h"

namespace bastion {

namespace {

constexpr std::string_view kClassIds = "Software\\Classes\\CLSID";
constexpr std::string_view kServerKeys[] = {"InprocServer32", "LocalServer32"};

bool NamesFile(platform::Registry& registry, platform::SystemInfo& system, platform::Hive hive,
               const std::string& classKey, platform::RegView view, const std::string& path) {
    for (std::string_view server : kServerKeys) {
        platform::RegValue value;
        if (registry.QueryValue(hive, classKey + "\\" + std::string(server), "", value, view) == platform::kRegOk &&
            ServerValueNamesFile(system, value.text, path)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ServerValueNamesFile(platform::SystemInfo& system, const std::string& serverValue, const std::string& path) {
    const std::string expanded = Trim(system.ExpandEnvironment(Trim(serverValue)));
    if (expanded.empty() || path.empty()) return false;
    if (expanded.front() == '"') {
        const std::size_t close = expanded.find('"', 1);
        return EqualsIgnoreCase(expanded.substr(1, close == std::string::npos ? std::string::npos : close - 1), path);
    }
    // Unquoted, a path with blanks cannot be told from its arguments: the
    // file is named when the value is its path, or its path and arguments.
    return EqualsIgnoreCase(expanded, path) ||
           (StartsWithIgnoreCase(expanded, path) && expanded[path.size()] == ' ');
}

ComRegistrationsResult UnregisterComServer(const RegistryRemoval& removal, platform::SystemInfo& system,
                                           services::EventPump& pump, const std::string& path) {
    ComRegistrationsResult result;
    // One key seen through both views (or through both hives' classes) is
    // looked at once.
    std::set<std::string> seen;
    for (platform::Hive hive : {platform::Hive::CurrentUser, platform::Hive::LocalMachine}) {
        for (platform::RegView view : {platform::RegView::Bits64, platform::RegView::Bits32}) {
            std::vector<std::string> classes;
            if (removal.registry.EnumerateSubkeys(hive, std::string(kClassIds), classes, view) != platform::kRegOk) {
                continue;
            }
            for (const std::string& classId : classes) {
                const std::string classKey = std::string(kClassIds) + "\\" + classId;
                pump.Pump();
                if (!NamesFile(removal.registry, system, hive, classKey, view, path)) continue;
                std::string identity;
                if (removal.registry.KeyIdentity(hive, classKey, view, identity) == platform::kRegOk &&
                    !seen.insert(ToLower(identity)).second) {
                    continue;
                }
                switch (DeleteRegistryKey(removal, hive, classKey, view)) {
                case RemovalResult::Removed: ++result.removed; break;
                case RemovalResult::Failed:
                    result.failed.push_back(RegistryEntryLocation(hive, classKey, "", view));
                    break;
                default: break;
                }
            }
        }
    }
    return result;
}

}  // namespace bastion
