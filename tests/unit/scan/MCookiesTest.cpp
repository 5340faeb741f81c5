#include "scan/cookies/MCookies.h"

#include <gtest/gtest.h>

#include "common/Text.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "scan/cookies/CookieRecords.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

const std::string kCookies = "C:\\Documents and Settings\\User\\Cookies";

// One record of the classic cookie file, as the internet client writes it.
std::string Record(const std::string& name, const std::string& hostPath) {
    return name + "\n1\n" + hostPath + "\n1024\n859662720\n32181680\n2026600070\n31295326\n*\n";
}

TEST(CookieDomainTest, FileNamesGiveTheDomainBeforeTheCounter) {
    EXPECT_EQ(CookieNameToDomain("user@a.b.c[1].txt"), "a.b.c");
    EXPECT_EQ(CookieNameToDomain("user@ads.example(2).txt"), "ads.example");
    EXPECT_EQ(CookieNameToDomain("user@mail@host.example.txt"), "mail@host.example");
    EXPECT_EQ(CookieNameToDomain("C99WT5S2.txt"), "");
    EXPECT_EQ(CookieNameToDomain(""), "");
}

TEST(CookieDomainTest, BlockedEntriesLoseTheirLastLabelAndStarAndPreselectWithCase) {
    const Rows list{"a.b.c", "*shop.example", "B.b", "UPPER.example", ""};
    EXPECT_TRUE(IsBlockedCookieDomain(list, "a.b"));
    EXPECT_FALSE(IsBlockedCookieDomain({"b.c", ""}, "a.b"));
    EXPECT_TRUE(IsBlockedCookieDomain(list, "shop"));
    // The pre-selection compares with case, the final comparison without.
    EXPECT_FALSE(IsBlockedCookieDomain(list, "upper"));
    EXPECT_TRUE(IsBlockedCookieDomain(list, "b"));
    EXPECT_FALSE(IsBlockedCookieDomain(list, "a.b.c"));
    // The empty piece that ends the list blocks nothing.
    EXPECT_FALSE(IsBlockedCookieDomain(list, ""));
    EXPECT_FALSE(IsBlockedCookieDomain({}, "a.b"));
}

TEST(CookieDomainTest, RandomlyNamedFilesGiveTheDomainOfTheirFirstWellFormedRecord) {
    // Wine writes plain LF line ends and drops a domain cookie's leading dot.
    EXPECT_EQ(CookieRecordDomain(Record("track", "blocked.example/")), "blocked.example");
    EXPECT_EQ(CookieRecordDomain("id\r\nv\r\n.Tracker.example/path/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n*\r\n"),
              "Tracker.example");
    EXPECT_EQ(CookieRecordDomain("junk\n*\n" + Record("a", "second.example/")), "second.example");
    EXPECT_EQ(CookieRecordDomain("a\nb\nflags.example/\nnot a number\n1\n2\n3\n4\n*\n"), std::nullopt);
    EXPECT_EQ(CookieRecordDomain("a\nb\nno slash here\n0\n1\n2\n3\n4\n*\n"), std::nullopt);
    const std::string index =
        std::string("WINE URLCache Ver 0.2012001") + std::string(3, '\0') + "Cookie:user@x.example/\n*\n";
    EXPECT_EQ(CookieRecordDomain(index), std::nullopt);
    EXPECT_EQ(CookieRecordDomain(""), std::nullopt);
}

struct MCookiesTest : ::testing::Test {
    MCookiesTest() {
        harness.state.SetPhase("Inspecting Cookies");
        harness.BeginScan();
    }
    void AddCookie(const std::string& name, const std::string& content) {
        harness.machine.files.AddFile(kCookies + "\\" + name, content);
    }
    std::string Domain(const std::string& name) {
        return GetCookieDomain(harness.machine.files, Windows1252(), kCookies + "\\" + name);
    }
    Rows Activity() const { return harness.Activity(); }

    ScanHarness harness;
    ScanContext context = harness.Context();
    std::int32_t filesExamined = 0;
};

TEST_F(MCookiesTest, NamedFilesGiveTheFirstFieldWithTheNameDomainAndASlash) {
    AddCookie("user@a.b.c[1].txt", Record("id", "a.b.c/"));
    AddCookie("user@www.b.c[1].txt", "x,www.b.c without slash,\nvalue\nwww.b.c/path/\n*\n");
    AddCookie("user@c.d[1].txt", "c.d\nC.D/\n*\n");  // the name's domain is searched with case
    AddCookie("user@[1].txt", Record("id", "e.f/"));
    EXPECT_EQ(Domain("user@a.b.c[1].txt"), "a.b.c");
    EXPECT_EQ(Domain("user@www.b.c[1].txt"), "www.b.c");
    EXPECT_EQ(Domain("user@c.d[1].txt"), "False");
    EXPECT_EQ(Domain("user@[1].txt"), "False");
    EXPECT_EQ(Domain("user@gone[1].txt"), "False");
    // Only the file's own name counts, not a folder above it.
    harness.machine.files.AddFile("C:\\Users\\me@corp\\Cookies\\ZZ.txt", Record("id", "corp.example/"));
    EXPECT_EQ(GetCookieDomain(harness.machine.files, Windows1252(), "C:\\Users\\me@corp\\Cookies\\ZZ.txt"),
              "corp.example");
}

