#include "scan/state/DefinitionCounts.h"

#include <limits>
#include <memory>
#include <vector>

#include "common/Lines.h"
#include "definitions/DataFiles.h"

namespace bastion {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

std::int32_t AddCapped(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return sum > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(sum);
}

}  // namespace

std::int32_t CountFileLines(platform::FileSystem& files, const std::string& path) {
    std::unique_ptr<platform::FileReader> reader = files.OpenForRead(path);
    if (!reader) {
        return 0;
    }
    std::int64_t lines = 0;
    bool afterCr = false;      // the piece before ended with a CR
    bool lineStarted = false;  // characters since the last line end
    std::vector<char> chunk(kChunkSize);
    // The reader gives 0 both at the end and on a failure: either way the
    // lines seen so far are the count.
    while (std::size_t got = reader->Read(chunk.data(), chunk.size())) {
        const std::string_view piece(chunk.data(), got);
        // An LF right after a CR ends no further line.
        std::size_t at = afterCr && piece.front() == '\n' ? 1 : 0;
        afterCr = false;
        for (;;) {
            const std::size_t end = FindLineEnd(piece, at);
            lineStarted = lineStarted || end > at;
            if (end == got) break;
            ++lines;
            lineStarted = false;
            if (piece[end] == '\n') {
                at = end + 1;
            } else if (end + 1 < got) {
                at = end + (piece[end + 1] == '\n' ? 2 : 1);
            } else {
                afterCr = true;
                break;
            }
        }
    }
    if (lineStarted) {
        ++lines;
    }
    return lines > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : static_cast<std::int32_t>(lines);
}

DefinitionCounts CountDefinitionLines(platform::FileSystem& files, std::string_view dataFolder) {
    auto count = [&](std::string_view name) { return CountFileLines(files, DataFilePath(dataFolder, name)); };
    DefinitionCounts counts;
    counts.cookies = count(datafile::kBlockedCookies);
    counts.executables = count(datafile::kExeDefinitions);
    counts.registry = count(datafile::kRegistryDefinitions);
    counts.files = AddCapped(count(datafile::kFileDefinitions), count(datafile::kDirectoryDefinitions));
    counts.content = count(datafile::kContentDefinitions);
    counts.total = AddCapped(AddCapped(AddCapped(counts.cookies, counts.executables), AddCapped(counts.registry, counts.files)),
                             counts.content);
    return counts;
}

std::int32_t CountDefinitions(platform::FileSystem& files, std::string_view dataFolder, ScanState& state) {
    state.definitions = CountDefinitionLines(files, dataFolder);
    return state.definitions.total;
}

}  // namespace bastion
