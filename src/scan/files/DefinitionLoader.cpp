#include "scan/files/DefinitionLoader.h"

#include <optional>
#include <string_view>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "scan/state/ScanProgress.h"

namespace bastion {

namespace {

constexpr std::string_view kLoadingText = "Loading definitions, please wait...";

// The folder a row stores, into folder: the expanded FOLDER with a trailing
// "\", or nothing when the line names none. "[drive]" is no folder token and
// stays.
void StoredFolder(const FileFields& fields, const PathTokens& tokens, std::string& folder) {
    folder.clear();
    if (!fields.hasFolderField) {
        return;
    }
    tokens.ExpandPathInto(fields.folder, folder);
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
}

enum class Kind { Files, Directories };

// Folders grow by about this much when their token is put in; the guess
// sizes the table's text before the lines are loaded.
constexpr std::size_t kFolderGrowthPerLine = 16;

// One place a line names: its stored folder and, lower-cased, the folder
// followed by the name. Kept from line to line so that a line costs no
// allocation.
struct Place {
    std::string folder;
    std::string lowered;
    std::size_t folderLength = 0;

    std::string_view LoweredFolder() const { return std::string_view(lowered).substr(0, folderLength); }
    std::string_view LoweredName() const { return std::string_view(lowered).substr(folderLength); }
};

// The place the line names with these tokens; false when it makes no row.
// A row without a key (a file line without a name, a directory line without
// a folder) could never match: it is left out, and the lines after it load.
// Lower-cased once, for the safety test and the row alike: a file row is
// protected by its path (the folder followed by the name), a directory row
// by its folder.
bool MakePlace(ScanContext& context, bool files, const FileFields& fields, const PathTokens& tokens, Place& place) {
    StoredFolder(fields, tokens, place.folder);
    if (!files && !place.folder.empty()) {
        place.folder.pop_back();
    }
    place.lowered.clear();
    AppendLower(place.lowered, place.folder);
    place.folderLength = place.lowered.size();
    AppendLower(place.lowered, fields.name);
    if (TrimmedView(files ? place.LoweredName() : place.LoweredFolder()).empty()) {
        return false;
    }
    return !context.safety.IsProtectedLowerCasePath(files ? std::string_view(place.lowered)
                                                          : place.LoweredFolder());
}

void LoadLines(ScanContext& context, bool files, DefinitionLines& lines, DefinitionTable& table) {
    table.Reserve(lines.LineCount(), lines.Bytes() + lines.LineCount() * kFolderGrowthPerLine);
    Place own;
    Place twin;
    std::string_view line;
    while (!context.state.StopRequested() && lines.Next(context.codePage, line)) {
        const FileFields fields = files ? FileDefinitionFields(line) : DirectoryDefinitionFields(line);
        const bool ownKept = MakePlace(context, files, fields, context.tokens, own);
        // A definition for the program folder finds the file in its 32-bit
        // twin as well (the walk looks for the system folder's twin itself).
        const PathTokens* thirtyTwoBit = context.tokens.ThirtyTwoBitPlace(fields.folder);
        const bool twinKept = thirtyTwoBit && MakePlace(context, files, fields, *thirtyTwoBit, twin);
        bool added = true;
        if (ownKept) {
            added = table.Add({own.LoweredName(), own.LoweredFolder(), fields.type, fields.threat},
                              twinKept ? std::optional(twin.LoweredFolder()) : std::nullopt);
        } else if (twinKept) {
            added = table.Add({twin.LoweredName(), twin.LoweredFolder(), fields.type, fields.threat});
        }
        // A table that holds 4 GiB of text takes no more.
        if (!added) return;
        context.pump.Pump();
    }
}

void LoadTable(ScanContext& context, Kind kind) {
    const bool files = kind == Kind::Files;
    const std::string path =
        DataFilePath(context.dataFolder, files ? datafile::kFileDefinitions : datafile::kDirectoryDefinitions);
    DefinitionTable& table = files ? context.tables.Files() : context.tables.Directories();
    table.SetProgramFolderTwins(context.tokens.ProgramFolderTwins());
    {
        DefinitionLines lines;
        if (lines.Read(context.files, path)) LoadLines(context, files, lines, table);
    }
    // Once the file's text is gone, so that the two are never held at once
    // with a copy of the table's.
    table.Trim();
}

}  // namespace

void LoadDefinitions(ScanContext& context) {
    if (context.tables.Created()) {
        return;
    }
    context.tables.Create();
    ui::FrmMain& form = context.state.Form();
    form.cmdPause.SetEnabled(false);
    form.cmdStop.SetEnabled(false);
    ShowScanProgressNow(context.state, kLoadingText, 0, 0);
    context.pump.PumpNow();

    LoadTable(context, Kind::Files);
    LoadTable(context, Kind::Directories);

    form.cmdPause.SetEnabled(true);
    form.cmdStop.SetEnabled(true);
}

}  // namespace bastion
