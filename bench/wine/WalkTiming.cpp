// A Full System Scan walk of a generated tree (100,000 files in 5,000
// folders) with 100,001 file and 100,001 directory definitions loaded,
// against a bare enumeration of the same tree with FindFirstFileExW
// (FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH), the same spread over 1, 2
// and 4 threads, and one through the file system facility the walk lists
// with, on the real Win32 file system; the walk itself with its folders
// listed by 1, 2 and 4 threads. Google Benchmark is not built for
// Windows, so this times rounds of each with the performance counter and
// prints milliseconds: run it through wine-run.sh.
//
//   WalkTiming [--keep] [--variants] [--parts] [--content | --profile]
//     --keep      leave the generated tree for the next run (it is reused)
//     --content   also 100,000 content definitions of 10 KB to 10 MB, and a
//                 tree (of its own) where one file in a hundred is 10 to
//                 115 KB: of those one in ten has a defined size and is
//                 hashed, one in fifty is a definition's content
//     --profile   the same with sizes as a user's profile has them: every
//                 file of the tree (of its own) sized as ProfileSizes draws
//                 them, the 100,000 content definitions drawn from the same
//                 spread above 128 KiB, so that about one file in a hundred
//                 has a defined size and is hashed; of those one in fifty
//                 is a definition's content. Files no definition's size
//                 could match are never read: they are made sparse.
//     --variants  also time bare enumerations with other listing calls
//     --parts     also time the walk without definitions and without the
//                 window's event pump, to see where its extra time goes
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "../BenchContent.h"
#include "../BenchDefinitions.h"
#include "ListingCalls.h"
#include "WineTiming.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionTables.h"
#include "definitions/content/ContentDefinitions.h"
#include "definitions/ExclusionList.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Crypto.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WindowsApi.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "app/ResultsPresenter.h"
#include "ui/forms/FrmMain.h"
#include "ui/win32/Win32EventPump.h"

namespace {

using namespace bastion;
using bench::IdlePump;
using bench::Median;
using bench::Milliseconds;
using bench::Time;
using bench::Timing;

constexpr int kDefinitions = 100'001;
constexpr int kTopFolders = 50;
constexpr int kFoldersPerTop = 99;  // 50 + 50 * 99 = 5,000 folders
constexpr int kFilesPerFolder = 20;  // 100,000 files
constexpr int kRounds = 11;


// Most files match no definition; one in 500 carries a definition's name,
// so the matchers also do what they do for a hit.
std::string FileName(int i) {
    if (i % 500 == 7) return bench::DefinitionFileName(i % kDefinitions);
    return "document" + std::to_string(i) + (i % 3 == 0 ? ".txt" : ".dat");
}

// With content definitions: file i with i % 100 == 50 is the medium file
// i / 100, of a defined size when that is a multiple of ten (one byte more
// otherwise), and a definition's content when it is a multiple of fifty.
bool IsMediumFile(int i) { return i % 100 == 50; }
std::string MediumContent(int medium) {
    const std::uint64_t size = bench::ContentDefinitionSize(medium) + (medium % 10 == 0 ? 0 : 1);
    std::string content(static_cast<std::size_t>(size), static_cast<char>('a' + medium % 26));
    const std::string mark = "medium " + std::to_string(medium);
    content.replace(0, mark.size(), mark);
    return content;
}
bool IsDefinedContent(int medium) { return medium % 50 == 0; }

enum class TreeKind { Plain, Content, Profile };

// The profile tree: every file's size, and the sizes some definition has.
struct Profile {
    std::vector<std::uint64_t> fileSizes = bench::ProfileSizes(kTopFolders * (1 + kFoldersPerTop) * kFilesPerFolder, 1);
    std::vector<std::uint64_t> definitionSizes = bench::ProfileSizes(bench::kContentDefinitions, 2, 128 * 1024);
    std::unordered_set<std::uint64_t> defined{definitionSizes.begin(), definitionSizes.end()};

