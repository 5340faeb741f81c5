#include "scan/files/DefinitionLoader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

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

// Room for the rows a definition file of this size is likely to hold, so the
// table's index is sized once rather than regrown as it fills. Definition
// lines run to about this many bytes; the guess is capped so that an
// unusually large file claims no more than a table that size would need.
constexpr std::uint64_t kTypicalLineBytes = 48;
constexpr std::uint64_t kMostRowsReserved = std::uint64_t{1} << 20;

void ReserveRows(ScanContext& context, const std::string& path, DefinitionTable& table) {
    if (const std::optional<std::uint64_t> bytes = context.files.FileSize(path)) {
        table.Reserve(static_cast<std::size_t>(std::min(*bytes / kTypicalLineBytes, kMostRowsReserved)));
    }
}

void LoadTable(ScanContext& context, Kind kind) {
    const bool files = kind == Kind::Files;
    const std::string path =
        DataFilePath(context.dataFolder, files ? datafile::kFileDefinitions : datafile::kDirectoryDefinitions);
    DefinitionTable& table = files ? context.tables.Files() : context.tables.Directories();
    ReserveRows(context, path, table);

    // Kept from line to line so that a line costs no allocation beyond the
    // row it adds.
    std::string folder;
    std::string lowered;
    // One row for the place the line names with these tokens. A row without
    // a key (a file line without a name, a directory line without a folder)
    // could never match: it is left out, and the lines after it load.
    auto addRow = [&](const FileFields& fields, const PathTokens& tokens) {
        StoredFolder(fields, tokens, folder);
        if (!files && !folder.empty()) {
            folder.pop_back();
        }
        // Lower-cased once, for the safety test and the row alike: a file
        // row is protected by its path (the folder followed by the name), a
        // directory row by its folder.
        lowered.clear();
        AppendLower(lowered, folder);
        const std::size_t folderLength = lowered.size();
        AppendLower(lowered, fields.name);
        const std::string_view loweredFolder = std::string_view(lowered).substr(0, folderLength);
        const std::string_view loweredName = std::string_view(lowered).substr(folderLength);
        if (TrimmedView(files ? loweredName : loweredFolder).empty()) {
            return;
        }
        if (!context.safety.IsProtectedLowerCasePath(files ? std::string_view(lowered) : loweredFolder)) {
            table.Add({std::string(loweredName), std::string(loweredFolder), std::string(fields.type),
                       std::string(fields.threat)});
        }
    };
    ReadDefinitionLines(context.files, context.codePage, path, [&](const std::string& line) {
        if (context.state.StopRequested()) {
            return false;
        }
        const FileFields fields = files ? FileDefinitionFields(line) : DirectoryDefinitionFields(line);
        addRow(fields, context.tokens);
        // A definition for the program folder finds the file in its 32-bit
        // twin as well (the walk looks for the system folder's twin itself).
        if (const PathTokens* thirtyTwoBit = context.tokens.ThirtyTwoBitPlace(fields.folder)) {
            addRow(fields, *thirtyTwoBit);
        }
        context.pump.Pump();
        return true;
    });
    // Indexed while loading, so that the first item matched does not wait.
    table.Index();
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
