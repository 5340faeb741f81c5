#include "common/Text.h"

#include "common/CaseMapping.h"
#include "common/Utf.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitTest, KeepsEveryEmptyPiece) {
    EXPECT_EQ(Split("a|b|", "|"), (Pieces{"a", "b", ""}));
    EXPECT_EQ(Split("|a", "|"), (Pieces{"", "a"}));
    EXPECT_EQ(Split("||", "|"), (Pieces{"", "", ""}));
    EXPECT_EQ(Split("", "|"), (Pieces{""}));
    EXPECT_EQ(Split("abc", "|"), (Pieces{"abc"}));
}

TEST(SplitTest, SeparatorOfSeveralCharactersAndEmptySeparator) {
    EXPECT_EQ(Split("a<>b<><>c", "<>"), (Pieces{"a", "b", "", "c"}));
    EXPECT_EQ(Split("a|b", ""), (Pieces{"a|b"}));
}

TEST(SplitTest, JoinUndoesSplit) {
    for (const char* text : {"a|b|", "", "||", "x"}) {
        EXPECT_EQ(Join(Split(text, "|"), "|"), text);
    }
}

TEST(TrimTest, RemovesBlanksOnlyNeverTabsOrLineBreaks) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim(" \r\na\r\n "), "\r\na\r\n");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
}

TEST(CaseTest, AppendLowerLeavesWhatTheBufferHoldsAlone) {
    std::string out = "KEEP\\";
    AppendLower(out, "ABC\\");
    AppendLower(out, "ÜBER");
    EXPECT_EQ(out, "KEEP\\abc\\über");
}

TEST(CaseTest, MapsAsciiLatinGreekAndCyrillicLetters) {
    EXPECT_EQ(ToLower("C:\\Program Files\\ABC.EXE"), "c:\\program files\\abc.exe");
    EXPECT_EQ(ToUpper("c:\\x-y_z"), "C:\\X-Y_Z");
    EXPECT_EQ(ToLower("ÀÉÎÕÜÞ"), "àéîõüþ");
    EXPECT_EQ(ToUpper("àéîõüþÿ"), "ÀÉÎÕÜÞŸ");
    EXPECT_EQ(ToLower("ŁŚŽČŸ"), "łśžčÿ");
    EXPECT_EQ(ToUpper("ΑΒΓ άέ σς"), "ΑΒΓ ΆΈ ΣΣ");
    EXPECT_EQ(ToLower("ПРИВЕТ ЁЖ"), "привет ёж");
    EXPECT_EQ(ToUpper("привет ёж"), "ПРИВЕТ ЁЖ");
}

// Byte positions in case-folded text are used as positions in the original,
// which holds only while every mapping keeps the UTF-8 length.
TEST(CaseTest, MappingsKeepLengthAndAreInverseOfEachOther) {
    const auto length = [](char32_t cp) {
        std::string out;
        AppendUtf8(out, cp);
        return out.size();
    };
    for (char32_t cp = 0; cp < 0x800; ++cp) {
        const char32_t lower = ToLowerCodePoint(cp);
        const char32_t upper = ToUpperCodePoint(cp);
        SCOPED_TRACE(static_cast<unsigned>(cp));
        EXPECT_EQ(length(lower), length(cp));
        EXPECT_EQ(length(upper), length(cp));
        if (lower != cp) {
            EXPECT_EQ(ToUpperCodePoint(lower), cp);
        }
        if (upper != cp && cp != 0x03C2) {  // final sigma upper-cases to the ordinary capital
            EXPECT_EQ(ToLowerCodePoint(upper), cp);
        }
    }
}

TEST(CaseTest, LeavesSignsLengthChangingLettersAndInvalidBytesAlone) {
    EXPECT_EQ(ToUpper("ß×÷"), "ß×÷");
    EXPECT_EQ(ToLower("×÷"), "×÷");
    EXPECT_EQ(ToLower("İ"), "İ");
    const std::string invalid = "A\xC3(\xFF" "B";
    EXPECT_EQ(ToLower(invalid), "a\xC3(\xFF" "b");
}

TEST(CaseTest, UpperFirstChangesOnlyTheFirstCharacter) {
    EXPECT_EQ(UpperFirst("hello world"), "Hello world");
    EXPECT_EQ(UpperFirst("élan"), "Élan");
    EXPECT_EQ(UpperFirst("aBC"), "ABC");
    EXPECT_EQ(UpperFirst("1abc"), "1abc");
    EXPECT_EQ(UpperFirst(""), "");
}

TEST(CaseTest, ComparisonsIgnoreCase) {
    EXPECT_TRUE(EqualsIgnoreCase("Explorer.EXE", "explorer.exe"));
    EXPECT_TRUE(EqualsIgnoreCase("ÉCOLE", "école"));
    EXPECT_TRUE(EqualsIgnoreCase("ΟΔΟΣ", "οδος"));
    EXPECT_TRUE(EqualsIgnoreCase("οδος", "οδοσ"));  // final sigma
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
    EXPECT_FALSE(EqualsIgnoreCase("abc", "ab"));
    EXPECT_FALSE(EqualsIgnoreCase("é", "e"));
    EXPECT_TRUE(StartsWithIgnoreCase("C:\\Windows\\x", "c:\\WINDOWS"));
    EXPECT_FALSE(StartsWithIgnoreCase("C:", "c:\\"));
    EXPECT_TRUE(EndsWithIgnoreCase("setup.EXE", ".exe"));
    EXPECT_FALSE(EndsWith("setup.EXE", ".exe"));
    EXPECT_TRUE(StartsWith("abc", ""));
}

