// The protection and exclusion tests of a definition load and a walk:
// 100,001 candidates against a safety list and an exclusion list of a few
// thousand entries each.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "definitions/ExclusionList.h"
#include "definitions/SafetyList.h"

namespace {

std::vector<std::string> Candidates() {
    std::vector<std::string> candidates;
    candidates.reserve(100'001);
    for (int i = 0; i < 100'001; ++i) {
        candidates.push_back("C:\\Program Files\\Vendor" + std::to_string(i % 977) + "\\file" + std::to_string(i) +
                             ".exe");
    }
    return candidates;
}

std::vector<std::string> Entries(int count) {
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back("C:\\WINDOWS\\system32\\Safe" + std::to_string(i) + ".dll");
    }
    return entries;
}

void ProtectedPathsOfOneLoad(benchmark::State& state) {
    bastion::SafetyList list;
    list.Assign(Entries(static_cast<int>(state.range(0))));
    const std::vector<std::string> candidates = Candidates();
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const std::string& candidate : candidates) hits += list.IsProtectedPath(candidate);
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(ProtectedPathsOfOneLoad)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

void ExcludedFilesOfOneWalk(benchmark::State& state) {
    bastion::ExclusionList list;
    list.Assign(Entries(static_cast<int>(state.range(0))));
    const std::vector<std::string> candidates = Candidates();
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const std::string& candidate : candidates) hits += list.IsExcluded(candidate);
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(ExcludedFilesOfOneWalk)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
