// Matching walked files and folders against 10 and against 100,001 loaded
// definitions, indexed and row by row. The cost of an indexed match should
// not grow with the number of definitions.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "BenchDefinitions.h"
#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/FolderMatchers.h"
#include "support/RowByRowMatchers.h"
#include "support/ScanHarness.h"

namespace {

using bastion::ScanContext;
using bastion::testing::ScanHarness;

constexpr int kWalkLength = 4096;

struct Loaded {
    ScanHarness harness;
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// One machine per table size, loaded through LoadDefinitions once.
Loaded& LoadedMachine(int rows) {
    static std::map<int, std::unique_ptr<Loaded>> machines;
    std::unique_ptr<Loaded>& loaded = machines[rows];
    if (!loaded) {
        loaded = std::make_unique<Loaded>();
        ScanHarness& harness = loaded->harness;
        harness.WriteDefinitions(bastion::datafile::kFileDefinitions, bastion::bench::FileDefinitionLines(rows));
        harness.WriteDefinitions(bastion::datafile::kDirectoryDefinitions,
                                 bastion::bench::DirectoryDefinitionLines(rows));
        ScanContext context = harness.Context();
        bastion::LoadDefinitions(context);
        loaded->files = bastion::bench::WalkedFiles(rows, kWalkLength);
        loaded->folders = bastion::bench::WalkedFolders(rows, kWalkLength);
    }
    return *loaded;
}

template <auto Match>
void Walk(benchmark::State& state, bool folders) {
    Loaded& loaded = LoadedMachine(static_cast<int>(state.range(0)));
    ScanContext context = loaded.harness.Context();
    const std::vector<std::string>& paths = folders ? loaded.folders : loaded.files;
    bastion::ScanState& scan = loaded.harness.state;
    std::size_t next = 0;
    double detections = 0;
    for (auto _ : state) {
        Match(context, paths[next]);
        if (++next == paths.size()) {
            next = 0;
            detections += scan.counters.itemsFound;
            scan.End();
        }
    }
    detections += scan.counters.itemsFound;
    scan.End();
    state.SetItemsProcessed(state.iterations());
    // Detections per 100 walked items.
    state.counters["found_pct"] = 100.0 * detections / static_cast<double>(state.iterations());
}

void MatchFoundFile(benchmark::State& state) { Walk<bastion::MatchFoundFile>(state, false); }
void MatchFoundDirectory(benchmark::State& state) { Walk<bastion::MatchFoundDirectory>(state, true); }
void RowByRowMatchFoundFile(benchmark::State& state) {
    Walk<bastion::testing::RowByRowMatchFoundFile>(state, false);
}
void RowByRowMatchFoundDirectory(benchmark::State& state) {
    Walk<bastion::testing::RowByRowMatchFoundDirectory>(state, true);
}

BENCHMARK(MatchFoundFile)->Arg(10)->Arg(100'001);
BENCHMARK(MatchFoundDirectory)->Arg(10)->Arg(100'001);
BENCHMARK(RowByRowMatchFoundFile)->Arg(10)->Arg(100'001)->Unit(benchmark::kMicrosecond);
BENCHMARK(RowByRowMatchFoundDirectory)->Arg(10)->Arg(100'001)->Unit(benchmark::kMicrosecond);

}  // namespace
