#include "scan/state/StatusTextFilter.h"

#include <gtest/gtest.h>

#include <set>

namespace bastion {
namespace {

TEST(StatusTextFilter, RemovesListedWordsWhateverTheirCaseAndPlace) {
    EXPECT_EQ(FilterStatusText("C:\\PORN\\viewer.exe"), "C:\\\\viewer.exe");
    EXPECT_EQ(FilterStatusText("Sussex Photos\\SeX.jpg"), "Sus Photos\\.jpg");
    EXPECT_EQ(FilterStatusText("hardcorepornography.dll"), "hardcoreography.dll");
    // Cutting one word can join the pieces of another listed later.
    EXPECT_EQ(FilterStatusText("pfuckorn"), "");
    EXPECT_EQ(FilterStatusText("fufuckck"), "");
}

TEST(StatusTextFilter, LeavesOrdinaryNamesAlone) {
    for (const char* text : {"C:\\Documents and Settings\\User\\Local Settings\\Temp\\class.dll",
                             "Scanning registry: \r\nsoftware\\microsoft\\windows", "", "Ünïcödé ✓"}) {
        EXPECT_EQ(FilterStatusText(text), text);
    }
}

TEST(StatusTextFilter, ListHoldsFortyOneWordsWithTheFirstRepeatedTenth) {
    const auto words = FilteredWords();
    ASSERT_EQ(words.size(), 42u);
    EXPECT_EQ(words[9], words[0]);
    const std::set<std::string_view> distinct(words.begin(), words.end());
    EXPECT_EQ(distinct.size(), 41u);
    EXPECT_TRUE(distinct.count("porn"));
    EXPECT_TRUE(distinct.count("sex"));
}

}  // namespace
}  // namespace bastion
