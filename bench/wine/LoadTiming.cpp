// Loading 100,001 file and 100,001 directory definitions from the real
// Win32 file system, against merely reading and decoding the same two files
// through the same facility: with the program's reader, and line by line
// with a string for each as the readers did when the load's goal was set
// (64 KiB pieces, each line decoded into a string of its own and converted
// into another). A load either reads the definition files (the first after
// they change, which then saves the tables' image) or maps the image saved
// by an earlier one: both are timed. Google Benchmark is not built for Windows, so this times a
// few rounds of each and prints milliseconds: run it through wine-run.sh.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../BenchDefinitions.h"
#include "WineTiming.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/LineReader.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WindowsApi.h"
#include "scan/files/DefinitionLoader.h"
#include "services/waits/EventPump.h"

namespace {

using namespace bastion;
using bench::IdlePump;
using bench::Median;

}  // namespace

int main(int argc, char** argv) {
    constexpr int kLines = 100'001;
    // "--load-only" times nothing but the load, for a profiler.
    const bool loadOnly = argc > 1 && std::string_view(argv[1]) == "--load-only";
    const int kRounds = loadOnly ? 40 : 7;

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
    ScanState state;
    IdlePump pump;

    // As the readers did before the program's reader decoded in place.
    auto readByLine = [&](const std::string& path, std::size_t& bytes) {
        platform::LineReader reader(files, path);
        std::string line;
        while (reader.Next(line)) bytes += codePage.ToUtf8(DecodeDefinitionText(line)).size();
    };

    const std::string image = DataFilePath(folder, datafile::kTablesImage);
    std::vector<double> read, load, readCpu, loadCpu, byLine, byLineCpu, mapped, mappedCpu;
    std::size_t tableBytes = 0;
    std::uint64_t imageBytes = 0;
    // One load into fresh tables, timed: from the files when there is no
    // image yet.
    auto loadOnce = [&](std::unique_ptr<DefinitionTables>& tables, std::vector<double>& wall, std::vector<double>& cpu) {
        tables = std::make_unique<DefinitionTables>();
        ScanContext context{files, codePage, system, folder,   tokens, safety, exclusions,
                            state, pump,     *tables, registry, shell, processes};
        const bench::Timing loading = bench::Time([&] { LoadDefinitions(context); });
        wall.push_back(loading.wall);
        cpu.push_back(loading.cpu);
    };
    for (int round = 0; round < kRounds; ++round) {
        std::size_t bytes = 0;
        std::unique_ptr<DefinitionTables> tables;
        files.DeleteFile(image);
        if (loadOnly) {
            loadOnce(tables, load, loadCpu);
            continue;
        }
        const bench::Timing reading = bench::Time([&] {
            for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions}) {
                ReadDefinitionLines(files, codePage, DataFilePath(folder, name), [&](const std::string& line) {
                    bytes += line.size();
                    return true;
                });
            }
        });
        const bench::Timing lineByLine = bench::Time([&] {
            for (std::string_view name : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions}) {
                readByLine(DataFilePath(folder, name), bytes);
            }
        });
        byLine.push_back(lineByLine.wall);
        byLineCpu.push_back(lineByLine.cpu);
        loadOnce(tables, load, loadCpu);
        tableBytes = tables->Files().Bytes() + tables->Directories().Bytes();
        imageBytes = files.FileSize(image).value_or(0);
        if (imageBytes == 0) std::printf("the load saved no image\n");
        tables.reset();
        loadOnce(tables, mapped, mappedCpu);
        if (!tables->FromImage()) std::printf("the second load did not read the image\n");
        read.push_back(reading.wall);
        readCpu.push_back(reading.cpu);
        if (tables->Files().Size() != static_cast<std::size_t>(kLines)) {
            std::printf("loaded %zu file rows, expected %d\n", tables->Files().Size(), kLines);
        }
    }
    files.DeleteFolderTree(folder);
    if (loadOnly) {
        // The processor time is counted in coarse ticks: its mean is the
        // finer figure.
        double cpu = 0;
        for (double each : loadCpu) cpu += each;
        std::printf("LoadDefinitions/%d  %.1f ms wall (median), %.1f ms (least), %.1f ms processor (mean)\n", kLines,
                    Median(load), *std::min_element(load.begin(), load.end()),
                    cpu / static_cast<double>(loadCpu.size()));
        return 0;
    }

    // The processor time suffers less from other work on the machine.
    std::printf("median of %d rounds                 wall ms   process cpu ms\n", kRounds);
    std::printf("ReadAndDecodeDefinitions/%d  %8.1f  %8.1f\n", kLines, Median(read), Median(readCpu));
    std::printf("ReadAndDecodeByLine/%d       %8.1f  %8.1f\n", kLines, Median(byLine), Median(byLineCpu));
    std::printf("LoadDefinitions/%d           %8.1f  %8.1f  (from the files, saving the image)\n", kLines, Median(load), Median(loadCpu));
    std::printf("LoadDefinitionsFromImage/%d  %8.1f  %8.1f\n", kLines, Median(mapped), Median(mappedCpu));
    std::printf("load / read+decode                %8.2f  %8.2f\n", Median(load) / Median(read),
                Median(loadCpu) / Median(readCpu));
    std::printf("load from image / read+decode     %8.2f  %8.2f\n", Median(mapped) / Median(read),
                Median(mappedCpu) / Median(readCpu));
    std::printf("load / read+decode by line        %8.2f  %8.2f\n", Median(load) / Median(byLine),
                Median(loadCpu) / Median(byLineCpu));
    std::printf("tables                       %.1f MiB (image %.1f MiB)\n", static_cast<double>(tableBytes) / (1024.0 * 1024.0),
                static_cast<double>(imageBytes) / (1024.0 * 1024.0));
    return 0;
}
