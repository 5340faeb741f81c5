// Bastion.exe as the user meets it: the main window with its caption, the
// four pages that the navigation buttons switch, the option tabs, and the
// result lists read back from the other process. Saves a screenshot of
// every page.
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "Screenshot.h"
#include "platform/win32/WideText.h"

namespace bastion::uitest {
namespace {

class BastionMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.Started());
        window = program.WaitForWindow(20000);
        ASSERT_NE(window, nullptr) << "no window appeared";
    }

    void TearDown() override {
        if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(10000), 0u);
    }

    HWND Button(const wchar_t* caption) { return FindDescendant(window, L"Button", caption); }

    // Whether the control with that caption shows on the screen (its page
    // included).
    bool Shows(const wchar_t* caption) {
        HWND control = Button(caption);
        return control && IsWindowVisible(control);
    }

    void Click(const wchar_t* caption) {
        HWND button = Button(caption);
        ASSERT_NE(button, nullptr) << "no button " << Narrow(caption);
        // Sent: the page has switched when the click returns.
        SendMessageW(button, BM_CLICK, 0, 0);
    }

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

    StartedProgram program{WinePath(BASTION_EXE_PATH), L""};
    HWND window = nullptr;
};

TEST_F(BastionMainWindow, CaptionNavigationPagesAndScreenshots) {
    EXPECT_EQ(WindowText(window), win32::Widen(std::string(build::kProductName) + " by " + build::kCompanyName));
    EXPECT_NE(Button(win32::Widen(build::kWebsite).c_str()), nullptr) << "the website button carries the address";

    // One control that only its page has, per page.
    struct Page {
        const wchar_t* navigation;
        const wchar_t* marker;
        const char* screenshot;
    };
    const Page pages[] = {{L"Scan", L"Pause", "scan"},
                          {L"Results/Removal", L"Repair Now", "results"},
                          {L"Options", L"Scan Now", "options"},
                          {L"Home", L"Directory Scan", "home"}};
    // The program starts on the home page.
    EXPECT_TRUE(Shows(L"Directory Scan"));
    EXPECT_FALSE(Shows(L"Pause"));
    for (const Page& page : pages) {
        Click(page.navigation);
        for (const Page& other : pages) {
            EXPECT_EQ(Shows(other.marker), &other == &page) << "after " << Narrow(page.navigation) << ": "
                                                             << Narrow(other.marker);
        }
        if (&page == &pages[2]) {
            // The options page opens on its first tab.
            EXPECT_FALSE(Shows(L"Apply"));
            EXPECT_FALSE(IsWindowVisible(FindDescendant(window, L"Button", L"Enable Scheduled Scans")));
        }
        EXPECT_TRUE(SaveScreenshot(window, page.screenshot)) << page.screenshot;
    }
}

TEST_F(BastionMainWindow, OptionTabsShowTheirFrames) {
    Click(L"Options");
    const std::vector<HWND> tabStrips = FindDescendants(window, WC_TABCONTROLW);
    ASSERT_EQ(tabStrips.size(), 1u);
    HWND tabs = tabStrips.front();
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);

    // A marker of each tab's frame.
    const wchar_t* markers[] = {L"Save scan results to log", L"Auto-Protect", L"Enable Scheduled Scans",
                                L"Run Live Update Now"};
    const char* screenshots[] = {"options-scan", "options-protection", "options-schedule", "options-update"};
    for (int tab : {2, 1, 3, 0}) {
        const RECT item = TabItemRect(tabs, tab);
        ClickAt(tabs, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        Sleep(300);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), tab);
        for (int other = 0; other < 4; ++other) {
            HWND marker = FindDescendant(window, L"Button", markers[other]);
            ASSERT_NE(marker, nullptr) << Narrow(markers[other]);
            EXPECT_EQ(IsWindowVisible(marker) != FALSE, other == tab) << "tab " << tab << ", marker " << other;
        }
        EXPECT_TRUE(SaveScreenshot(window, screenshots[tab]));
    }
}

TEST_F(BastionMainWindow, ResultListsAreReadableFromAnotherProcess) {
    HWND results = FindListView(window, {L"File", L"Location", L"Type", L"Risk", L"Details"});
    ASSERT_NE(results, nullptr) << "no results list";
    EXPECT_EQ(ListViewItemCount(results), 0);
    EXPECT_TRUE(GetWindowLongPtrW(results, GWL_STYLE) & LVS_OWNERDATA);
    EXPECT_TRUE(SendMessageW(results, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);

    HWND activity = FindListView(window, {L"Name", L"Details"});
    ASSERT_NE(activity, nullptr) << "no activity list";
    EXPECT_EQ(ListViewItemCount(activity), 0);
    EXPECT_EQ(ListViewItemText(activity, 0, 0), L"");

    // The hidden removal queues have no list on the screen.
    EXPECT_EQ(FindListView(window, {L"Main Key", L"KeyValue", L"Value", L"SpywareName", L"View"}), nullptr);
}

}  // namespace
}  // namespace bastion::uitest