    bool Hashed(int file) const { return defined.count(fileSizes[static_cast<std::size_t>(file)]) != 0; }
    std::string Content(int file) const {
        std::string content(static_cast<std::size_t>(fileSizes[static_cast<std::size_t>(file)]), '\0');
        for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 31 + file) >> 3);
        return content;
    }
};

// A file of the size whose bytes are never written: the walk only lists it.
void MakeSparse(const std::string& path, std::uint64_t size) {
    win32::UniqueHandle file(::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (file && ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN)) ::SetEndOfFile(file.Get());
}

void MakeTree(win32::Win32FileSystem& files, const std::string& root, TreeKind kind, const Profile& profile) {
    int file = 0;
    auto fill = [&](const std::string& folder) {
        files.CreateFolder(folder);
        for (int k = 0; k < kFilesPerFolder; ++k, ++file) {
            if (kind == TreeKind::Content && IsMediumFile(file)) {
                files.WriteFile(folder + "\\medium" + std::to_string(file) + ".bin", MediumContent(file / 100));
            } else if (kind == TreeKind::Profile && profile.Hashed(file)) {
                files.WriteFile(folder + "\\" + FileName(file), profile.Content(file));
            } else if (kind == TreeKind::Profile) {
                MakeSparse(folder + "\\" + FileName(file), profile.fileSizes[static_cast<std::size_t>(file)]);
            } else {
                files.WriteFile(folder + "\\" + FileName(file), "data");
            }
        }
    };
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topFolder = root + "\\Vendor" + std::to_string(top);
        fill(topFolder);
        for (int sub = 0; sub < kFoldersPerTop; ++sub) fill(topFolder + "\\Folder" + std::to_string(sub));
    }
    files.WriteFile(root + "\\complete.marker", "");
}

// A bare enumeration through the facility: every folder that is no reparse
// point descended into, nothing else done.
std::size_t Enumerate(platform::FileSystem& files, const std::string& folder) {
    std::optional<platform::DirListing> listing = files.ListDirectory(folder);
    if (!listing) return 0;
    std::size_t count = listing->entries.size();
    for (const platform::DirEntry& entry : listing->entries) {
        const std::uint32_t kind = entry.attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint);
        if (kind == platform::kAttrDirectory) {
            count += Enumerate(files, folder + entry.name + "\\");
        }
    }
    return count;
}

