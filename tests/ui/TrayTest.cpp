// Bastion.exe in the notification area of Wine's Explorer: going to the
// tray, the icon's clicks as the shell sends them, Explorer coming back,
// an update from the tray, and "Exit Program". Saves
// screenshots of the tray menu and of the definitions-updated pop-up.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "Screenshot.h"
#include "ui/win32/ClsTray.h"

namespace bastion::uitest {
namespace {

bool Until(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(20);
    }
    return true;
}

// The shell holds the icon of (window, id): a change of nothing succeeds.
bool IconPresent(HWND window, UINT id) {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = window;
    record.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

// What the shell sends for a mouse message on the icon, in both forms of
// its protocol: only the form the icon asked for matches its id.
void ShellSends(HWND window, UINT mouseMessage) {
    const UINT callback = win32::clsTray::kCallbackMessage;
    PostMessageW(window, callback, 1, mouseMessage);
    PostMessageW(window, callback, 0, MAKELPARAM(mouseMessage, 1));
}

TEST(BastionTray, GoingToTheTrayTheIconsClicksExplorerRestartingAndTheEnd) {
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr);
    HWND menu = program.WaitForWindowOfClass(L"BastionTrayMenu", 5000);
    ASSERT_NE(menu, nullptr);
    auto menuShown = [menu] { return IsWindowVisible(menu) != FALSE; };
    auto windowBack = [window] { return IsWindowVisible(window) && !IsIconic(window); };

    // Posted, as a user's click: the program takes it once its start-up
    // has completed.
    PostMessageW(FindDescendant(window, L"Button", L"Minimize"), BM_CLICK, 0, 0);
    ASSERT_TRUE(Until([&] { return IconPresent(window, 1); }, 5000)) << "Wine's notification area took no icon";
    EXPECT_TRUE(Until([&] { return !IsWindowVisible(window); }, 5000));
    EXPECT_TRUE(Until(menuShown, 5000)) << "the menu announces the tray";
    Sleep(1500);  // resting
    EXPECT_TRUE(SaveScreenshot(GetDesktopWindow(), "tray-menu"));
    RECT menuRect;
    GetWindowRect(menu, &menuRect);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(menuRect.bottom, work.bottom) << "it rests above the taskbar";
    EXPECT_GE(menuRect.right, work.right - (menuRect.right - menuRect.left)) << "in the corner";

    // A double click brings the window back in normal state, menu gone.
    ShellSends(window, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Until(windowBack, 5000));
    EXPECT_TRUE(Until([&] { return !menuShown(); }, 5000));

    // A real mouse move over the window is no click on the icon.
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(513, 10));
    Sleep(500);
    EXPECT_FALSE(menuShown());
    for (UINT selection : {UINT{WM_LBUTTONDOWN}, UINT{NIN_KEYSELECT}, UINT{WM_CONTEXTMENU}}) {
        ShellSends(window, selection);
        EXPECT_TRUE(Until(menuShown, 3000)) << selection;
        if (selection != WM_LBUTTONDOWN) {
            EXPECT_TRUE(Until([&] { return GetForegroundWindow() == menu; }, 3000)) << "keyboard in the menu";
        }
        HWND close = FindDescendant(menu, L"Static", L"Close This Menu");
        SendMessageW(menu, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(close), STN_CLICKED), reinterpret_cast<LPARAM>(close));
        EXPECT_TRUE(Until([&] { return !menuShown(); }, 5000)) << selection;
    }

    // Explorer restarted: its new taskbar holds no icon until the program
    // adds it again.
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = window;
    record.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &record);
    ASSERT_FALSE(IconPresent(window, 1));
    PostMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Until([&] { return IconPresent(window, 1); }, 5000));

    // An update (the server does not answer here) shows the progress
    // window's own icon and the pop-up; the main icon stays.
    PostMessageW(FindDescendant(window, L"Button", L"Update Now"), BM_CLICK, 0, 0);
    HWND popup = program.WaitForWindowOfClass(L"BastionSignatureUpdated", 5000);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(Until([&] { return IsWindowVisible(popup) != FALSE; }, 30000));
    Sleep(1500);  // resting
    EXPECT_TRUE(SaveScreenshot(GetDesktopWindow(), "definitions-pop-up"));
    EXPECT_TRUE(IconPresent(window, 1)) << "the progress window's icon took the main one";

    // "Exit Program" ends the program. (Wine's shell drops the icons of a
    // window that is gone, so a ghost icon cannot be seen here.)
    ShellSends(window, WM_RBUTTONDOWN);
    ASSERT_TRUE(Until(menuShown, 3000));
    SendMessageW(FindDescendant(menu, L"Button", L"Exit Program"), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
