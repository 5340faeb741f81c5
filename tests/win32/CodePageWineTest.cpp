// The code page facility through the system's conversion tables.
#include <gtest/gtest.h>

#include "platform/win32/Win32CodePage.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {
namespace {

TEST(CodePageWineTest, WesternEuropeanRoundTripsAndReplacesWhatItLacks) {
    Win32CodePage western(1252);
    EXPECT_EQ(1252u, western.Id());
    EXPECT_EQ("\xE9", western.FromUtf8("é"));
    EXPECT_EQ("é", western.ToUtf8("\xE9"));
    EXPECT_EQ("€", western.ToUtf8("\x80"));
    EXPECT_EQ("caf\xE9 \x80", western.FromUtf8("café €"));
    // No look-alike letters: a missing character becomes '?'.
    EXPECT_EQ("?", western.FromUtf8("Ω"));
    EXPECT_EQ("?", western.FromUtf8("Ā"));
    EXPECT_EQ(std::string("a\0b", 3), western.ToUtf8(std::string("a\0b", 3)));
    EXPECT_EQ("", western.ToUtf8(""));
}

TEST(CodePageWineTest, EveryByteOfTheMachineCodePageMapsToACharacter) {
    Win32CodePage machine;
    EXPECT_EQ(::GetACP(), machine.Id());
    EXPECT_EQ("\xE9", Win32CodePage(1252).FromUtf8(machine.ToUtf8(machine.FromUtf8("é"))));
    if (machine.Id() == 1252) {
        for (int byte = 1; byte < 256; ++byte) {
            std::string one(1, static_cast<char>(byte));
            EXPECT_FALSE(machine.ToUtf8(one).empty()) << byte;
        }
    }
}

TEST(CodePageWineTest, DoubleByteAndUtf8CodePagesConvertWholeCharacters) {
    Win32CodePage japanese(932);
    EXPECT_EQ("\x93\xFA\x96\x7B", japanese.FromUtf8("日本"));
    EXPECT_EQ("日本", japanese.ToUtf8("\x93\xFA\x96\x7B"));
    Win32CodePage utf8(65001);
    EXPECT_EQ("日本 é", utf8.ToUtf8(utf8.FromUtf8("日本 é")));
}

}  // namespace
}  // namespace bastion::win32
