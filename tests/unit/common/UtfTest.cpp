#include "common/Utf.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

const std::u16string kReplacement16 = u"\uFFFD";

TEST(UtfTest, RoundTripsEveryPlaneIncludingSurrogatePairs) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"a\u00E9\u20AC\U0001F600z");
    EXPECT_EQ(wide.size(), 6u);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
}

TEST(UtfTest, InvalidUtf8BecomesReplacementAndTheRestSurvives) {
    // Truncated at the end: one replacement, nothing read beyond the text.
    EXPECT_EQ(Utf8ToUtf16("ab\xE2\x82"), u"ab" + kReplacement16);
    EXPECT_EQ(Utf8ToUtf16("\xF0"), kReplacement16);
    // Truncated in the middle: the next character is kept.
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82" "x"), kReplacement16 + u"x");
    // Stray continuation byte, invalid lead bytes.
    EXPECT_EQ(Utf8ToUtf16("\x80" "a\xFF"), kReplacement16 + u"a" + kReplacement16);
    // Overlong encoding of '/', an encoded surrogate, and a value beyond U+10FFFF.
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), kReplacement16 + kReplacement16);
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80").front(), u'\uFFFD');
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80").front(), u'\uFFFD');
}

TEST(UtfTest, LoneSurrogatesBecomeReplacement) {
    const std::u16string highAlone = {char16_t(0xD83D), u'x'};
    const std::u16string lowAlone = {u'x', char16_t(0xDE00)};
    const std::u16string highAtEnd = {char16_t(0xD83D)};
    EXPECT_EQ(Utf16ToUtf8(highAlone), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(lowAlone), "x\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(highAtEnd), "\xEF\xBF\xBD");
}

TEST(UtfTest, NextCodePointWalksTheText) {
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80";
    std::size_t pos = 0;
    char32_t cp = 0;
    ASSERT_TRUE(NextCodePoint(text, pos, cp));
    EXPECT_EQ(cp, U'a');
    ASSERT_TRUE(NextCodePoint(text, pos, cp));
    EXPECT_EQ(cp, U'\u00E9');
    EXPECT_EQ(pos, 3u);
    ASSERT_TRUE(NextCodePoint(text, pos, cp));
    EXPECT_EQ(cp, U'\U0001F600');
    EXPECT_FALSE(NextCodePoint(text, pos, cp));
}

TEST(UtfTest, AppendUtf8RefusesValuesThatAreNotCharacters) {
    std::string out;
    AppendUtf8(out, 0xD800);
    AppendUtf8(out, 0x110000);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(UtfTest, ValidUtf8IsToldFromCodePageBytes) {
    for (const char* valid : {"", "C:\\plain.exe", "Caf\xC3\xA9", "\xEF\xBF\xBD written", "\xF0\x9F\x98\x80"}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    // Windows-1252 text, a truncated character, an overlong form, a stray
    // continuation byte.
    for (const char* invalid : {"Caf\xE9", "x\xC3", "\xC0\xAF", "\x80"}) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << invalid;
    }
}

}  // namespace
}  // namespace bastion
