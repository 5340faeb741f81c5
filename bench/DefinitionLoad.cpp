// Loading 100,001 file and 100,001 directory definitions against merely
// reading and decoding the same two files through the same facility: what
// the loader adds (parsing, token expansion, the safety test, indexing).
#include <benchmark/benchmark.h>

#include "BenchDefinitions.h"
#include "common/CodePage.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "scan/files/DefinitionLoader.h"
#include "support/ScanHarness.h"

namespace {

using bastion::testing::ScanHarness;

void Prepare(ScanHarness& harness, int lines) {
    harness.WriteDefinitions(bastion::datafile::kFileDefinitions, bastion::bench::FileDefinitionLines(lines));
    harness.WriteDefinitions(bastion::datafile::kDirectoryDefinitions,
                             bastion::bench::DirectoryDefinitionLines(lines));
    harness.safety.Assign(bastion::bench::UsualSafetyEntries());
}

void LoadDefinitions(benchmark::State& state) {
    ScanHarness harness;
    Prepare(harness, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto tables = std::make_unique<bastion::DefinitionTables>();
        bastion::ScanContext context{harness.machine.files, bastion::Windows1252(), harness.machine.system,
                                     harness.dataFolder,    harness.tokens,         harness.safety,
                                     harness.exclusions,    harness.state,          harness.pump,
                                     *tables,               harness.machine.registry,
                                     harness.machine.shell, harness.machine.processes};
        bastion::LoadDefinitions(context);
        benchmark::DoNotOptimize(tables->Files().Size());
        state.PauseTiming();
        state.counters["tables_MiB"] =
            static_cast<double>(tables->Files().Bytes() + tables->Directories().Bytes()) / (1024.0 * 1024.0);
        tables.reset();
        state.ResumeTiming();
    }
}

void ReadAndDecodeDefinitions(benchmark::State& state) {
    ScanHarness harness;
    Prepare(harness, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (std::string_view file : {bastion::datafile::kFileDefinitions, bastion::datafile::kDirectoryDefinitions}) {
            bastion::ReadDefinitionLines(harness.machine.files, bastion::Windows1252(),
                                         bastion::DataFilePath(harness.dataFolder, file),
                                         [&](const std::string& line) {
                                             bytes += line.size();
                                             return true;
                                         });
        }
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(LoadDefinitions)->Arg(100'001)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndDecodeDefinitions)->Arg(100'001)->Unit(benchmark::kMillisecond);

}  // namespace
