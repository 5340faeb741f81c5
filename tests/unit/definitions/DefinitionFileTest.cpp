#include "definitions/DefinitionFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Lines.h"
#include "definitions/DefinitionCodec.h"
#include "support/FakeFileSystem.h"

namespace bastion {
namespace {

std::vector<std::string> ReadAll(platform::FileSystem& files, const std::string& path) {
    std::vector<std::string> lines;
    ReadDefinitionLines(files, Windows1252(), path, [&](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

// Lines are decoded where they lie in pieces of 64 KiB: every kind of line
// end, a CR LF whose halves fall into two pieces, a line longer than a
// piece and bytes beyond ASCII that the code page converts come out as the
// line reader would give them, each decoded and converted on its own.
TEST(DefinitionFileTest, LinesComeOutAsSplitAndDecodedOneByOneWhateverThePieces) {
    std::string stored;
    for (int i = 0; stored.size() < 150'000; ++i) {
        stored += EncodeDefinitionText(i % 7 == 0 ? "caf\xe9 " + std::to_string(i) : "line " + std::to_string(i));
        stored += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\n" : "\r";
    }
    stored.resize(65535);
    stored += "\r\n" + EncodeDefinitionText(std::string(200'000, 'x')) + "\r" + EncodeDefinitionText("last");
    testing::FakeFileSystem files;
    files.AddFile("C:\\data\\defs.dat", stored);

    std::vector<std::string> expected;
    for (const std::string& line : SplitLines(stored)) {
        expected.push_back(Windows1252().ToUtf8(DecodeDefinitionText(line)));
    }
    EXPECT_EQ(ReadAll(files, "C:\\data\\defs.dat"), expected);

    files.AddFile("C:\\data\\blank.dat", "\r\n\n\r");
    EXPECT_EQ(ReadAll(files, "C:\\data\\blank.dat"), (std::vector<std::string>{"", "", ""}));
    EXPECT_FALSE(ReadDefinitionLines(files, Windows1252(), "C:\\data\\none.dat", [](const std::string&) {
        return true;
    }));
}

}  // namespace
}  // namespace bastion
