// What the memory measurements of PeakMemory.sh need inside the Wine prefix:
//
//   MemoryFixture definitions LINES [--untyped] [--exe LINES] [--content LINES [--distinct]] [--tray]
//     puts a generated definition set into the data folder: LINES file and
//     LINES directory definitions (--untyped: without a threat type, so
//     that a row is longer than its line), --exe LINES executable definitions,
//     --content LINES content definitions (of a few hundred threat names, or
//     with --distinct a name each; none otherwise); the other definition
//     files are written empty, so that no
//     scan warns about a missing one. --tray stores the settings of a
//     returning user whose program starts in the notification area with the
//     memory shield on and no automatic update.
//   MemoryFixture linger MS
//     a process that stays MS milliseconds, so that the running programs
//     the memory shield compares change.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../BenchContent.h"
#include "../BenchDefinitions.h"
#include "BuildIdentity.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/PathTokens.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/WindowsApi.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"

namespace {

using namespace bastion;

void WriteEncoded(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                  const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
    files.WriteFile(path, bytes);
}

void WriteTraySettings(platform::Registry& registry) {
    namespace keys = services::settings;
    services::SettingsStore settings{registry, build::kProductName};
    settings.Write(keys::kLanguage, keys::kEnglish);
    settings.Write(keys::kShowHelp, keys::kUnchecked);
    settings.Write(keys::kFirstTimeThisUser, keys::kNo);
    settings.Write(keys::kMinimized, keys::kYes);
    settings.Write(keys::kOptMemorySheildOn, keys::kTrue);
    settings.Write(keys::kOptMemorySheildOff, keys::kFalse);
    settings.Write(keys::kChkAutomaticUpdate, keys::kUnchecked);
    const std::string machineKey =
        std::string("SOFTWARE\\") + build::kCompanyName + "\\" + build::kProductName + "\\Settings";
    registry.CreateKey(platform::Hive::LocalMachine, machineKey);
    registry.SetValue(platform::Hive::LocalMachine, machineKey, "FirstTime", platform::RegValue::String("Yes"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "linger") == 0) {
        ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    if (argc < 3 || std::strcmp(argv[1], "definitions") != 0) {
        std::fprintf(stderr, "usage: MemoryFixture definitions LINES [--exe LINES] [--tray] | linger MS\n");
        return 1;
    }
    const int lines = std::atoi(argv[2]);
    int exeLines = 0;
    int contentLines = 0;
    bool distinct = false;
    bool tray = false;
    bool typed = true;
    for (int i = 3; i < argc; ++i) {
        typed = typed && std::strcmp(argv[i], "--untyped") != 0;
        if (std::strcmp(argv[i], "--exe") == 0 && i + 1 < argc) exeLines = std::atoi(argv[++i]);
        if (std::strcmp(argv[i], "--content") == 0 && i + 1 < argc) contentLines = std::atoi(argv[++i]);
        distinct = distinct || std::strcmp(argv[i], "--distinct") == 0;
        tray = tray || std::strcmp(argv[i], "--tray") == 0;
    }

    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32Registry registry;
    win32::Win32CodePage codePage;
    const std::string folder = DataFolder(PathTokens::Resolve(shell));
    files.CreateFolder(folder);

    WriteEncoded(files, codePage, DataFilePath(folder, datafile::kFileDefinitions),
                 bench::FileDefinitionLines(lines, typed));
    WriteEncoded(files, codePage, DataFilePath(folder, datafile::kDirectoryDefinitions),
                 bench::DirectoryDefinitionLines(lines, typed));
    WriteEncoded(files, codePage, DataFilePath(folder, datafile::kExeDefinitions),
                 bench::ExeDefinitionLines(exeLines));
    WriteEncoded(files, codePage, DataFilePath(folder, datafile::kContentDefinitions),
                 bench::ContentDefinitionLines(contentLines, distinct));
    for (std::string_view name : {datafile::kRegistryDefinitions, datafile::kBlockedCookies, datafile::kSafety}) {
        files.WriteFile(DataFilePath(folder, name), "");
    }
    if (tray) WriteTraySettings(registry);
    std::printf("%s: %d file and %d directory definitions, %d executable definitions, %d content definitions\n",
                folder.c_str(), lines, lines, exeLines, contentLines);
    return 0;
}
