// One look of the memory shield with 100,001 executable definitions, when a
// program has started or ended since the last look (otherwise the shield
// looks no further than the process list). The definitions file is
// unchanged between looks: reads_per_look says how often it is read again.
#include <benchmark/benchmark.h>

#include "BenchDefinitions.h"
#include "definitions/DataFiles.h"
#include "scan/processes/ProcessScanner.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"

namespace {

using bastion::testing::ScanHarness;

void MemoryShieldLook(benchmark::State& state) {
    ScanHarness harness;
    harness.WriteDefinitions(bastion::datafile::kExeDefinitions,
                             bastion::bench::ExeDefinitionLines(static_cast<int>(state.range(0))));
    for (std::uint32_t id = 4; id < 200; id += 4) {
        harness.machine.processes.Add(id, "C:\\WINDOWS\\system32\\service" + std::to_string(id) + ".exe");
    }
    bastion::testing::ScriptedDialogs dialogs;
    bastion::services::MessageCatalogue messages{bastion::testing::TestIdentity()};
    bastion::ProcessScanner scanner{dialogs, messages, "Testwall"};
    bastion::ScanContext context = harness.Context();
    const std::string file = bastion::DataFilePath(harness.dataFolder, bastion::datafile::kExeDefinitions);
    scanner.ScanRunningProcesses(context, bastion::ProcessScanCaller::Shield);
    harness.machine.files.ResetCounters();

    bool started = false;
    for (auto _ : state) {
        // A program comes and goes between looks.
        if (started) {
            harness.machine.processes.Remove(1000);
        } else {
            harness.machine.processes.Add(1000, "C:\\Program Files\\Editor\\editor.exe");
        }
        started = !started;
        scanner.ScanRunningProcesses(context, bastion::ProcessScanCaller::Shield);
    }
    state.counters["reads_per_look"] =
        static_cast<double>(harness.machine.files.ReadCalls(file)) / static_cast<double>(state.iterations());
}

BENCHMARK(MemoryShieldLook)->Arg(100'001)->Unit(benchmark::kMillisecond);

}  // namespace
