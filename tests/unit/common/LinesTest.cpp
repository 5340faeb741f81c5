#include "common/Lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

// A line end anywhere in or after the bytes looked at eight at a time, among
// bytes that differ from CR and LF by one bit or by the high bit.
TEST(LinesTest, FindLineEndFindsTheFirstCrOrLfFromAnyStart) {
    for (const char end : {'\n', '\r'}) {
        for (std::size_t length = 0; length <= 20; ++length) {
            for (std::size_t at = 0; at <= length; ++at) {
                std::string text(length, '\x8a');
                for (std::size_t i = 0; i < length; i += 3) text[i] = '\x0b';
                if (at < length) text[at] = end;
                for (std::size_t from = 0; from <= length; ++from) {
                    const std::size_t expected = from <= at ? at : length;
                    ASSERT_EQ(FindLineEnd(text, from), std::min(expected, length)) << length << " " << at << " " << from;
                }
            }
        }
    }
    // Both kinds in one word: the first of them, whichever it is.
    for (std::size_t lf = 0; lf < 8; ++lf) {
        for (std::size_t cr = 0; cr < 8; ++cr) {
            std::string text(16, 'x');
            text[lf] = '\n';
            text[cr] = '\r';
            ASSERT_EQ(FindLineEnd(text, 0), std::min(lf, cr)) << lf << " " << cr;
        }
    }
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