// Every listing call in turn within each round, so that all meet the same
// load of the machine.
void TimeVariants(const std::string& root) {
    const std::wstring top = win32::Widen(root) + L"\\";
    std::vector<std::pair<std::string, std::function<std::size_t()>>> variants;
    for (const bench::ListingCall& call : bench::ListingCalls()) {
        variants.emplace_back(call.name, [&top, list = call.list] { return bench::EnumerateRaw(list, top); });
    }
    variants.emplace_back("Win32FileSystem::ListDirectory", [&root] {
        win32::Win32FileSystem files;
        return Enumerate(files, root + "\\");
    });
    std::vector<std::vector<double>> walls(variants.size()), cpus(variants.size());
    std::vector<std::size_t> counts(variants.size());
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t v = 0; v < variants.size(); ++v) {
            const Timing timing = Time([&] { counts[v] = variants[v].second(); });
            walls[v].push_back(timing.wall);
            cpus[v].push_back(timing.cpu);
        }
    }
    std::printf("bare enumerations by listing call, in turn (median of %d)   wall ms   process cpu ms\n", kRounds);
    for (std::size_t v = 0; v < variants.size(); ++v) {
        std::printf("  %-64s %8.1f  %8.1f  (%zu entries)\n", variants[v].first.c_str(), Median(walls[v]),
                    Median(cpus[v]), counts[v]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool keep = false;
    bool variants = false;
    bool parts = false;
    bool content = false;
    bool profiled = false;
    for (int i = 1; i < argc; ++i) {
        content = content || std::strcmp(argv[i], "--content") == 0;
        profiled = profiled || std::strcmp(argv[i], "--profile") == 0;
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
    const TreeKind kind = profiled ? TreeKind::Profile : content ? TreeKind::Content : TreeKind::Plain;
    const std::string tree = base + (profiled  ? "bastion_walk_timing_tree_profile"
                                     : content ? "bastion_walk_timing_tree_content"
                                               : "bastion_walk_timing_tree");
    files.CreateFolder(dataFolder);
    const Profile profile;
    if (!files.Lookup(tree + "\\complete.marker")) {
        files.DeleteFolderTree(tree);
        const double made = Milliseconds([&] { MakeTree(files, tree, kind, profile); });
        std::printf("tree made in %.0f ms\n", made);
    }

    bench::WriteDefinitionFiles(files, codePage, dataFolder, kDefinitions);
    std::size_t hashedFiles = 0;
    std::uint64_t hashedBytes = 0;
    if (profiled) {
        // One hashed file in fifty holds a definition's content.
        std::map<int, std::string> real;
        std::unordered_map<std::uint64_t, int> definitionOfSize;
        for (int i = 0; i < bench::kContentDefinitions; ++i) {
            definitionOfSize.emplace(profile.definitionSizes[static_cast<std::size_t>(i)], i);
        }
        win32::Win32Crypto crypto;
        for (int file = 0; file < static_cast<int>(profile.fileSizes.size()); ++file) {
            if (!profile.Hashed(file)) continue;
            if (hashedFiles++ % 50 == 0) {
                real[definitionOfSize.at(profile.fileSizes[static_cast<std::size_t>(file)])] =
                    Sha256Hex(*crypto.Sha256(profile.Content(file)));
            }
            hashedBytes += profile.fileSizes[static_cast<std::size_t>(file)];
        }
        std::string bytes;
        for (const std::string& line :
             bench::ContentDefinitionLines(bench::kContentDefinitions, false, real, profile.definitionSizes)) {
            bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        }
        files.WriteFile(DataFilePath(dataFolder, datafile::kContentDefinitions), bytes);
    }
    if (content) {
        std::map<int, std::string> real;
        win32::Win32Crypto crypto;
        for (int medium = 0; medium < kTopFolders * (1 + kFoldersPerTop) * kFilesPerFolder / 100; ++medium) {
            if (IsDefinedContent(medium)) real[medium] = Sha256Hex(*crypto.Sha256(MediumContent(medium)));
        }
        std::string bytes;
        for (const std::string& line : bench::ContentDefinitionLines(bench::kContentDefinitions, false, real)) {
            bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        }
        files.WriteFile(DataFilePath(dataFolder, datafile::kContentDefinitions), bytes);
    }

    SafetyList safety;
    safety.Assign(bench::UsualSafetyEntries());
    ExclusionList exclusions;
    // The walk shows its progress as in the window.
    ui::FrmMain form;
    const services::MessageCatalogue messages{services::Identity{}};
    ResultsPresenter presenter(form, messages);
    ScanState state;
    win32::Win32EventPump pump;
    auto tables = std::make_unique<DefinitionTables>();
    ScanContext context{files, codePage, system, dataFolder, tokens, safety, exclusions,
                        state, pump,     *tables, registry,  shell,  processes};
    const double loadMs = Milliseconds([&] { LoadDefinitions(context); });

    const std::string top = tree + "\\";
    const std::wstring wideTop = win32::Widen(top);
    std::size_t entries = Enumerate(files, top);  // warms the host's caches
    std::size_t found = 0;
    std::map<int, std::size_t> parallelFound;
    // Each round times every contender one right after the other, taking
    // turns at going first, so that none gains from what another left in the
    // caches and all meet the same load of the machine; ratios to the bare
    // single-threaded enumeration are taken per round.
    struct Contender {
        Contender(std::string named, std::function<void()> work) : name(std::move(named)), run(std::move(work)) {}
        std::string name;
        std::function<void()> run;
        std::vector<double> wall, cpu, wallRatio, cpuRatio;
    };
    std::vector<Contender> contenders;
    contenders.emplace_back("BareEnumeration/FindFirstFileExW",
                            [&] { found = bench::EnumerateRaw(bench::ListByFind, wideTop); });
    for (int threads : {1, 2, 4}) {
        contenders.emplace_back("BareEnumeration/FindFirstFileExW/threads:" + std::to_string(threads), [&, threads] {
            parallelFound[threads] = bench::EnumerateRawInParallel(bench::ListByFind, wideTop, threads);
        });
    }
    contenders.emplace_back("BareEnumeration/ListDirectory", [&] { entries = Enumerate(files, top); });
    // The facility's listing spread over threads, as the walk's listing
    // threads call it.
    const bench::RawLister viaFacility = [&files](const std::wstring& folder, std::vector<bench::RawEntry>& out) {
        std::optional<platform::DirListing> listing = files.ListDirectory(win32::Narrow(folder));
        if (!listing) return false;
        for (const platform::DirEntry& entry : listing->entries) out.push_back({win32::Widen(entry.name), entry.attributes});
        return true;
    };
    for (int threads : {2, 4}) {
        contenders.emplace_back("BareEnumeration/ListDirectory/threads:" + std::to_string(threads),
                                [&, threads] { bench::EnumerateRawInParallel(viaFacility, wideTop, threads); });
    }
    // The walk with its folders listed by 1 (the walk's own thread alone:
    // the option cleared), 2 and 4 threads.
    for (int threads : {1, 2, 4}) {
        contenders.emplace_back("WalkAndMatch/threads:" + std::to_string(threads), [&, threads] {
            state.Begin(presenter);
            ScanFolder(context, top, threads);
        });
    }
    const std::size_t kinds = contenders.size();
    for (int round = 0; round < kRounds; ++round) {
        std::vector<Timing> timings(kinds);
        for (std::size_t k = 0; k < kinds; ++k) {
            const std::size_t which = (static_cast<std::size_t>(round) + k) % kinds;
            timings[which] = Time(contenders[which].run);
        }
        for (std::size_t k = 0; k < kinds; ++k) {
            contenders[k].wall.push_back(timings[k].wall);
            contenders[k].cpu.push_back(timings[k].cpu);
            contenders[k].wallRatio.push_back(timings[k].wall / timings[0].wall);
            contenders[k].cpuRatio.push_back(timings[k].cpu / timings[0].cpu);
        }
    }
    if (static_cast<std::size_t>(state.counters.filesInspected) != entries + 1 || found != entries) {
        std::printf("walk examined %d items, the enumerations %zu and %zu\n", state.counters.filesInspected, found,
                    entries);
    }
    for (const auto& [threads, count] : parallelFound) {
        if (count != found) std::printf("the enumeration with %d threads found %zu entries\n", threads, count);
    }

    std::printf("LoadDefinitions (files and directories, %d each; %zu content definitions)  %.1f ms\n", kDefinitions,
                tables->Content().Size(), loadMs);
    std::printf("%zu entries (%zu detections); medians of %d rounds      wall ms  process cpu ms   ratios to the "
                "first\n",
                entries, state.Results().activity.size(), kRounds);
    for (const Contender& contender : contenders) {
        std::printf("  %-48s %8.1f  %8.1f      %6.3f  %6.3f\n", contender.name.c_str(), Median(contender.wall),
                    Median(contender.cpu), Median(contender.wallRatio), Median(contender.cpuRatio));
    }
    if (profiled) {
        std::printf("files of a defined size, hashed in every walk: %zu of %zu, %.1f MiB\n", hashedFiles,
                    profile.fileSizes.size(), static_cast<double>(hashedBytes) / (1024.0 * 1024.0));
    }
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
            state.Begin(presenter);
            const double full = Milliseconds([&] { ScanFolder(context, top); });
            state.Begin(presenter);
            const double noPump = Milliseconds([&] { ScanFolder(idleContext, top); });
            state.Begin(presenter);
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
