// Expanding the tokens of a definition load: 100,001 lines, most with one
// token or none, against a table resolved once.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "definitions/PathTokens.h"
#include "support/FakeShell.h"

namespace {

std::vector<std::string> DefinitionFolders() {
    const char* kinds[] = {"[windir]system32", "[progfil]SpyCo\\bin", "", "[drive]Temp", "[appdata]Spy",
                           "C:\\Plain\\Folder", "[user]Local Settings\\Temp", "[WINDIR]"};
    std::vector<std::string> lines;
    lines.reserve(100'001);
    for (int i = 0; i < 100'001; ++i) {
        lines.push_back(std::string(kinds[i % 8]) + "\\item" + std::to_string(i));
    }
    return lines;
}

void ExpandOneLoad(benchmark::State& state) {
    bastion::testing::FakeShell shell;
    const std::vector<std::string> lines = DefinitionFolders();
    for (auto _ : state) {
        const bastion::PathTokens tokens = bastion::PathTokens::Resolve(shell);
        std::size_t length = 0;
        for (const std::string& line : lines) {
            length += tokens.Expand(line).size();
        }
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(ExpandOneLoad)->Unit(benchmark::kMillisecond);

}  // namespace
