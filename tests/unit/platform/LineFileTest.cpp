#include "platform/LineFile.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"

namespace bastion::platform {
namespace {

using testing::FakeFileSystem;
using Lines = std::vector<std::string>;

class LineFileTest : public ::testing::Test {
protected:
    FakeFileSystem files;
    const std::string path = "C:\\Data\\date.dat";
};

TEST_F(LineFileTest, ReadsLinesEndedByCrLfLfOrLoneCr) {
    files.AddFile(path, "one\r\ntwo\nthree\rfour\r\n\r\nlast");
    EXPECT_EQ(ReadLines(files, path), (Lines{"one", "two", "three", "four", "", "last"}));
    EXPECT_FALSE(ReadLines(files, "C:\\Data\\missing.dat").has_value());
}

TEST_F(LineFileTest, AppendLineCreatesTheFileAndEndsEachLineWithCrLf) {
    files.AddFolder("C:\\Data");
    ASSERT_TRUE(AppendLine(files, path, "first"));
    ASSERT_TRUE(AppendLine(files, path, "second"));
    EXPECT_EQ(files.Content(path), "first\r\nsecond\r\n");
}

TEST_F(LineFileTest, AppendingToAFileWhoseLastLineHasNoEndStartsOnANewLine) {
    // As an editor saves a file: no line end after the last line.
    for (const char* saved : {"edited", "a\r\nedited", "lf\nedited"}) {
        files.AddFile(path, saved);
        ASSERT_TRUE(AppendLine(files, path, "added"));
        EXPECT_EQ(files.Content(path), std::string(saved) + "\r\nadded\r\n");
    }
    for (const char* ended : {"", "line\r\n", "line\n", "line\r"}) {
        files.AddFile(path, ended);
        ASSERT_TRUE(AppendLine(files, path, "added"));
        EXPECT_EQ(files.Content(path), std::string(ended) + "added\r\n");
    }
}

TEST_F(LineFileTest, ReplacingWritesTheNewContentAndLeavesNothingBeside) {
    files.AddFile(path, "old\r\n");
    ASSERT_TRUE(WriteLinesReplacing(files, path, {"3/16/2006", "x"}));
    EXPECT_EQ(files.Content(path), "3/16/2006\r\nx\r\n");
    EXPECT_EQ(files.Tree("C:\\Data"), Lines{"C:\\Data\\date.dat"});

    ASSERT_TRUE(WriteFileReplacing(files, "C:\\Data\\new.dat", "fresh"));
    EXPECT_EQ(files.Content("C:\\Data\\new.dat"), "fresh");
    // Each reached the disk before it was renamed into place.
    EXPECT_EQ(files.flushedWrites, (Lines{path + ".tmp", "C:\\Data\\new.dat.tmp"}));
}

TEST_F(LineFileTest, FailedRenameKeepsTheOriginalAndRemovesTheTemporary) {
    files.AddFile(path, "old\r\n");
    files.FailMoves(path);
    EXPECT_FALSE(WriteFileReplacing(files, path, "new\r\n"));
    EXPECT_EQ(files.Content(path), "old\r\n");
    EXPECT_EQ(files.Tree("C:\\Data"), Lines{"C:\\Data\\date.dat"});
}

TEST_F(LineFileTest, FailedTemporaryWriteChangesNothing) {
    files.AddFile(path, "old\r\n");
    files.FailWrites(path + ".tmp");
    EXPECT_FALSE(WriteFileReplacing(files, path, "new\r\n"));
    EXPECT_EQ(files.Content(path), "old\r\n");
    EXPECT_EQ(files.Tree("C:\\Data"), Lines{"C:\\Data\\date.dat"});
}

}  // namespace
}  // namespace bastion::platform
