#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

TEST(CodePageTest, Windows1252MapsItsSpecialBytes) {
    const CodePage& cp = Windows1252();
    EXPECT_EQ(cp.Id(), 1252u);
    EXPECT_EQ(cp.ToUtf8("\x80"), "€");
    EXPECT_EQ(cp.ToUtf8("\x93quoted\x94"), "“quoted”");
    EXPECT_EQ(cp.ToUtf8("\x9F\xE9\xFF"), "Ÿéÿ");
    EXPECT_EQ(cp.ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(cp.FromUtf8("€ “é” Š"), "\x80 \x93\xE9\x94 \x8A");
}

TEST(CodePageTest, EverySingleByteCodePageRoundTripsAll256Bytes) {
    const std::string bytes = AllBytes();
    EXPECT_EQ(Windows1252().FromUtf8(Windows1252().ToUtf8(bytes)), bytes);
    for (unsigned id : {1252u, 28591u}) {
        const auto cp = MakePortableCodePage(id);
        ASSERT_NE(cp, nullptr);
        EXPECT_EQ(cp->Id(), id);
        EXPECT_EQ(cp->FromUtf8(cp->ToUtf8(bytes)), bytes) << id;
    }
}

TEST(CodePageTest, MissingCharactersAndInvalidTextBecomeQuestionMarks) {
    EXPECT_EQ(Windows1252().FromUtf8("a日本b"), "a??b");
    EXPECT_EQ(Windows1252().FromUtf8("\xC2\x80"), "?");  // U+0080 has no byte in 1252
    EXPECT_EQ(Windows1252().FromUtf8("x\xFFy\xE2\x82"), "x?y?");
    const auto latin1 = MakePortableCodePage(28591);
    EXPECT_EQ(latin1->ToUtf8("\x80\xE9"), "\xC2\x80\xC3\xA9");
    EXPECT_EQ(latin1->FromUtf8("€é"), "?\xE9");
}

TEST(CodePageTest, Utf8PassesValidTextAndReplacesInvalidSequences) {
    const auto utf8 = MakePortableCodePage(65001);
    ASSERT_NE(utf8, nullptr);
    EXPECT_EQ(utf8->Id(), 65001u);
    EXPECT_EQ(utf8->ToUtf8("aé€😀"), "aé€😀");
    EXPECT_EQ(utf8->FromUtf8("aé€😀"), "aé€😀");
    EXPECT_EQ(utf8->ToUtf8("a\xFF" "b\xE2\x82"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(CodePageTest, UnknownCodePagesHaveNoPortableTable) {
    EXPECT_EQ(MakePortableCodePage(932), nullptr);
    EXPECT_EQ(MakePortableCodePage(0), nullptr);
}

}  // namespace
}  // namespace bastion
