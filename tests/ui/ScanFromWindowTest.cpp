// A scan through Bastion.exe's own window: a planted file that a definition
// names is found by pressing Start, the status says so, and the results
// list shows the detection. Saves screenshots of the home, scan and results
// pages, and of the report viewer and the about window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "Screenshot.h"
// After ProgramHarness.h: takes away the macros that rename DeleteFile.
#include "platform/win32/WindowsApi.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/PathTokens.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "ui/forms/FrmMain.h"
#include "ui/settings/SettingsStore.h"
#include "ui/win32/MenuBar.h"

namespace bastion::uitest {
namespace {

const char* const kDefinitionFiles[] = {"FileDefinition.dat", "DirectoryDefinition.dat", "RegistryDefinition.dat",
                                        "ExeDefinition.dat", "BlockedCookies.dat"};
// The scan parts that look at the whole machine; this test needs only the
// known file locations.
const char* const kWideScanParts[] = {"chkScanCookies", "chkSweepMemory", "chkScanRegistry"};

// Polls until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(100);
    }
    return true;
}

struct PopupSearch {
    DWORD processId;
    HWND owner;
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindPopup(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<PopupSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && window != search->owner && IsWindowVisible(window) &&
        WindowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

class ScanFromWindowTest : public ::testing::Test {
protected:
    ScanFromWindowTest() : dataFolder(DataFolder(PathTokens::Resolve(shell))) {
        files.CreateFolder(dataFolder);
        for (const char* file : kDefinitionFiles) WriteDefinitions(file, {});
        scratch = dataFolder + "\\window_scan_" + std::to_string(GetCurrentProcessId());
        files.CreateFolder(scratch);
        for (const char* part : kWideScanParts) settings.WriteSetting("OptionAndSettings", part, "0");
    }
    ~ScanFromWindowTest() override {
        for (const char* part : kWideScanParts) settings.WriteSetting("OptionAndSettings", part, "1");
        for (const char* file : kDefinitionFiles) files.DeleteFile(DataFilePath(dataFolder, file));
        files.DeleteFile(DataFilePath(dataFolder, "Scan_Log.txt"));
        files.DeleteFolderTree(scratch);
    }

    void WriteDefinitions(const std::string& file, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += EncodeDefinitionLine(codePage, line) + "\r\n";
        ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder, file), bytes));
    }

    HWND Button(HWND window, const std::wstring& caption) { return FindDescendant(window, L"Button", caption); }

    // A top-level window of the program with that caption, other than the
    // main window.
    HWND WaitForPopup(const StartedProgram& program, HWND main, const std::wstring& caption) {
        PopupSearch search{program.ProcessId(), main, caption};
        WaitFor(
            [&] {
                search.found = nullptr;
                EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            10000);
        return search.found;
    }

    win32::Win32Shell shell;
    win32::Win32FileSystem files;
    win32::Win32CodePage codePage;
    win32::Win32Registry registry;
    ui::SettingsStore settings{registry, build::kProductName};
    std::string dataFolder;
    std::string scratch;
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

    // The menu item's command, as the menu bar numbers the form's items
    // (menus do not show across processes here).
    ui::FrmMain model;
    win32::MenuBar bar(model);
    UINT command = 0;
    for (int candidate = win32::MenuBar::kFirstCommand; candidate < win32::MenuBar::kFirstCommand + 100; ++candidate) {
        if (bar.ItemOfCommand(candidate) == &model.mnuAboutItem) command = static_cast<UINT>(candidate);
    }
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