TEST_F(MCookiesTest, BlockedCookiesBecomeTrackingCookieDetections) {
    harness.WriteDefinitions(datafile::kBlockedCookies, {"a.b.c", "*shop.example|tracker.example", "ads.example"});
    AddCookie("user@a.b.c[1].txt", Record("id", "a.b.c/"));
    AddCookie("user@www.shop.example[1].txt", Record("id", "www.shop.example/"));
    AddCookie("user@b.c[1].txt", Record("id", "b.c/"));
    AddCookie("C99WT5S2.txt", Record("track", "tracker.example/"));
    AddCookie("user@ads.example[1].txt", Record("id", "ads.example/"));
    AddCookie("index.dat", std::string("WINE URLCache\0\0", 15));
    harness.machine.files.AddFolder(kCookies + "\\Low");
    harness.exclusions.Assign({ToUpper(kCookies) + "\\USER@ADS.EXAMPLE[1].TXT"});
    ScanCookies(context, filesExamined);

    EXPECT_EQ(Activity(), (Rows{
                              "Cookie|user@a.b.c[1].txt#Cookie",
                              "Cookie|user@www.shop.example[1].txt#Cookie",
                              "Cookie|C99WT5S2.txt#Cookie",
                              "EXCLUDED|" + kCookies + "\\user@ads.example[1].txt#Excluded",
                          }));
    EXPECT_EQ(harness.Detections(),
              (Rows{"Cookie: user@a.b.c[1].txt|" + kCookies + "\\user@a.b.c[1].txt|Tracking Cookie",
                    "Cookie: user@www.shop.example[1].txt|" + kCookies +
                        "\\user@www.shop.example[1].txt|Tracking Cookie",
                    "Cookie: C99WT5S2.txt|" + kCookies + "\\C99WT5S2.txt|Tracking Cookie"}));
    const Detection& first = harness.state.Results().detections.front();
    EXPECT_EQ(std::get<CookieItem>(first.item).path, kCookies + "\\user@a.b.c[1].txt");
    EXPECT_EQ(ShownName(first), "Cookie: user@a.b.c[1].txt");
    EXPECT_EQ(filesExamined, 6);
    EXPECT_EQ(harness.state.counters.filesInspected, 3);
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
}

TEST_F(MCookiesTest, ShowsEachFileOnItsOwnBarAndLeavesTheProcessCounterAlone) {
    harness.WriteDefinitions(datafile::kBlockedCookies, {"a", "b", "c", "d", "e", "f", "g", "h", "i"});
    for (const char* name : {"u@1.txt", "u@2.txt", "u@3.txt", "u@4.txt", "u@5.txt", "u@6.txt"}) AddCookie(name, "");
    harness.state.counters.processesInspected = 7;
    harness.pump.At(4, [&] { harness.state.RequestStop(); });
    ScanCookies(context, filesExamined);

    EXPECT_EQ(filesExamined, 4);
    EXPECT_EQ(harness.progress.lastItem, "Inspecting Cookies: \r\nu@4.txt");
    // Three of the six files examined before the fourth; the whole scan's
    // bar is left alone.
    EXPECT_EQ(harness.progress.lastScanPercent, 50);
    EXPECT_EQ(harness.progress.lastOverallPercent, -1);
    EXPECT_EQ(harness.state.counters.processesInspected, 7);
}

TEST_F(MCookiesTest, OutsideAScanTheScanEndsAtTheFirstBlockedCookie) {
    harness.state.End();
    harness.WriteDefinitions(datafile::kBlockedCookies, {"ads.example"});
    AddCookie("user@ads.example[1].txt", Record("id", "ads.example/"));
    AddCookie("user@ads.example[2].txt", Record("id", "ads.example/"));
    ScanCookies(context, filesExamined);

    EXPECT_EQ(Activity(), Rows{"Cookie|user@ads.example[1].txt#Cookie"});
    EXPECT_TRUE(harness.state.Results().detections.empty());
    EXPECT_EQ(filesExamined, 1);
}

TEST_F(MCookiesTest, NoCookieFolderOrNoBlockedListFindsNothing) {
    AddCookie("user@ads.example[1].txt", Record("id", "ads.example/"));
    ScanCookies(context, filesExamined);
    EXPECT_EQ(filesExamined, 1);
    EXPECT_TRUE(harness.state.Results().activity.empty());

    harness.WriteDefinitions(datafile::kBlockedCookies, {"ads.example"});
    harness.machine.shell.RemoveFolder(platform::csidl::kCookies);
    ScanCookies(context, filesExamined);
    EXPECT_EQ(filesExamined, 1);
    EXPECT_EQ(GetShellFolderPath(harness.machine.shell, platform::csidl::kCookies), "");
}

}  // namespace
}  // namespace bastion
