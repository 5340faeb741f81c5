#include "scan/state/DefinitionCounts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/Lines.h"
#include "definitions/DataFiles.h"
#include "support/FakeFileSystem.h"

namespace bastion {
namespace {

using testing::FakeFileSystem;

const std::string kData = "C:\\Data";

std::string InData(std::string_view name) {
    return DataFilePath(kData, name);
}

// A file system on which one file breaks after its first bytes.
class BreakingFileSystem : public FakeFileSystem {
public:
    std::string breakingPath;
    std::size_t readableBytes = 0;

    std::unique_ptr<platform::FileReader> OpenForRead(const std::string& path) override {
        if (path != breakingPath) {
            return FakeFileSystem::OpenForRead(path);
        }
        struct Reader : platform::FileReader {
            std::string bytes;
            std::size_t at = 0;
            std::size_t Read(char* buffer, std::size_t size) override {
                const std::size_t n = std::min(size, bytes.size() - at);
                std::memcpy(buffer, bytes.data() + at, n);
                at += n;
                return n;
            }
        };
        auto reader = std::make_unique<Reader>();
        reader->bytes = Content(path).value_or("").substr(0, readableBytes);
        return reader;
    }
};

TEST(DefinitionCounts, CountsEachKindAndSharesOneCountForFilesAndFolders) {
    FakeFileSystem files;
    files.AddFile(InData(datafile::kBlockedCookies), "a\r\nb\r\n");
    files.AddFile(InData(datafile::kExeDefinitions), "x\r\n");
    files.AddFile(InData(datafile::kRegistryDefinitions), "r1\r\nr2\r\nr3");
    files.AddFile(InData(datafile::kFileDefinitions), "f1\r\nf2\r\n");
    files.AddFile(InData(datafile::kDirectoryDefinitions), "d1\r\n");
    files.AddFile(InData(datafile::kSafety), "not\r\ncounted\r\n");

    ScanState state;
    EXPECT_EQ(CountDefinitions(files, kData, state), 9);
    EXPECT_EQ(state.definitions.cookies, 2);
    EXPECT_EQ(state.definitions.executables, 1);
    EXPECT_EQ(state.definitions.registry, 3);
    EXPECT_EQ(state.definitions.files, 3);
    EXPECT_EQ(state.definitions.total, 9);

    // A recount after an update starts from zero.
    files.DeleteFile(InData(datafile::kDirectoryDefinitions));
    files.DeleteFile(InData(datafile::kBlockedCookies));
    EXPECT_EQ(CountDefinitions(files, kData, state), 6);
    EXPECT_EQ(state.definitions.cookies, 0);
    EXPECT_EQ(state.definitions.files, 2);
}

TEST(DefinitionCounts, MissingOrUnreadableFilesCountWhatCouldBeRead) {
    BreakingFileSystem files;
    files.AddFile(InData(datafile::kExeDefinitions), "one\r\ntwo\r\nthree\r\n");
    files.AddFile(InData(datafile::kRegistryDefinitions), "r\r\n");
    files.FailReads(InData(datafile::kRegistryDefinitions));
    files.breakingPath = InData(datafile::kExeDefinitions);
    files.readableBytes = 10;  // "one\r\ntwo\r\n"

    const DefinitionCounts counts = CountDefinitionLines(files, kData);
    EXPECT_EQ(counts.executables, 2);
    EXPECT_EQ(counts.registry, 0);
    EXPECT_EQ(counts.total, 2);
}

TEST(DefinitionCounts, LinesEndAsTheTextFilesAreRead) {
    FakeFileSystem files;
    // A CR LF split by the end of a read chunk is still one line end.
    const std::string longLine(64 * 1024 - 1, 'a');
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0},           {"x", 1},
        {"\r\n", 1},       {"a\nb\rc\r\nd", 4},
        {"\r\r\n\n", 3},   {"last\r\n\r\n", 2},
        {longLine + "\r\nb", 2}, {longLine + "\r\r\nb\r", 3},
    };
    for (const auto& [content, lines] : cases) {
        files.WriteFile("C:\\f.txt", content);
        EXPECT_EQ(CountFileLines(files, "C:\\f.txt"), lines) << content.size() << " bytes";
        // The same rule as the readers that these counts are percentages of.
        EXPECT_EQ(SplitLines(content).size(), static_cast<std::size_t>(lines));
    }
    EXPECT_EQ(CountFileLines(files, "C:\\missing.txt"), 0);
}

}  // namespace
}  // namespace bastion
