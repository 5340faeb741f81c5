#include "definitions/SafetyListLoader.h"

#include <optional>
#include <vector>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"

namespace bastion {

namespace {

// Paths and registry locations compare without doubled separators.
std::string ReduceSeparators(std::string_view text) {
    return ReplaceAll(CollapseBackslashes(text), "//", "/");
}

// Hive name, "\", KEY and, when the location has a VALUE part, "\" and VALUE;
// nullopt for a hive number that names no hive.
std::optional<std::string> RegistryEntry(std::string_view path) {
    std::vector<std::string> parts = Split(path, "^");
    std::optional<platform::Hive> hive = DefinitionHive(parts[0]);
    if (!hive) return std::nullopt;
    std::string entry = platform::HiveName(*hive);
    entry += '\\';
    if (parts.size() > 1) entry += parts[1];
    if (parts.size() > 2) entry.append("\\").append(parts[2]);
    return entry;
}

}  // namespace

std::vector<std::string> SafetyEntries(std::string_view line, const PathTokens& tokens) {
    SafetyRecord record = ParseSafetyDefinition(line);
    const std::string& kind = record.kind;
    const bool fileKind = kind == "SFILE" || kind == "SEXE" || kind == "SDLL";
    if (fileKind || kind == "SDIR") {
        // A program or system folder protects its 32-bit twin as well; a
        // folder on a network share keeps its leading backslashes.
        std::vector<std::string> entries = tokens.PathPlaces(record.path);
        for (std::string& entry : entries) entry = ReplaceAll(entry, "//", "/");
        // A file kind that names a path protects that path alone; the name
        // stands in only when the line has no path.
        if (fileKind && entries.front().empty()) return {record.name};
        return entries;
    }
    if (kind == "SREG") {
        std::optional<std::string> entry = RegistryEntry(CollapseBackslashes(tokens.ExpandWithDriveRoot(record.path)));
        if (entry) return {ReduceSeparators(*entry)};
    }
    return {};
}

bool LoadSafetyList(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder,
                    const PathTokens& tokens, const bool& stopRequested, SafetyList& list) {
    std::vector<std::string> entries;
    if (!stopRequested) {
        ReadDefinitionLines(files, codePage, DataFilePath(dataFolder, datafile::kSafety),
                            [&](const std::string& line) {
                                for (std::string& entry : SafetyEntries(line, tokens)) {
                                    entries.push_back(std::move(entry));
                                }
                                return !stopRequested;
                            });
    }
    list.Assign(std::move(entries));
    return true;
}

}  // namespace bastion
