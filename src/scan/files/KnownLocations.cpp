#include "scan/files/KnownLocations.h"

#include "common/PathParts.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "scan/content/ContentScan.h"
#include "scan/files/CompanyName.h"
#include "platform/FileExistence.h"
#include "scan/state/ScanPercent.h"

namespace bastion {

namespace {

// Every place FOLDER of a definition line names on this machine, followed
// by "\" and name when name is given (PathPlaces: "[drive]" is the drive
// root, a program or system folder names its 32-bit twin as well). Only paths
// rooted on a drive or a network share (a Documents folder redirected to
// one): a relative one would be looked up in the current folder, which is
// System32 when the program was started from the Run key.
std::vector<std::string> Locations(const ScanContext& context, const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!name.empty()) path.append("\\").append(name);
    std::vector<std::string> locations;
    for (std::string& place : context.tokens.PathPlaces(path)) {
        if (IsDrivePath(place) || IsNetworkPath(place)) locations.push_back(std::move(place));
    }
    return locations;
}

// One more definition line inspected, shown with the item's name above the
// phase caption. False when the user has asked to stop.
bool CountAndShow(ScanContext& context, std::string_view name) {
    ScanState& state = context.state;
    CountOne(state.counters.filesInspected);
    const long long inspected = state.counters.filesInspected;
    std::string text(name);
    text.append("\r\n").append(state.PhaseCaption());
    state.ShowProgress(text, PhasePercent(state.definitions, ScanPhase::Files, inspected),
                       OverallPercent(state.definitions, ScanPhase::Files, inspected));
    return !state.StopRequested();
}

void ReadLines(ScanContext& context, std::string_view file, const std::function<bool(const std::string&)>& onLine) {
    ReadDefinitionLines(context.files, context.codePage, DataFilePath(context.dataFolder, file),
                        [&](const std::string& line) {
                            if (context.state.StopRequested()) return false;
                            const bool goOn = onLine(line);
                            context.pump.Pump();
                            return goOn;
                        });
}

}  // namespace

void ScanKnownFileLocations(ScanContext& context) {
    LoadContentDefinitions(context);
    ReadLines(context, datafile::kFileDefinitions, [&](const std::string& line) {
        // Each line's own fields: a line without a type has none.
        const FileRecord record = ParseFileDefinition(line);
        if (!CountAndShow(context, record.name)) return false;
        if (record.name.empty()) return true;
        for (const std::string& location : Locations(context, record.folder, record.name)) {
            if (!FileExists(context.files, location) || context.safety.IsProtectedPath(location)) continue;
            ScanState& state = context.state;
            if (context.exclusions.IsExcluded(location)) {
                state.AddExcluded(location);
                continue;
            }
            if (IsMicrosoftCompany(GetFileCompanyName(context.files, context.codePage, location))) {
                // The publisher clears the name, not what the file holds.
                if (const std::optional<platform::DirEntry> entry = context.files.Lookup(location)) {
                    MatchFoundContent(context, location, *entry);
                }
                continue;
            }
            state.CountTrace();
            state.ReportDetection(DetectionKind::File, record.threat, record.type, location, FileItem{location});
        }
        return true;
    });
}

void ScanKnownDirectoryLocations(ScanContext& context) {
    ReadLines(context, datafile::kDirectoryDefinitions, [&](const std::string& line) {
        const FileRecord record = ParseDirectoryDefinition(line);
        if (record.folder.empty()) return true;
        if (!CountAndShow(context, RemoveChars(record.name, "\r\n\t"))) return false;

        for (const std::string& location : Locations(context, record.folder, {})) {
            if (!FolderExists(context.files, location) || context.safety.IsProtectedPath(location)) continue;
            ScanState& state = context.state;
            if (context.exclusions.IsExcludedFolder(location)) {
                state.AddExcluded(location);
                continue;
            }
            state.CountTrace();
            state.ReportDetection(DetectionKind::Folder, record.threat, record.type, location, FileItem{location});
        }
        return true;
    });
}

}  // namespace bastion
