#include "scan/cookies/MCookies.h"

#include <gtest/gtest.h>

#include "DetectedRows.h"
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
        harness.form.cmdScan.SetEnabled(false);  // a scan is running
    }
    void AddCookie(const std::string& name, const std::string& content) {
        harness.machine.files.AddFile(kCookies + "\\" + name, content);
    }
    std::string Domain(const std::string& name) {
        return GetCookieDomain(harness.machine.files, Windows1252(), kCookies + "\\" + name);
    }
    Rows Activity() const { return ScanHarness::Rows(harness.state.ActivityList()); }
    Rows Results() const { return ScanHarness::Rows(harness.state.ResultsList()); }
    Rows Queue() const { return ScanHarness::Rows(harness.state.CookieQueue()); }

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
                              "Cookie|user@a.b.c[1].txt#1/0",
                              "Cookie|user@www.shop.example[1].txt#1/0",
                              "Cookie|C99WT5S2.txt#1/0",
                              "EXCLUDED|" + kCookies + "\\user@ads.example[1].txt#5/0",
                          }));
    EXPECT_EQ(Queue(), (Rows{kCookies + "\\user@a.b.c[1].txt#0/0", kCookies + "\\user@www.shop.example[1].txt#0/0",
                             kCookies + "\\C99WT5S2.txt#0/0"}));
    EXPECT_EQ(Results(),
              (Rows{"Cookie: user@a.b.c[1].txt|" + kCookies + "\\user@a.b.c[1].txt|Tracking Cookie#1/1",
                    "Cookie: user@www.shop.example[1].txt|" + kCookies +
                        "\\user@www.shop.example[1].txt|Tracking Cookie#1/1",
                    "Cookie: C99WT5S2.txt|" + kCookies + "\\C99WT5S2.txt|Tracking Cookie#1/1"}));
    EXPECT_EQ(filesExamined, 6);
    EXPECT_EQ(harness.state.counters.filesInspected, 3);
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
}

TEST_F(MCookiesTest, ShowsEachFileOnItsOwnBarAndLeavesTheProcessCounterAlone) {
    harness.WriteDefinitions(datafile::kBlockedCookies, {"a", "b", "c", "d", "e", "f", "g", "h", "i"});
    for (const char* name : {"u@1.txt", "u@2.txt", "u@3.txt", "u@4.txt", "u@5.txt", "u@6.txt"}) AddCookie(name, "");
    harness.state.counters.processesInspected = 7;
    harness.state.throttle = 21;  // the fourth file's report shows
    harness.pump.At(4, [&] { harness.state.RequestStop(); });
    ScanCookies(context, filesExamined);

    EXPECT_EQ(filesExamined, 4);
    EXPECT_EQ(harness.form.lblStatus.Caption(), "Inspecting Cookies: \r\nu@4.txt");
    // Three of the six files examined before the fourth.
    EXPECT_EQ(harness.form.pb1.Value(), 50);
    EXPECT_EQ(harness.state.counters.processesInspected, 7);
    EXPECT_EQ(harness.form.lblMemoryInspected.Caption(), "7");
}

TEST_F(MCookiesTest, OutsideAScanTheScanEndsAtTheFirstBlockedCookie) {
    harness.form.cmdScan.SetEnabled(true);
    harness.WriteDefinitions(datafile::kBlockedCookies, {"ads.example"});
    AddCookie("user@ads.example[1].txt", Record("id", "ads.example/"));
    AddCookie("user@ads.example[2].txt", Record("id", "ads.example/"));
    ScanCookies(context, filesExamined);

    EXPECT_EQ(Activity(), Rows{"Cookie|user@ads.example[1].txt#1/0"});
    EXPECT_TRUE(harness.state.CookieQueue().Empty());
    EXPECT_TRUE(harness.state.ResultsList().Empty());
    EXPECT_EQ(filesExamined, 1);
}

TEST_F(MCookiesTest, NoCookieFolderOrNoBlockedListFindsNothing) {
    AddCookie("user@ads.example[1].txt", Record("id", "ads.example/"));
    ScanCookies(context, filesExamined);
    EXPECT_EQ(filesExamined, 1);
    EXPECT_TRUE(harness.state.ActivityList().Empty());

    harness.WriteDefinitions(datafile::kBlockedCookies, {"ads.example"});
    harness.machine.shell.RemoveFolder(platform::csidl::kCookies);
    ScanCookies(context, filesExamined);
    EXPECT_EQ(filesExamined, 1);
    EXPECT_EQ(GetShellFolderPath(harness.machine.shell, platform::csidl::kCookies), "");
}

}  // namespace
}  // namespace bastion
