#include <gtest/gtest.h>

#include "common/Lines.h"
#include "platform/LineReader.h"
#include "support/FakeFileSystem.h"

namespace bastion::platform {
namespace {

std::vector<std::string> ReadAll(FileSystem& files, const std::string& path) {
    LineReader reader(files, path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    return lines;
}

TEST(LineReader, SplitsLikeSplitLinesWhateverTheChunkBoundaries) {
    testing::FakeFileSystem files;
    // Long enough to cross the 64 KiB chunk edge with every kind of line end,
    // including a CR LF whose halves fall into two chunks.
    std::string content;
    for (int i = 0; content.size() < 200000; ++i) {
        content += "line " + std::to_string(i);
        content += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\n" : "\r";
    }
    content.resize(65535);
    content += "\r\nlast without end";
    files.AddFile("C:\\data\\big.txt", content);
    EXPECT_EQ(ReadAll(files, "C:\\data\\big.txt"), SplitLines(content));

    files.AddFile("C:\\data\\empty.txt", "");
    EXPECT_TRUE(ReadAll(files, "C:\\data\\empty.txt").empty());
    files.AddFile("C:\\data\\blank.txt", "\r\n\r\n");
    EXPECT_EQ(ReadAll(files, "C:\\data\\blank.txt"), (std::vector<std::string>{"", ""}));
}

TEST(LineReader, AMissingFileIsNotOpened) {
    testing::FakeFileSystem files;
    LineReader reader(files, "C:\\nothing.txt");
    EXPECT_FALSE(reader.Opened());
    std::string line;
    EXPECT_FALSE(reader.Next(line));
}

}  // namespace
}  // namespace bastion::platform
