// A scan through Bastion.exe's own window: a planted file that a definition
// names is found by pressing Start, the status says so, and the results
// list shows the detection. Saves screenshots of the home, scan and results
// pages, and of the report viewer and the about window.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"
#include "Screenshot.h"

namespace bastion::uitest {
namespace {

// The scan parts that look at the whole machine; this test needs only the
// known file locations.
const char* const kWideScanParts[] = {"chkScanCookies", "chkSweepMemory", "chkScanRegistry"};

class ScanFromWindowTest : public DataFolderFixture {
protected:
    ScanFromWindowTest() : DataFolderFixture("window_scan") {
        for (const char* part : kWideScanParts) settings.WriteSetting("OptionAndSettings", part, "0");
    }
    ~ScanFromWindowTest() override {
        for (const char* part : kWideScanParts) settings.WriteSetting("OptionAndSettings", part, "1");
    }
};

TEST_F(ScanFromWindowTest, StartFindsThePlantedFileAndTheResultsListShowsIt) {
    const std::string planted = scratch + "\\planted_spy.exe";
    ASSERT_TRUE(files.WriteFile(planted, "MZ not much of a program"));
    WriteDefinitions("FileDefinition.dat", {"planted_spy.exe=Planted Spy|" + scratch + "|Adware"});

    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SaveScreenshot(window, "e2e-home"));

    SendMessageW(Button(window, L"Scan"), BM_CLICK, 0, 0);
    HWND start = Button(window, L"Start");
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(IsWindowVisible(start));
    // Posted: the scan runs inside the click's handler.
    PostMessageW(start, BM_CLICK, 0, 0);
    const bool completed =
        WaitFor([&] { return FindDescendant(window, L"Static", L"Scanning complete.") != nullptr; }, 60000);
    ASSERT_TRUE(completed) << "the status never read \"Scanning complete.\"";
    EXPECT_TRUE(IsWindowEnabled(start)) << "Start is pressable again";
    EXPECT_TRUE(SaveScreenshot(window, "e2e-scan"));

    SendMessageW(Button(window, L"Results/Removal"), BM_CLICK, 0, 0);
    HWND results = FindListView(window, {L"File", L"Location", L"Type", L"Risk", L"Details"});
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(ListViewItemCount(results), 1);
    EXPECT_EQ(ListViewItemText(results, 0, 0), L"Planted Spy");
    EXPECT_EQ(ListViewItemText(results, 0, 1), win32::Widen(planted));
    EXPECT_EQ(ListViewItemText(results, 0, 2), L"Adware");
    EXPECT_TRUE(SaveScreenshot(window, "e2e-results"));

    // The report of this scan in the viewer, which holds the main window
    // until OK.
    PostMessageW(Button(window, L"Log File"), BM_CLICK, 0, 0);
    HWND viewer = WaitForPopup(program, window, win32::Widen(std::string(build::kProductName) + " Log"));
    ASSERT_NE(viewer, nullptr) << "no report viewer";
    EXPECT_FALSE(IsWindowEnabled(window)) << "the viewer is modal";
    HWND text = FindDescendants(viewer, L"Edit").empty() ? nullptr : FindDescendants(viewer, L"Edit").front();
    ASSERT_NE(text, nullptr);
    // Sent: an edit control of another process keeps its text to itself.
    std::wstring report(static_cast<std::size_t>(SendMessageW(text, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    report.resize(static_cast<std::size_t>(
        SendMessageW(text, WM_GETTEXT, report.size(), reinterpret_cast<LPARAM>(report.data()))));
    EXPECT_NE(report.find(L"Name: Planted Spy"), std::wstring::npos) << win32::Narrow(report);
    EXPECT_TRUE(SaveScreenshot(viewer, "report-viewer"));
    SendMessageW(Button(viewer, L"OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(viewer) && IsWindowEnabled(window); }, 5000));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

TEST_F(ScanFromWindowTest, AboutWindowNamesTheProduct) {
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);

    const UINT command = MenuCommand([](ui::FrmMain& model) -> ui::MenuItem& { return model.mnuAboutItem; });
    ASSERT_NE(command, 0u) << "no About this software item";
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND about = WaitForPopup(program, window, win32::Widen("About " + std::string(build::kProductName)));
    ASSERT_NE(about, nullptr) << "no about window";
    EXPECT_NE(FindDescendant(about, L"Static", win32::Widen(build::kCompanyName)), nullptr);
    EXPECT_NE(FindDescendant(about, L"Static",
                             std::to_wstring(build::kVersionMajor) + L"." + std::to_wstring(build::kVersionMinor)),
              nullptr);
    EXPECT_TRUE(SaveScreenshot(about, "about"));
    SendMessageW(Button(about, L"OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(window); }, 5000));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
