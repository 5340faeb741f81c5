// A Full System Scan walk of a generated tree (100,000 files in 5,000
// folders) with 100,001 file and 100,001 directory definitions loaded,
// against a bare enumeration of the same tree through the same file system
// facility, on the real Win32 file system. Google Benchmark is not built for
// Windows, so this times rounds of each with the performance counter and
// prints milliseconds: run it through wine-run.sh.
//
//   WalkTiming [--keep] [--variants] [--parts]
//     --keep      leave the generated tree for the next run (it is reused)
//     --variants  also time bare enumerations with other listing calls
//     --parts     also time the walk without definitions and without the
//                 window's event pump, to see where its extra time goes
#include <algorithm>
#include <cstdio>
#include <cstring>
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
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WindowsApi.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "ui/forms/FrmMain.h"
#include "ui/win32/Win32EventPump.h"

namespace {

using namespace bastion;
using bench::IdlePump;
using bench::Median;
using bench::Milliseconds;

constexpr int kDefinitions = 100'001;
constexpr int kTopFolders = 50;
constexpr int kFoldersPerTop = 99;  // 50 + 50 * 99 = 5,000 folders
constexpr int kFilesPerFolder = 20;  // 100,000 files
constexpr int kRounds = 11;

// Wall time and the process's own processor time (user and kernel), in
// milliseconds. The processor time suffers less from other work on the
// machine; what the Wine server does for the process is not in it.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10'000.0;
}

Timing Time(const std::function<void()>& work) {
    const double cpuBefore = ProcessCpuMs();
    Timing timing;
    timing.wall = Milliseconds(work);
    timing.cpu = ProcessCpuMs() - cpuBefore;
    return timing;
}

// Most files match no definition; one in 500 carries a definition's name,
// so the matchers also do what they do for a hit.
std::string FileName(int i) {
    if (i % 500 == 7) return bench::DefinitionFileName(i % kDefinitions);
    return "document" + std::to_string(i) + (i % 3 == 0 ? ".txt" : ".dat");
}

void MakeTree(win32::Win32FileSystem& files, const std::string& root) {
    int file = 0;
    auto fill = [&](const std::string& folder) {
        files.CreateFolder(folder);
        for (int k = 0; k < kFilesPerFolder; ++k) files.WriteFile(folder + "\\" + FileName(file++), "data");
    };
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topFolder = root + "\\Vendor" + std::to_string(top);
        fill(topFolder);
        for (int sub = 0; sub < kFoldersPerTop; ++sub) fill(topFolder + "\\Folder" + std::to_string(sub));
    }
    files.WriteFile(root + "\\complete.marker", "");
}

// The bare enumeration: every folder listed through the facility, plain
// folders descended into, nothing else done.
std::size_t Enumerate(platform::FileSystem& files, const std::string& folder) {
    std::optional<platform::DirListing> listing = files.ListDirectory(folder);
    if (!listing) return 0;
    std::size_t count = listing->entries.size();
    for (const platform::DirEntry& entry : listing->entries) {
        if (entry.attributes == platform::kAttrDirectory) count += Enumerate(files, folder + entry.name + "\\");
    }
    return count;
}

// --- other listing calls, for comparison --------------------------------

struct RawEntry {
    std::wstring name;
    DWORD attributes;
};
using RawLister = std::function<bool(const std::wstring& folder, std::vector<RawEntry>& out)>;

bool IsDot(const wchar_t* name, std::size_t length) {
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

void ReadIdentity(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(handle, &info);
}

bool ListByFind(const std::wstring& folder, std::vector<RawEntry>& out, DWORD flags, bool identity) {
    WIN32_FIND_DATAW data{};
    win32::UniqueFindHandle find(::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                                    FindExSearchNameMatch, nullptr, flags));
    if (!find) return false;
    do {
        const std::size_t length = wcslen(data.cFileName);
        if (!IsDot(data.cFileName, length)) {
            out.push_back({std::wstring(data.cFileName, length), data.dwFileAttributes});
        }
    } while (::FindNextFileW(find.Get(), &data));
    if (identity) {
        win32::UniqueHandle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (handle) ReadIdentity(handle.Get());
    }
    return true;
}