TEST(FindTest, FindIgnoreCaseReturnsBytePositionInOriginal) {
    EXPECT_EQ(FindIgnoreCase("C:\\Program Files\\Evil", "program files"), 3u);
    EXPECT_EQ(FindIgnoreCase("abcABC", "abc", 1), 3u);
    EXPECT_EQ(FindIgnoreCase("abc", "x"), std::string::npos);
    EXPECT_EQ(FindIgnoreCase("abc", "abc", 4), std::string::npos);
    // "éÉ" takes four bytes, so the match after it starts at byte 4.
    EXPECT_EQ(FindIgnoreCase("éÉxyzÉ", "XYZé"), 4u);
    EXPECT_EQ(FindIgnoreCase("Мой ФАЙЛ", "файл"), 7u);
    EXPECT_TRUE(ContainsIgnoreCase("SOFTWARE\\Microsoft", "microsoft"));
    EXPECT_FALSE(Contains("SOFTWARE\\Microsoft", "microsoft"));
}

TEST(FindTest, CopyBytesCopiesEveryLengthExactly) {
    std::string from(100, '\0');
    for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<char>('a' + i % 26);
    for (std::size_t n = 0; n <= from.size(); ++n) {
        std::string to(from.size() + 1, '-');
        CopyBytes(to.data(), from.data(), n);
        ASSERT_EQ(to, from.substr(0, n) + std::string(from.size() + 1 - n, '-')) << n;
    }
}

TEST(FindTest, FindByteAgreesWithFindAtEveryPlaceAndNeighbour) {
    // Eight bytes are looked at a time: the byte sought at every place of
    // the word and the tail, from every start, beside bytes one bit away
    // from it (which a word-wide test could take for it).
    for (const char sought : {'|', '[', '\x80', '\x01'}) {
        for (const char beside : {static_cast<char>(sought ^ 1), static_cast<char>(sought ^ 0x80), '\0'}) {
            for (std::size_t length = 0; length <= 20; ++length) {
                for (std::size_t place = 0; place <= length; ++place) {
                    std::string text(length, beside);
                    if (place < length) text[place] = sought;
                    for (std::size_t from = 0; from <= length; ++from) {
                        ASSERT_EQ(FindByte(text, sought, from), text.find(sought, from))
                            << length << " " << place << " " << from;
                    }
                }
            }
        }
    }
}

TEST(ReplaceTest, ReplacesLeftToRightWithoutRescanning) {
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("a.b.c", ".", ".."), "a..b..c");
    EXPECT_EQ(ReplaceAll("xax", "a", "aa"), "xaax");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllIgnoreCase("[WinDir]\\a [windir]", "[windir]", "C:\\Windows"),
              "C:\\Windows\\a C:\\Windows");
    EXPECT_EQ(ReplaceAllIgnoreCase("Ab", "a", "aA"), "aAb");
    EXPECT_EQ(ReplaceAllIgnoreCase("Über über", "ÜBER", "x"), "x x");
    EXPECT_EQ(ReplaceAllIgnoreCase("abc", "", "x"), "abc");
}

TEST(ReplaceTest, CollapseBackslashesLeavesNoDoubledBackslash) {
    EXPECT_EQ(CollapseBackslashes("a\\\\\\\\b"), "a\\b");
    EXPECT_EQ(CollapseBackslashes("a\\\\\\b\\c"), "a\\b\\c");
    EXPECT_EQ(CollapseBackslashes("\\\\server\\share"), "\\server\\share");
}

TEST(ReplaceTest, RemoveCharsRemovesWholeCharacters) {
    EXPECT_EQ(RemoveChars("a\tb\r\nc", "\t\r\n"), "abc");
    EXPECT_EQ(RemoveChars("aéb€c", "€é"), "abc");
    // "è" shares its first byte with "é", which must survive whole.
    EXPECT_EQ(RemoveChars("aéb", "è"), "aéb");
}

TEST(NumberTest, DecimalAndThousands) {
    EXPECT_EQ(ToDecimal(-42), "-42");
    EXPECT_EQ(WithThousands(0), "0");
    EXPECT_EQ(WithThousands(999), "999");
    EXPECT_EQ(WithThousands(1000), "1,000");
    EXPECT_EQ(WithThousands(1234567), "1,234,567");
    EXPECT_EQ(WithThousands(-1234), "-1,234");
    EXPECT_EQ(WithThousands(-9223372036854775807LL - 1), "-9,223,372,036,854,775,808");
}

TEST(NumberTest, ParseWholeNumberAcceptsSignAndBlanksOnly) {
    long long value = 0;
    EXPECT_TRUE(ParseWholeNumber(" 42 ", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ParseWholeNumber("-17", value));
    EXPECT_EQ(value, -17);
    EXPECT_TRUE(ParseWholeNumber("+5", value));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(ParseWholeNumber("-9223372036854775808", value));
    EXPECT_EQ(value, -9223372036854775807LL - 1);

    value = 99;
    for (const char* bad : {"", "  ", "12a", "1.5", "-", "+ 1", "1 2", "\t1", "9223372036854775808"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, value)) << bad;
    }
    EXPECT_EQ(value, 99);
}

}  // namespace
}  // namespace bastion
