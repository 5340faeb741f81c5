#include "definitions/DefinitionRecords.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "common/Text.h"

namespace bastion {

namespace {

FileRecord RecordOf(const FileFields& fields) {
    return {std::string(fields.name), std::string(fields.threat), std::string(fields.folder),
            std::string(fields.type), fields.hasFolderField};
}

}  // namespace

// Read once per definition line by the loader, a hundred thousand lines in
// a row: the fields are cut out of the line where they lie, without
// splitting it into pieces.
FileFields DirectoryDefinitionFields(std::string_view line) {
    // The first three "|" and, before the first of them, the first two "=".
    std::size_t bars[3] = {line.size(), line.size(), line.size()};
    std::size_t equals[2] = {line.size(), line.size()};
    std::size_t barCount = 0;
    for (std::size_t from = 0; barCount < 3; ++barCount) {
        const std::size_t bar = FindByte(line, '|', from);
        if (bar == std::string_view::npos) break;
        bars[barCount] = bar;
        from = bar + 1;
    }
    const std::string_view nameThreat = line.substr(0, bars[0]);
    std::size_t equalsCount = 0;
    for (std::size_t from = 0; equalsCount < 2; ++equalsCount) {
        const std::size_t equal = FindByte(nameThreat, '=', from);
        if (equal == std::string_view::npos) break;
        equals[equalsCount] = equal;
        from = equal + 1;
    }
    FileFields fields;
    if (barCount > 0) {
        fields.hasFolderField = true;
        fields.folder = line.substr(bars[0] + 1, bars[1] - std::min(bars[1], bars[0] + 1));
        if (barCount > 1) fields.type = line.substr(bars[1] + 1, bars[2] - bars[1] - 1);
    }
    fields.name = TrimmedView(nameThreat.substr(0, equals[0]));
    if (equalsCount > 0) fields.threat = nameThreat.substr(equals[0] + 1, equals[1] - equals[0] - 1);
    if (fields.type == "TYPE") fields.type = "Spyware";
    return fields;
}

FileFields FileDefinitionFields(std::string_view line) { return DirectoryDefinitionFields(line); }

FileRecord ParseFileDefinition(std::string_view line) { return RecordOf(FileDefinitionFields(line)); }

FileRecord ParseDirectoryDefinition(std::string_view line) { return RecordOf(DirectoryDefinitionFields(line)); }

RegistryRecord ParseRegistryDefinition(std::string_view line) {
    RegistryRecord record;
    std::size_t equals = line.rfind('=');
    std::string threat;
    if (equals == std::string_view::npos) {
        record.location = std::string(line);
    } else {
        record.location = std::string(line.substr(0, equals));
        threat = Trim(line.substr(equals + 1));
    }
    std::size_t bar = threat.find('|');
    if (bar == std::string::npos) {
        record.threat = threat;
    } else {
        record.threat = threat.substr(0, bar);
        record.threatType = threat.substr(bar + 1);
    }
    return record;
}

RegistryLocation SplitRegistryLocation(std::string_view expandedLocation) {
    std::vector<std::string> parts = Split(expandedLocation, "^");
    RegistryLocation location;
    location.hive = parts[0];
    if (parts.size() > 1) location.key = parts[1];
    if (parts.size() > 2) location.value = parts[2];
    return location;
}

std::optional<platform::Hive> DefinitionHive(std::string_view number) {
    static constexpr platform::Hive kHives[] = {
        platform::Hive::ClassesRoot, platform::Hive::CurrentUser,   platform::Hive::LocalMachine,
        platform::Hive::Users,       platform::Hive::CurrentConfig, platform::Hive::DynData,
    };
    long long index = 0;
    if (!ParseWholeNumber(number, index) || index < 0 || index >= static_cast<long long>(std::size(kHives))) {
        return std::nullopt;
    }
    return kHives[index];
}

ExeRecord ParseExeDefinition(std::string_view line) {
    ExeRecord record;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return record;
    record.valid = true;
    record.fileName = std::string(line.substr(0, equals));
    std::vector<std::string> fields = Split(line.substr(equals + 1), "|");
    record.folder = fields.size() >= 2 ? fields[1] : fields[0];
    return record;
}

SafetyRecord ParseSafetyDefinition(std::string_view line) {
    SafetyRecord record;
    std::string nameText;
    if (Contains(line, "|")) {
        std::vector<std::string> fields = Split(line, "|");
        record.kind = fields[0];
        nameText = fields[1];
        if (fields.size() > 2) record.path = fields[2];
    } else {
        record.kind = std::string(line);
    }
    record.name = Trim(Split(nameText, "=")[0]);
    return record;
}

}  // namespace bastion
