#include "scan/registry/RegistryScan.h"

#include <optional>
#include <vector>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "scan/state/ScanPercent.h"

namespace bastion {

namespace {

// One definition line on this machine: the hive it names, its key and value
// (tokens expanded), and its threat.
struct RegistryDefinition {
    platform::Hive hive;
    std::string key;
    std::string value;
    std::string threat;
    std::string threatType;
};

// Nullopt for a line the scan passes over without counting it: no "^" in
// its location, or a HIVE that is not one of the six numbers.
std::optional<RegistryDefinition> ReadDefinition(const std::string& line, const PathTokens& tokens) {
    RegistryRecord record = ParseRegistryDefinition(line);
    const std::string location = tokens.ExpandWithDriveRoot(record.location);
    if (!Contains(location, "^")) return std::nullopt;
    RegistryLocation parts = SplitRegistryLocation(location);
    const std::optional<platform::Hive> hive = DefinitionHive(parts.hive);
    if (!hive) return std::nullopt;
    return RegistryDefinition{*hive, std::move(parts.key), std::move(parts.value), std::move(record.threat),
                              std::move(record.threatType)};
}

void ShowLine(ScanState& state, const RegistryDefinition& definition) {
    CountOne(state.counters.registryInspected);
    const long long inspected = state.counters.registryInspected;
    std::string text = ToLower(definition.key + "\\" + definition.value);
    text.append("\r\n").append(state.PhaseCaption());
    state.ShowProgress(text, PhasePercent(state.definitions, ScanPhase::Registry, inspected),
                       OverallPercent(state.definitions, ScanPhase::Registry, inspected));
}

// Keys 64-bit Windows keeps apart for 32-bit programs, where 32-bit threats
// register themselves: below HKEY_LOCAL_MACHINE\Software (its classes
// included), the user's classes and HKEY_CLASSES_ROOT. Everything else both
// views share.
bool ViewsMayDiffer(platform::Hive hive, std::string_view key) {
    const std::string_view first = key.substr(0, key.find('\\'));
    switch (hive) {
    case platform::Hive::ClassesRoot: return true;
    case platform::Hive::LocalMachine: return EqualsIgnoreCase(first, "Software");
    case platform::Hive::CurrentUser: return StartsWithIgnoreCase(key, "Software\\Classes\\");
    default: return false;
    }
}

// Whether the two views reach one key. When the system cannot say, the
// item is taken as one: reported twice, a shared key would make the user
// remove one thing twice.
bool SharedByBothViews(platform::Registry& registry, platform::Hive hive, const std::string& key) {
    std::string own;
    std::string thirtyTwoBit;
    if (registry.KeyIdentity(hive, key, platform::RegView::Bits64, own) != platform::kRegOk ||
        registry.KeyIdentity(hive, key, platform::RegView::Bits32, thirtyTwoBit) != platform::kRegOk) {
        return true;
    }
    return EqualsIgnoreCase(own, thirtyTwoBit);
}

// The views the item exists in, the 64-bit one first. An item of a key both
// views share is found once, in the 64-bit view.
template <typename Exists>
std::vector<platform::RegView> ViewsHolding(ScanContext& context, platform::Hive hive, const std::string& key,
                                            Exists exists) {
    std::vector<platform::RegView> views;
    if (exists(platform::RegView::Bits64)) views.push_back(platform::RegView::Bits64);
    if (ViewsMayDiffer(hive, key) && exists(platform::RegView::Bits32) &&
        (views.empty() || !SharedByBothViews(context.registry, hive, key))) {
        views.push_back(platform::RegView::Bits32);
    }
    return views;
}

// The key location is on the exclusion list. Value definitions write their
// key with a trailing backslash and key definitions mostly without one, so
// an excluded key row covers its values either way.
bool KeyExcluded(const ExclusionList& exclusions, const std::string& keyLocation, platform::RegView view) {
    if (exclusions.IsExcluded(RegistryLocationInView(keyLocation, view))) return true;
    if (EndsWith(keyLocation, "\\")) {
        return exclusions.IsExcluded(
            RegistryLocationInView(std::string_view(keyLocation).substr(0, keyLocation.size() - 1), view));
    }
    return exclusions.IsExcluded(RegistryLocationInView(keyLocation + "\\", view));
}

// An excluded value or key (or a value below an excluded key), as the user
// sees its location, shows as "EXCLUDED". False when the item is not to be
// reported.
bool PassesExclusions(ScanContext& context, const std::string& location, const std::string& keyLocation,
                      platform::RegView view) {
    const std::string shown = RegistryLocationInView(location, view);
    if (context.exclusions.IsExcluded(shown) || KeyExcluded(context.exclusions, keyLocation, view)) {
        context.state.AddExcluded(shown);
        return false;
    }
    return true;
}

// A protected value is named in the safety list as key, "\", value; the
// definitions join value to key as written. Either form protects it.
bool ValueProtected(const SafetyList& safety, const std::string& location, const std::string& keyLocation,
                    const std::string& value) {
    if (safety.IsProtectedPath(location)) return true;
    std::string separated = keyLocation;
    if (!EndsWith(separated, "\\")) separated += '\\';
    return safety.IsProtectedPath(separated + value);
}

void ScanValue(ScanContext& context, RegistryDefinition& definition, const std::string& keyLocation) {
    definition.value = CollapseBackslashes(definition.value);
    const std::vector<platform::RegView> views =
        ViewsHolding(context, definition.hive, definition.key, [&](platform::RegView view) {
            return RegValueExists(context.registry, definition.hive, definition.key, definition.value, view);
        });
    if (views.empty()) return;
    // The value follows the key without a separator: definitions that want
    // one write their key with a trailing backslash.
    const std::string location = keyLocation + definition.value;
    if (ValueProtected(context.safety, location, keyLocation, definition.value)) return;

    ScanState& state = context.state;
    for (platform::RegView view : views) {
        if (!PassesExclusions(context, location, keyLocation, view)) continue;
        state.CountTrace();
        // A value without a threat name counts as a trace but is no
        // detection of its own: nothing lists it, so nothing removes it.
        if (definition.threat.empty()) continue;
        state.ReportDetection(DetectionKind::Registry, definition.threat, definition.threatType,
                              RegistryLocationInView(location, view),
                              RegistryItem{definition.hive, definition.key, definition.value, view});
    }
}

void ScanKey(ScanContext& context, const RegistryDefinition& definition, const std::string& keyLocation) {
    const std::string key = Trim(definition.key);
    // An empty key names the hive itself, which no definition can mean as
    // a threat (and whose removal would empty the hive).
    if (key.empty()) return;
    const std::vector<platform::RegView> views = ViewsHolding(
        context, definition.hive, key,
        [&](platform::RegView view) { return RegKeyExists(context.registry, definition.hive, key, view); });
    if (views.empty() || context.safety.IsProtectedPath(keyLocation)) return;

    ScanState& state = context.state;
    const std::string name = definition.threat.empty() ? "RegKey " + definition.key : definition.threat;
    for (platform::RegView view : views) {
        if (!PassesExclusions(context, keyLocation, keyLocation, view)) continue;
        state.CountTrace();
        state.ReportDetection(DetectionKind::Registry, name, definition.threatType,
                              RegistryLocationInView(keyLocation, view), RegistryItem{definition.hive, definition.key, "", view});
    }
}

}  // namespace

void ScanRegistryDefinitions(ScanContext& context) {
    ReadDefinitionLines(context.files, context.codePage,
                        DataFilePath(context.dataFolder, datafile::kRegistryDefinitions),
                        [&](const std::string& line) {
                            context.pump.Pump();
                            if (context.state.StopRequested()) return false;
                            std::optional<RegistryDefinition> definition = ReadDefinition(line, context.tokens);
                            if (!definition) return true;
                            ShowLine(context.state, *definition);
                            const std::string keyLocation =
                                std::string(platform::HiveName(definition->hive)) + "\\" + definition->key;
                            if (definition->value.empty()) {
                                ScanKey(context, *definition, keyLocation);
                            } else {
                                ScanValue(context, *definition, keyLocation);
                            }
                            return true;
                        });
}

bool RegKeyExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                  platform::RegView view) {
    return registry.OpenKey(hive, key, platform::RegAccess::Read, view) == platform::kRegOk;
}

bool RegValueExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                    const std::string& value, platform::RegView view) {
    // Querying opens the key for reading only.
    platform::RegValue data;
    return registry.QueryValue(hive, key, value, data, view) == platform::kRegOk;
}

}  // namespace bastion
