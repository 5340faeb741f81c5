#include "scan/registry/RegistryScan.h"

#include <optional>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "scan/state/ScanPercent.h"
#include "scan/state/ScanProgress.h"

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
    ShowScanProgress(state, text, PhasePercent(state.definitions, ScanPhase::Registry, inspected),
                     OverallPercent(state.definitions, ScanPhase::Registry, inspected));
}

// The key location is on the exclusion list. Value definitions write their
// key with a trailing backslash and key definitions mostly without one, so
// an excluded key row covers its values either way.
bool KeyExcluded(const ExclusionList& exclusions, const std::string& keyLocation) {
    if (exclusions.IsExcluded(keyLocation)) return true;
    if (EndsWith(keyLocation, "\\")) {
        return exclusions.IsExcluded(std::string_view(keyLocation).substr(0, keyLocation.size() - 1));
    }
    return exclusions.IsExcluded(keyLocation + "\\");
}

// Protected items are dropped silently; an excluded value or key (or a
// value below an excluded key) shows as "EXCLUDED". False when the item is
// not to be reported.
bool PassesLists(ScanContext& context, const std::string& location, const std::string& keyLocation) {
    if (context.safety.IsProtectedPath(location)) return false;
    if (context.exclusions.IsExcluded(location) || KeyExcluded(context.exclusions, keyLocation)) {
        context.state.AddExcludedRow(location);
        return false;
    }
    return true;
}

void ScanValue(ScanContext& context, RegistryDefinition& definition, const std::string& keyLocation) {
    definition.value = CollapseBackslashes(definition.value);
    if (!RegValueExists(context.registry, definition.hive, definition.key, definition.value)) return;
    // The value follows the key without a separator: definitions that want
    // one write their key with a trailing backslash.
    const std::string location = keyLocation + definition.value;
    if (!PassesLists(context, location, keyLocation)) return;

    ScanState& state = context.state;
    state.AddRegistryQueueRow(definition.hive, definition.key, definition.value, definition.threat);
    state.IncrementTracesFound();
    // A value without a threat name is removed along with the others but is
    // no detection of its own.
    if (definition.threat.empty()) return;
    state.ReportDetection(definition.threat, location, definition.threatType, ui::kIconRegistry);
}

void ScanKey(ScanContext& context, const RegistryDefinition& definition, const std::string& keyLocation) {
    const std::string key = Trim(definition.key);
    // An empty key names the hive itself, which no definition can mean as
    // a threat (and whose removal would empty the hive).
    if (key.empty()) return;
    if (!RegKeyExists(context.registry, definition.hive, key)) return;
    if (!PassesLists(context, keyLocation, keyLocation)) return;

    ScanState& state = context.state;
    state.AddRegistryQueueRow(definition.hive, definition.key, "", definition.threat);
    state.IncrementTracesFound();
    const std::string name = definition.threat.empty() ? "RegKey " + definition.key : definition.threat;
    state.ReportDetection(name, keyLocation, definition.threatType, ui::kIconRegistry);
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

bool RegKeyExists(platform::Registry& registry, platform::Hive hive, const std::string& key) {
    return registry.OpenKey(hive, key, platform::RegAccess::Read) == platform::kRegOk;
}

bool RegValueExists(platform::Registry& registry, platform::Hive hive, const std::string& key,
                    const std::string& value) {
    // Querying opens the key for reading only.
    platform::RegValue data;
    return registry.QueryValue(hive, key, value, data) == platform::kRegOk;
}

}  // namespace bastion
