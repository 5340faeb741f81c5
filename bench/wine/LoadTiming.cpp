// Loading 100,001 file and 100,001 directory definitions from the real
// Win32 file system, against merely reading and decoding the same two files
// through the same facility. Google Benchmark is not built for Windows, so
// this times a few rounds of each with the performance counter and prints
// milliseconds: run it through wine-run.sh.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../BenchDefinitions.h"
#include "WineTiming.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WindowsApi.h"
#include "scan/files/DefinitionLoader.h"
#include "ui/EventPump.h"
#include "ui/forms/FrmMain.h"

namespace {

using namespace bastion;
using bench::IdlePump;
using bench::Median;
using bench::Milliseconds;

}  // namespace

int main() {
    constexpr int kLines = 100'001;
    constexpr int kRounds = 5;

    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32Registry registry;
    win32::Win32Processes processes;
    win32::Win32SystemInfo system;
    win32::Win32CodePage codePage;
    const PathTokens tokens = PathTokens::Resolve(shell);

    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::string folder = win32::Narrow(std::wstring_view(temp, length));
    folder += "bastion_load_timing_" + std::to_string(::GetCurrentProcessId());
    files.CreateFolder(folder);

    bench::WriteDefinitionFiles(files, codePage, folder, kLines);

    SafetyList safety;
    safety.Assign(bench::UsualSafetyEntries());
    ExclusionList exclusions;
    ui::FrmMain form;
    ScanState state(form);
    IdlePump pump;

    std::vector<double> read, load;
    std::size_t tableBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::size_t bytes = 0;
        read.push_back(Milliseconds([&] {
            for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions}) {
                ReadDefinitionLines(files, codePage, DataFilePath(folder, name), [&](const std::string& line) {
                    bytes += line.size();
                    return true;
                });
            }
        }));
        auto tables = std::make_unique<DefinitionTables>();
        ScanContext context{files, codePage,   system,   folder, tokens,   safety,   exclusions,
                            state, pump,       *tables,  registry, shell,    processes};
        load.push_back(Milliseconds([&] { LoadDefinitions(context); }));
        if (tables->Files().Size() != static_cast<std::size_t>(kLines)) {
            std::printf("loaded %zu file rows, expected %d\n", tables->Files().Size(), kLines);
        }
        tableBytes = tables->Files().Bytes() + tables->Directories().Bytes();
    }
    files.DeleteFolderTree(folder);

    const double readMs = Median(read);
    const double loadMs = Median(load);
    std::printf("ReadAndDecodeDefinitions/%d  %.1f ms (median of %d)\n", kLines, readMs, kRounds);
    std::printf("LoadDefinitions/%d           %.1f ms (median of %d)\n", kLines, loadMs, kRounds);
    std::printf("load / read+decode           %.2f\n", loadMs / readMs);
    std::printf("tables                       %.1f MiB\n", static_cast<double>(tableBytes) / (1024.0 * 1024.0));
    return 0;
}
