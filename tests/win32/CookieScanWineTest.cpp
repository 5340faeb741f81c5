// The cookie scan over the real cookie folder: cookies that the system's
// internet client stores for a blocked and an unblocked domain, and only the
// blocked one is reported. Wine's client, like Internet Explorer 10 and
// later, names the cookie files at random (no "@"), so the domain comes from
// inside each file.
#include <gtest/gtest.h>

#include "ScanWineContext.h"
// After <windows.h>, which it builds on.
#include <wininet.h>

#include "common/Text.h"
#include "scan/cookies/MCookies.h"

namespace bastion::win32 {
namespace {

constexpr const char* kBlockedUrl = "http://blocked.example/";
constexpr const char* kAllowedUrl = "http://www.allowed.example/path/";

class CookieScanWineTest : public ::testing::Test, public test::ScanWineContext {
protected:
    CookieScanWineTest() {
        ForgetCookies();
        BeginScan();
    }
    ~CookieScanWineTest() override { ForgetCookies(); }

    // An expired cookie removes the stored one, and its file with it.
    static void ForgetCookies() {
        ::InternetSetCookieA(kBlockedUrl, nullptr, "track=; expires=Thu, 01-Jan-1970 00:00:01 GMT");
        ::InternetSetCookieA(kAllowedUrl, nullptr, "keep=; expires=Thu, 01-Jan-1970 00:00:01 GMT");
    }
};

TEST_F(CookieScanWineTest, ReportsOnlyTheCookieOfABlockedDomain) {
    // With an expiry they persist as files; session cookies stay in memory.
    ASSERT_TRUE(::InternetSetCookieA(kBlockedUrl, nullptr, "track=1; expires=Fri, 31-Dec-2037 23:59:59 GMT"));
    ASSERT_TRUE(::InternetSetCookieA(kAllowedUrl, nullptr, "keep=2; expires=Fri, 31-Dec-2037 23:59:59 GMT"));
    WriteDefinitions(datafile::kBlockedCookies, {"blocked.example", "tracker.example"});

    const std::string folder = GetShellFolderPath(shell, platform::csidl::kCookies);
    ASSERT_TRUE(files.FolderExists(folder)) << folder;
    ScanContext context = Context();
    std::int32_t filesExamined = 0;
    ScanCookies(context, filesExamined);

    ASSERT_EQ(Detections().size(), 1u);
    const std::string path = std::get<CookieItem>(Detections()[0].item).path;
    EXPECT_TRUE(StartsWithIgnoreCase(path, folder + "\\")) << path;
    EXPECT_EQ(GetCookieDomain(files, codePage, path), "blocked.example");
    EXPECT_EQ(ShownName(Detections()[0]), "Cookie: " + path.substr(folder.size() + 1));
    EXPECT_EQ(Detections()[0].type.name, "Tracking Cookie");
    // The allowed cookie's file and the client's index were examined too.
    EXPECT_GE(filesExamined, 2);
    EXPECT_EQ(Activity().size(), 1u);
}

}  // namespace
}  // namespace bastion::win32
