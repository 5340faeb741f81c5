#include "common/Lines.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

using Lines = std::vector<std::string>;

TEST(LinesTest, EachKindOfLineEndEndsALine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two line ends, not one.
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
}

TEST(LinesTest, FinalLineEndAddsNoEmptyLine) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
}

TEST(LinesTest, BlanksAndTabsStayInTheLine) {
    EXPECT_EQ(SplitLines(" a\t\r\n"), (Lines{" a\t"}));
}

TEST(LinesTest, JoinWritesCrLfAfterEveryLineAndSplitReadsItBack) {
    const Lines lines = {"a", "", "b"};
    EXPECT_EQ(JoinLinesCrLf(lines), "a\r\n\r\nb\r\n");
    EXPECT_EQ(SplitLines(JoinLinesCrLf(lines)), lines);
    EXPECT_EQ(JoinLinesCrLf({}), "");
}

}  // namespace
}  // namespace bastion
