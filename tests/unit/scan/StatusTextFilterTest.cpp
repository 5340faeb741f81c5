#include "scan/state/StatusTextFilter.h"

#include <gtest/gtest.h>

#include "common/Text.h"

namespace bastion {
namespace {

TEST(StatusTextFilter, RemovesListedWordsWhateverTheirCaseAndPlace) {
    EXPECT_EQ(FilterStatusText("C:\\PORN\\viewer.exe"), "C:\\\\viewer.exe");
    EXPECT_EQ(FilterStatusText("Sussex Photos\\SeX.jpg"), "Sus Photos\\.jpg");
    EXPECT_EQ(FilterStatusText("hardcorepornography.dll"), "hardcoreography.dll");
    // Cutting one word can join the pieces of another listed later, even of
    // the first word again.
    EXPECT_EQ(FilterStatusText("pfuckorn"), "");
    EXPECT_EQ(FilterStatusText("fufuckck"), "");
    // Every listed word goes, in capitals and between ordinary text.
    for (std::string_view word : FilteredWords()) {
        EXPECT_EQ(FilterStatusText("C:\\a" + ToUpper(word) + "b.txt"), "C:\\ab.txt") << word;
    }
}

TEST(StatusTextFilter, LeavesOrdinaryNamesAlone) {
    for (const char* text : {"C:\\Documents and Settings\\User\\Local Settings\\Temp\\class.dll",
                             "Scanning registry: \r\nsoftware\\microsoft\\windows", "", "Ünïcödé ✓"}) {
        EXPECT_EQ(FilterStatusText(text), text);
    }
}

}  // namespace
}  // namespace bastion
