#include "scan/files/DefinitionLoader.h"

#include <optional>
#include <string_view>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/TablesImage.h"
#include "scan/content/ContentScan.h"

namespace bastion {

namespace {

constexpr std::string_view kLoadingText = "Loading definitions, please wait...";

enum class Kind { Files, Directories };

// One place a line names: its stored folder followed by the name, as the
// safety list sees it. Kept from line to line so that a line costs no
// allocation.
struct Place {
    std::string folder;
    std::string path;
};

// The place the line names with these tokens; false when it makes no row.
// A row without a key (a file line without a name, a directory line without
// a folder) could never match: it is left out, and the lines after it load.
// A file row is protected by its path (the folder followed by the name), a
// directory row by its folder.
bool MakePlace(ScanContext& context, TableKey kind, std::string_view written, std::string_view name,
               const PathTokens& tokens, Place& place) {
    PlaceFolder(kind, tokens, written, place.folder);
    if (kind == TableKey::DirFolder) {
        return !TrimmedView(place.folder).empty() && !context.safety.IsProtectedLowerCasePath(place.folder);
    }
    if (TrimmedView(name).empty()) return false;
    place.path.assign(place.folder).append(name);
    return !context.safety.IsProtectedLowerCasePath(place.path);
}

// False when the file could not be read to its end.
bool LoadTable(ScanContext& context, Kind kind) {
    const bool files = kind == Kind::Files;
    const TableKey key = files ? TableKey::FileName : TableKey::DirFolder;
    const std::string path =
        DataFilePath(context.dataFolder, files ? datafile::kFileDefinitions : datafile::kDirectoryDefinitions);
    DefinitionTable& table = files ? context.tables.Files() : context.tables.Directories();
    DefinitionLines lines;
    if (!lines.Open(context.files, path)) return true;
    // A row holds less than its line, so the file's size is room enough.
    table.BeginLoad(static_cast<std::size_t>(context.files.FileSize(path).value_or(0)), context.tokens);
    Place own;
    Place twin;
    std::string name;
    std::string_view line;
    while (!context.state.StopRequested() && lines.Next(context.codePage, line)) {
        const FileFields fields = files ? FileDefinitionFields(line) : DirectoryDefinitionFields(line);
        // Names are mostly written in lower case already.
        std::string_view lowerName = fields.name;
        if (!IsLowerCaseAscii(lowerName)) {
            name.clear();
            AppendLower(name, fields.name);
            lowerName = name;
        }
        DefinitionTable::Line row{lowerName, fields.threat, fields.folder, fields.type, std::nullopt, std::nullopt};
        // A definition for the program folder finds the file in its 32-bit
        // twin as well (the walk looks for the system folder's twin itself).
        const PathTokens* thirtyTwoBit = context.tokens.ThirtyTwoBitPlace(fields.folder);
        if (files && !lowerName.empty() && !context.safety.MayProtectFileName(lowerName)) {
            // A file row is keyed by its name alone: its folder is worked
            // out only when the safety list might protect the place.
            row.ownFolder = std::string_view{};
            if (thirtyTwoBit) row.thirtyTwoBitFolder = std::string_view{};
        } else {
            if (MakePlace(context, key, fields.folder, lowerName, context.tokens, own)) row.ownFolder = own.folder;
            if (thirtyTwoBit && MakePlace(context, key, fields.folder, lowerName, *thirtyTwoBit, twin)) {
                row.thirtyTwoBitFolder = twin.folder;
            }
        }
        // A table that holds 4 GiB of text takes no more.
        if ((row.ownFolder || row.thirtyTwoBitFolder) && !table.AddLine(row)) break;
        context.pump.Pump();
    }
    table.EndLoad();
    return !lines.Failed();
}

// What the tables are loaded from; nullopt when a definition file's stamp
// cannot be told (then no image is read or saved).
std::optional<TablesImageKey> ImageKey(ScanContext& context) {
    TablesImageKey key;
    std::size_t part = 0;
    for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions}) {
        const std::optional<platform::FileStamp> stamp = context.files.Stamp(DataFilePath(context.dataFolder, name));
        if (!stamp) return std::nullopt;
        key.parts[part++] = stamp->size;
        key.parts[part++] = stamp->lastWrite;
    }
    std::string safety;
    for (const std::string& entry : context.safety.Entries()) safety.append(entry).push_back('\0');
    key.parts[part++] = std::hash<std::string>{}(safety);
    key.parts[part++] = context.tokens.Fingerprint();
    key.parts[part++] = context.codePage.Id();
    return key;
}

// Both tables from the definition files, or from the image of an earlier
// load of the same files; an image is saved after a whole load. False when
// a file could not be read to its end.
bool LoadTables(ScanContext& context) {
    const std::optional<TablesImageKey> key = ImageKey(context);
    const std::string image = DataFilePath(context.dataFolder, datafile::kTablesImage);
    if (key && LoadTablesImage(context.files, image, context.tables, *key, context.tokens)) return true;
    if (!LoadTable(context, Kind::Files) || !LoadTable(context, Kind::Directories)) return false;
    // Not from a load a stop cut short, nor from files that changed while
    // they were read. A failed save costs only the next run's load.
    if (key && !context.state.StopRequested() && ImageKey(context) == key) {
        SaveTablesImage(context.files, image, context.tables, *key);
    }
    return true;
}

}  // namespace

bool LoadDefinitions(ScanContext& context) {
    if (context.tables.Created()) {
        return true;
    }
    context.tables.Create();
    ScanState& state = context.state;
    state.Progress().Loading(true);
    state.ShowProgressNow(kLoadingText, 0, 0);
    context.pump.PumpNow();

    const bool read = LoadTables(context) && LoadContentDefinitions(context);
    // Part of the definitions would go unfound for the rest of the run: the
    // tables stay empty, and the next scan reads the files again.
    if (!read) context.tables.Discard();

    state.Progress().Loading(false);
    return read;
}

}  // namespace bastion
