#include "scan/DefinitionLoader.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "scan/ScanProgress.h"

namespace bastion {

namespace {

constexpr std::string_view kLoadingText = "Loading definitions, please wait...";

// The folder a row stores: the expanded FOLDER with a trailing "\", or
// nothing when the line names none. "[drive]" is no folder token and stays.
std::string StoredFolder(const FileRecord& record, const PathTokens& tokens) {
    if (!record.hasFolderField) {
        return {};
    }
    std::string folder = tokens.Expand(record.folder);
    if (folder.find("\\\\") != std::string::npos) {
        folder = CollapseBackslashes(folder);
    }
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

enum class Kind { Files, Directories };

void LoadTable(ScanContext& context, Kind kind) {
    const bool files = kind == Kind::Files;
    const std::string path =
        DataFilePath(context.dataFolder, files ? datafile::kFileDefinitions : datafile::kDirectoryDefinitions);
    DefinitionTable& table = files ? context.tables.Files() : context.tables.Directories();

    ReadDefinitionLines(context.files, context.codePage, path, [&](const std::string& line) {
        if (context.state.StopRequested()) {
            return false;
        }
        FileRecord record = files ? ParseFileDefinition(line) : ParseDirectoryDefinition(line);
        std::string folder = StoredFolder(record, context.tokens);
        if (!files && !folder.empty()) {
            folder.pop_back();
        }
        // A file row is protected by its path: the folder followed by the name.
        const std::size_t folderLength = folder.size();
        if (files) {
            folder += record.name;
        }
        const bool isProtected = context.safety.IsProtectedPath(folder);
        folder.resize(folderLength);
        if (!isProtected) {
            table.Add({ToLower(record.name), ToLower(folder), std::move(record.type), std::move(record.threat)});
        }
        context.pump.Pump();
        return true;
    });
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
