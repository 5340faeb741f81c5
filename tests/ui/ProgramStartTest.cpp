// Both programs start under Wine and show the identity of their own version
// resource, which the build filled from its configuration. The desktop
// program shows its splash first, lets only one copy of itself run, and
// publishes its run state in the settings of the user.
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "Screenshot.h"
#include "platform/win32/WideText.h"

namespace bastion::uitest {
namespace {

std::wstring RunStateKey() {
    return L"Software\\VB and VBA Program Settings\\" + win32::Widen(build::kProductName) + L"\\OptionAndSettings";
}

// "STATUS" as outside readers see it; empty when missing.
std::wstring PublishedStatus() {
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, RunStateKey().c_str(), L"STATUS", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return L"";
    }
    return value;
}

TEST(ProgramStart, SplashThenMainWindowOneCopyOnlyAndTheRunStatePublished) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunStateKey().c_str(), L"STATUS");
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());

    HWND splash = program.WaitForWindowOfClass(L"BastionSplash", 20000);
    ASSERT_NE(splash, nullptr) << "no splash";
    // A picture of the splash for review, when it is caught while it
    // shows; it lasts about a second.
    for (int wait = 0; wait < 100 && !IsWindowVisible(splash); ++wait) Sleep(5);
    if (IsWindowVisible(splash)) SaveScreenshot(splash, "splash");
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr) << "no main window appeared";
    EXPECT_EQ(ClassName(window), L"BastionMainWindow");
    EXPECT_EQ(WindowText(window), win32::Widen(build::kProductName) + L" by " + win32::Widen(build::kCompanyName));
    // The splash hands over, then hides itself.
    for (int wait = 0; wait < 400 && IsWindowVisible(splash); ++wait) Sleep(50);
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_FALSE(IsWindowVisible(splash));
    EXPECT_EQ(PublishedStatus(), L"RUNNING");

    {
        StartedProgram second(WinePath(BASTION_EXE_PATH), L"");
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(second.WaitForExit(20000), 0u) << "a second copy kept running";
    }
    EXPECT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(window));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
    EXPECT_EQ(PublishedStatus(), L"STOPPED");
}

TEST(ProgramStart, ASecondStartBringsTheWindowBackFromTheTrayInFrontAndEnds) {
    // The last run was left in the notification area: this one starts there.
    const std::wstring settingsKey = L"Software\\VB and VBA Program Settings\\" + win32::Widen(build::kProductName) + L"\\Settings";
    RegSetKeyValueW(HKEY_CURRENT_USER, settingsKey.c_str(), L"Minimized", REG_SZ, L"Yes", 4 * sizeof(wchar_t));
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND splash = program.WaitForWindowOfClass(L"BastionSplash", 20000);
    ASSERT_NE(splash, nullptr);
    HWND menu = program.WaitForWindowOfClass(L"BastionTrayMenu", 20000);
    ASSERT_NE(menu, nullptr);
    HWND window = program.WaitForWindowOfClass(L"BastionMainWindow", 0);
    ASSERT_NE(window, nullptr);
    // Up to twenty seconds each: a busy machine (a build beside the tests)
    // starts a Wine program slowly, and the loops end as soon as it is done.
    // The start is over once the splash has handed over: a second start
    // before that meets a window not yet shown, not one in the tray.
    auto inTray = [&] { return !IsWindowVisible(splash) && !IsWindowVisible(window); };
    for (int wait = 0; wait < 400 && !inTray(); ++wait) Sleep(50);
    ASSERT_TRUE(inTray()) << "the first run went to the notification area";

    {
        StartedProgram second(WinePath(BASTION_EXE_PATH), L"");
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(second.WaitForExit(20000), 0u);
    }
    // It shows first, then comes to the front: both are waited for.
    auto back = [&] { return IsWindowVisible(window) && !IsIconic(window) && GetForegroundWindow() == window; };
    for (int wait = 0; wait < 400 && !back(); ++wait) Sleep(50);
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window)) << "the window came back, restored";
    const HWND front = GetForegroundWindow();
    DWORD frontProcess = 0;
    GetWindowThreadProcessId(front, &frontProcess);
    EXPECT_EQ(front, window) << "in front; in front instead: " << win32::Narrow(ClassName(front)) << " \""
                             << win32::Narrow(WindowText(front)) << "\" of process " << frontProcess << " (the "
                             << "program's is " << program.ProcessId() << ")";
    SaveScreenshot(GetDesktopWindow(), "second-start");

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
    RegSetKeyValueW(HKEY_CURRENT_USER, settingsKey.c_str(), L"Minimized", REG_SZ, L"No", 3 * sizeof(wchar_t));
}

TEST(ProgramStart, ConsoleScannerTellsItsIdentityFromTheVersionResource) {
    DWORD exitCode = 0;
    std::string output = RunAndCapture(WinePath(BASTION_SCAN_EXE_PATH), L"--version", exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_NE(output.find(build::kProductName), std::string::npos) << output;
    EXPECT_NE(output.find(build::kCompanyName), std::string::npos) << output;
    EXPECT_NE(output.find(build::kWebsite), std::string::npos) << output;
    EXPECT_NE(output.find(build::kVersion), std::string::npos) << output;
}

TEST(ProgramStart, ConsoleScannerRejectsAnUnknownArgumentWithStatusTwo) {
    DWORD exitCode = 0;
    RunAndCapture(WinePath(BASTION_SCAN_EXE_PATH), L"--no-such-option", exitCode);
    EXPECT_EQ(exitCode, 2u);
}

}  // namespace
}  // namespace bastion::uitest
