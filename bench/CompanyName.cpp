// The publisher test on a 1 GiB file whose bytes are made as they are read:
// the search must neither hold the file nor grow with it. Peak memory of the
// process is reported as a counter.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstring>

#include "common/CodePage.h"
#include "scan/files/CompanyName.h"
#include "support/FakeFileSystem.h"
#include "support/ScanHarness.h"

namespace {

constexpr std::uint64_t kFileSize = 1ull << 30;

// Filler bytes that look like code, then the version resource at a chosen
// place.
class GeneratedReader : public bastion::platform::FileReader {
public:
    GeneratedReader(std::uint64_t resourceAt, std::string resource)
        : resourceAt_(resourceAt), resource_(std::move(resource)) {
        filler_.resize(1 << 16);
        std::uint32_t x = 2463534242u;
        for (char& c : filler_) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            // No NUL runs and no type word 1 in the filler.
            c = static_cast<char>(2 + x % 250);
        }
    }

    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, kFileSize - position_));
        for (std::size_t i = 0; i < n;) {
            const std::uint64_t at = position_ + i;
            std::size_t take;
            if (at >= resourceAt_ && at < resourceAt_ + resource_.size()) {
                const std::size_t offset = static_cast<std::size_t>(at - resourceAt_);
                take = std::min(n - i, resource_.size() - offset);
                std::memcpy(buffer + i, resource_.data() + offset, take);
            } else {
                const std::size_t offset = static_cast<std::size_t>(at % filler_.size());
                take = std::min(n - i, filler_.size() - offset);
                if (at < resourceAt_) take = static_cast<std::size_t>(std::min<std::uint64_t>(take, resourceAt_ - at));
                std::memcpy(buffer + i, filler_.data() + offset, take);
            }
            i += take;
        }
        position_ += n;
        return n;
    }

private:
    std::uint64_t resourceAt_;
    std::string resource_;
    std::string filler_;
    std::uint64_t position_ = 0;
};

class GeneratedFiles : public bastion::testing::FakeFileSystem {
public:
    explicit GeneratedFiles(std::uint64_t resourceAt) : resourceAt_(resourceAt) {}
    std::unique_ptr<bastion::platform::FileReader> OpenForRead(const std::string&) override {
        return std::make_unique<GeneratedReader>(resourceAt_, bastion::testing::ProgramWithCompany("Microsoft Corporation"));
    }

private:
    std::uint64_t resourceAt_;
};

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void GetFileCompanyName(benchmark::State& state, std::uint64_t resourceAt) {
    GeneratedFiles files(resourceAt);
    for (auto _ : state) {
        std::string company = bastion::GetFileCompanyName(files, bastion::Windows1252(), "C:\\big.exe");
        if (company != "Microsoft Corporation") state.SkipWithError("wrong company");
        benchmark::DoNotOptimize(company);
    }
    state.counters["peak_rss_MiB"] = PeakMemoryMiB();
}

void GetFileCompanyName_1GiB_ResourceAtEnd(benchmark::State& state) {
    GetFileCompanyName(state, kFileSize - (1 << 20));
}
void GetFileCompanyName_1GiB_ResourceAtStart(benchmark::State& state) { GetFileCompanyName(state, 4096); }

BENCHMARK(GetFileCompanyName_1GiB_ResourceAtEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(GetFileCompanyName_1GiB_ResourceAtStart)->Unit(benchmark::kMicrosecond);

}  // namespace
