// The deletion pass of a definition update: a 100,001-line file losing
// 10,000 definitions, against copying the same file line by line. The pass
// must stay within three times the copy.
#include <benchmark/benchmark.h>

#include "definitions/DefinitionCodec.h"
#include "update/DefinitionDelta.h"

namespace {

constexpr int kLines = 100001;
constexpr int kDeleted = 10000;

std::string Name(int i) { return "threat" + std::to_string(i) + ".exe"; }

const std::string& File() {
    static const std::string file = [] {
        std::string content;
        for (int i = 0; i < kLines; ++i) {
            content += bastion::EncodeDefinitionText(Name(i) + "=Threat " + std::to_string(i) + "|[windir]system32|Adware");
            content += "\r\n";
        }
        return content;
    }();
    return file;
}

const bastion::FileChange& Change() {
    static const bastion::FileChange change = [] {
        std::string delta;
        for (int i = 0; i < kDeleted; ++i) {
            if (!delta.empty()) delta += "[BR]";
            delta += bastion::EncodeDefinitionText("FILE") + "|DEL[DEF]" + bastion::EncodeDefinitionText(Name(i * 10));
        }
        return bastion::PlanFileChange(bastion::ParseDefinitionDelta(delta), 0);
    }();
    return change;
}

void CopyLineByLine(benchmark::State& state) {
    const std::string& content = File();
    for (auto _ : state) {
        std::string out;
        out.reserve(content.size());
        std::size_t position = 0;
        while (position < content.size()) {
            const std::size_t end = content.find("\r\n", position);
            out.append(content, position, end - position);
            out.append("\r\n");
            position = end + 2;
        }
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(CopyLineByLine)->Unit(benchmark::kMillisecond);

void DeletionPass(benchmark::State& state) {
    const std::string& content = File();
    const bastion::FileChange& change = Change();
    for (auto _ : state) {
        std::string out = bastion::ApplyFileChange(change, content).content;
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(DeletionPass)->Unit(benchmark::kMillisecond);

}  // namespace
