// The folder walk of a generated tree (100,000 files in 5,000 folders) on
// the in-memory file system, with 100,001 file and 100,001 directory
// definitions loaded, against a bare enumeration of the same tree through
// the same facility: what the walker and the matchers add per entry. The
// figure that counts is the one on the real file system under Wine
// (bench/wine/WalkTiming.cpp); this one shows the walker's own cost.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchDefinitions.h"
#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "support/ScanHarness.h"

namespace {

using bastion::ScanContext;
using bastion::testing::ScanHarness;

constexpr int kDefinitions = 100'001;
const std::string kTop = "C:\\Tree\\";

std::string FileName(int i) {
    if (i % 500 == 7) return bastion::bench::DefinitionFileName(i % kDefinitions);
    return "document" + std::to_string(i) + (i % 3 == 0 ? ".txt" : ".dat");
}

ScanHarness& Machine() {
    static std::unique_ptr<ScanHarness> harness = [] {
        auto made = std::make_unique<ScanHarness>();
        made->WriteDefinitions(bastion::datafile::kFileDefinitions,
                               bastion::bench::FileDefinitionLines(kDefinitions));
        made->WriteDefinitions(bastion::datafile::kDirectoryDefinitions,
                               bastion::bench::DirectoryDefinitionLines(kDefinitions));
        ScanContext context = made->Context();
        bastion::LoadDefinitions(context);
        int file = 0;
        for (int top = 0; top < 50; ++top) {
            const std::string vendor = kTop + "Vendor" + std::to_string(top);
            for (int sub = -1; sub < 99; ++sub) {
                const std::string folder = sub < 0 ? vendor : vendor + "\\Folder" + std::to_string(sub);
                made->machine.files.AddFolder(folder);
                for (int k = 0; k < 20; ++k) made->machine.files.AddFile(folder + "\\" + FileName(file++), "data");
            }
        }
        return made;
    }();
    return *harness;
}

std::size_t Enumerate(bastion::platform::FileSystem& files, const std::string& folder) {
    auto listing = files.ListDirectory(folder);
    if (!listing) return 0;
    std::size_t count = listing->entries.size();
    for (const auto& entry : listing->entries) {
        if (entry.attributes == bastion::platform::kAttrDirectory) {
            count += Enumerate(files, folder + entry.name + "\\");
        }
    }
    return count;
}

void BareEnumeration(benchmark::State& state) {
    ScanHarness& harness = Machine();
    std::size_t entries = 0;
    for (auto _ : state) entries = Enumerate(harness.machine.files, kTop);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(entries));
}

void WalkAndMatch(benchmark::State& state) {
    ScanHarness& harness = Machine();
    ScanContext context = harness.Context();
    for (auto _ : state) {
        harness.state.End();
        bastion::ScanFolder(context, kTop);
    }
    state.SetItemsProcessed(state.iterations() * harness.state.counters.filesInspected);
    state.counters["found"] = static_cast<double>(harness.state.counters.itemsFound);
}

BENCHMARK(BareEnumeration)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkAndMatch)->Unit(benchmark::kMillisecond);

}  // namespace
