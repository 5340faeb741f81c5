// The first start as a person meets it: the greeting with its offer to
// update, noted for the whole machine. Every other window test starts on a
// machine that was greeted already (ReturningUser.cpp).
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "Screenshot.h"
#include "platform/win32/WideText.h"

namespace bastion::uitest {
namespace {

std::wstring MachineSettingsKey() {
    return L"SOFTWARE\\" + win32::Widen(build::kCompanyName) + L"\\" + win32::Widen(build::kProductName) + L"\\Settings";
}
std::wstring UserSettingsKey() {
    return L"Software\\VB and VBA Program Settings\\" + win32::Widen(build::kProductName) + L"\\Settings";
}

void MarkGreeted() {
    const wchar_t yes[] = L"Yes";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, MachineSettingsKey().c_str(), L"FirstTime", REG_SZ, yes, sizeof(yes));
}

bool Greeted() {
    wchar_t value[16] = {};
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_LOCAL_MACHINE, MachineSettingsKey().c_str(), L"FirstTime", RRF_RT_REG_SZ, nullptr, value,
                        &size) == ERROR_SUCCESS &&
           std::wstring(value) == L"Yes";
}

// The greeting box of the process, waiting up to the given time.
HWND Greeting(const StartedProgram& program, DWORD milliseconds) {
    struct Search {
        DWORD processId;
        HWND found = nullptr;
    } search{program.ProcessId()};
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        EnumWindows(
            [](HWND window, LPARAM argument) -> BOOL {
                auto& search = *reinterpret_cast<Search*>(argument);
                DWORD processId = 0;
                GetWindowThreadProcessId(window, &processId);
                if (processId != search.processId || ClassName(window) != L"#32770" ||
                    WindowText(window) != L"Update Now?") {
                    return TRUE;
                }
                search.found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

TEST(FirstStart, TheFirstStartGreetsInFrontOfTheWindowAndNotesItForTheMachine) {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, MachineSettingsKey().c_str(), L"FirstTime");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, UserSettingsKey().c_str(), L"FirstTime");
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND box = Greeting(program, 20000);
    if (!box) MarkGreeted();
    ASSERT_NE(box, nullptr) << "no greeting";
    std::wstring text;
    for (HWND part : FindDescendants(box, L"Static")) text += WindowText(part);
    EXPECT_NE(text.find(L"Would you like to run Live Update now?"), std::wstring::npos);
    EXPECT_TRUE(SaveScreenshot(box, "greeting"));
    HWND window = program.WaitForWindow(5000);
    ASSERT_NE(window, nullptr) << "the window shows behind the greeting";
    EXPECT_TRUE(Greeted());
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    for (int wait = 0; wait < 100 && IsWindow(box); ++wait) Sleep(50);
    EXPECT_FALSE(IsWindow(box));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace bastion::uitest