template <typename Info>
bool ListByHandle(const std::wstring& folder, std::vector<RawEntry>& out, FILE_INFO_BY_HANDLE_CLASS kind,
                  bool identity) {
    win32::UniqueHandle handle(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return false;
    if (identity) ReadIdentity(handle.Get());
    constexpr std::size_t kBufferBytes = 64 * 1024;
    std::vector<std::uint64_t> buffer(kBufferBytes / sizeof(std::uint64_t));
    while (::GetFileInformationByHandleEx(handle.Get(), kind, buffer.data(), static_cast<DWORD>(kBufferBytes))) {
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const Info* info = reinterpret_cast<const Info*>(at);
            const std::size_t length = info->FileNameLength / sizeof(wchar_t);
            if (!IsDot(info->FileName, length)) {
                out.push_back({std::wstring(info->FileName, length), info->FileAttributes});
            }
            if (info->NextEntryOffset == 0) break;
            at += info->NextEntryOffset;
        }
    }
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::size_t EnumerateRaw(const RawLister& list, const std::wstring& folder) {
    std::vector<RawEntry> entries;
    if (!list(folder, entries)) return 0;
    std::size_t count = 0;
    for (const RawEntry& entry : entries) {
        if (entry.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        ++count;
        if (entry.attributes == FILE_ATTRIBUTE_DIRECTORY) count += EnumerateRaw(list, folder + entry.name + L"\\");
    }
    return count;
}

// Every listing call in turn within each round, so that all meet the same
// load of the machine.
void TimeVariants(const std::string& root) {
    const std::wstring top = win32::Widen(root) + L"\\";
    using Enumeration = std::function<std::size_t()>;
    auto raw = [&](RawLister list) -> Enumeration { return [&top, list] { return EnumerateRaw(list, top); }; };
    const std::vector<std::pair<const char*, Enumeration>> variants = {
        {"FindFirstFileExW basic, no identity",
         raw([](const std::wstring& f, auto& out) { return ListByFind(f, out, 0, false); })},
        {"FindFirstFileExW basic, large fetch, no identity",
         raw([](const std::wstring& f, auto& out) { return ListByFind(f, out, FIND_FIRST_EX_LARGE_FETCH, false); })},
        {"FindFirstFileExW + second open + GetFileInformationByHandle",
         raw([](const std::wstring& f, auto& out) { return ListByFind(f, out, FIND_FIRST_EX_LARGE_FETCH, true); })},
        {"handle + FileIdBothDirectoryInfo 64 KB, no identity",
         raw([](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_ID_BOTH_DIR_INFO>(f, out, FileIdBothDirectoryInfo, false);
         })},
        {"handle + FileFullDirectoryInfo 64 KB, no identity",
         raw([](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_FULL_DIR_INFO>(f, out, FileFullDirectoryInfo, false);
         })},
        {"handle + FileFullDirectoryInfo + GetFileInformationByHandle",
         raw([](const std::wstring& f, auto& out) {
             return ListByHandle<FILE_FULL_DIR_INFO>(f, out, FileFullDirectoryInfo, true);
         })},
        {"Win32FileSystem::ListDirectory (handle, FileFull, index, memo)",
         [&root] {
             win32::Win32FileSystem files;
             return Enumerate(files, root + "\\");
         }},
    };
    std::vector<std::vector<double>> times(variants.size());
    std::vector<std::size_t> counts(variants.size());
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            times[v].push_back(Milliseconds([&] { counts[v] = variants[v].second(); }));
        }
    }
    std::printf("bare enumerations by listing call, in turn (median of %d):\n", kRounds);
    for (std::size_t v = 0; v < variants.size(); ++v) {
        std::printf("  %-64s %8.1f ms  (%zu entries)\n", variants[v].first, Median(times[v]), counts[v]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool keep = false;
    bool variants = false;
    bool parts = false;
    for (int i = 1; i < argc; ++i) {
        keep = keep || std::strcmp(argv[i], "--keep") == 0;
        variants = variants || std::strcmp(argv[i], "--variants") == 0;
        parts = parts || std::strcmp(argv[i], "--parts") == 0;
    }

    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32Registry registry;
    win32::Win32Processes processes;
    win32::Win32SystemInfo system;
    win32::Win32CodePage codePage;
    const PathTokens tokens = PathTokens::Resolve(shell);

    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    const std::string base = win32::Narrow(std::wstring_view(temp, length));
    const std::string dataFolder = base + "bastion_walk_timing_data_" + std::to_string(::GetCurrentProcessId());
    const std::string tree = base + "bastion_walk_timing_tree";
    files.CreateFolder(dataFolder);
    if (!files.Lookup(tree + "\\complete.marker")) {
        files.DeleteFolderTree(tree);
        const double made = Milliseconds([&] { MakeTree(files, tree); });
        std::printf("tree made in %.0f ms\n", made);
    }

    bench::WriteDefinitionFiles(files, codePage, dataFolder, kDefinitions);

    SafetyList safety;
    safety.Assign(bench::UsualSafetyEntries());
    ExclusionList exclusions;
    ui::FrmMain form;
    ScanState state(form);
    win32::Win32EventPump pump;
    auto tables = std::make_unique<DefinitionTables>();
    ScanContext context{files, codePage, system, dataFolder, tokens, safety, exclusions,
                        state, pump,     *tables, registry,  shell,  processes};
    const double loadMs = Milliseconds([&] { LoadDefinitions(context); });

    const std::string top = tree + "\\";
    std::size_t entries = Enumerate(files, top);  // warms the host's caches
    // Each round times both, one right after the other and taking turns at
    // going first, so that neither gains from what the other left in the
    // caches and both meet the same load of the machine; the ratio is taken
    // per round.
    std::vector<double> bareWall, walkWall, bareCpu, walkCpu, wallRatios, cpuRatios;
    for (int round = 0; round < kRounds; ++round) {
        Timing bare, walk;
        auto timeBare = [&] { bare = Time([&] { entries = Enumerate(files, top); }); };
        auto timeWalk = [&] {
            state.Reset();
            walk = Time([&] { ScanFolder(context, top); });
        };
        if (round % 2 == 0) {
            timeBare();
            timeWalk();
        } else {
            timeWalk();
            timeBare();
        }
        bareWall.push_back(bare.wall);
        walkWall.push_back(walk.wall);
        bareCpu.push_back(bare.cpu);
        walkCpu.push_back(walk.cpu);
        wallRatios.push_back(walk.wall / bare.wall);
        cpuRatios.push_back(walk.cpu / bare.cpu);
    }
    if (static_cast<std::size_t>(state.counters.filesInspected) != entries + 1) {
        std::printf("walk examined %d items, the enumeration %zu\n", state.counters.filesInspected, entries);
    }

    std::printf("LoadDefinitions (files and directories, %d each)  %.1f ms\n", kDefinitions, loadMs);
    std::printf("medians of %d rounds             wall ms   process cpu ms\n", kRounds);
    std::printf("BareEnumeration/%zu entries  %8.1f  %8.1f\n", entries, Median(bareWall), Median(bareCpu));
    std::printf("WalkAndMatch/%zu entries     %8.1f  %8.1f   (%zu detections)\n", entries, Median(walkWall),
                Median(walkCpu), state.ActivityList().Count());
    std::printf("walk+match / bare enumeration  %8.3f  %8.3f\n", Median(wallRatios), Median(cpuRatios));
    if (parts) {
        IdlePump idle;
        ScanContext idleContext{files, codePage, system, dataFolder, tokens, safety, exclusions,
                                state, idle,     *tables, registry,  shell,  processes};
        DefinitionTables empty;
        empty.Create();
        ScanContext emptyContext{files, codePage, system, dataFolder, tokens, safety, exclusions,
                                 state, pump,     empty,  registry,   shell,  processes};
        std::vector<double> withPump, idleRatio, emptyRatio;
        for (int round = 0; round < kRounds; ++round) {
            state.Reset();
            const double full = Milliseconds([&] { ScanFolder(context, top); });
            state.Reset();
            const double noPump = Milliseconds([&] { ScanFolder(idleContext, top); });
            state.Reset();
            const double noDefinitions = Milliseconds([&] { ScanFolder(emptyContext, top); });
            idleRatio.push_back(noPump / full);
            emptyRatio.push_back(noDefinitions / full);
        }
        std::printf("walk without the event pump / walk    %.3f\n", Median(idleRatio));
        std::printf("walk without definitions / walk       %.3f\n", Median(emptyRatio));
    }
    if (variants) TimeVariants(tree);

    files.DeleteFolderTree(dataFolder);
    if (!keep) files.DeleteFolderTree(tree);
    return 0;
}
