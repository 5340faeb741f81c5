// The console scanner's control handler: Ctrl+C and Ctrl+Break are taken
// and noted for the scan's event pump; closing the console is left to the
// system. (Wine generates no Ctrl+Break for another process, so the
// handler is called here as the system would call it.)
#include <gtest/gtest.h>

#include "main/ConsoleControl.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {
namespace {

TEST(ConsoleControlWineTest, CtrlCAndCtrlBreakAreNotedAndClosingIsNotTaken) {
    std::atomic<bool>& interrupted = InstallConsoleInterruptHandler();
    interrupted = false;

    EXPECT_TRUE(HandleConsoleControl(CTRL_BREAK_EVENT));
    EXPECT_TRUE(interrupted.exchange(false));
    EXPECT_TRUE(HandleConsoleControl(CTRL_C_EVENT));
    EXPECT_TRUE(interrupted.exchange(false));

    EXPECT_FALSE(HandleConsoleControl(CTRL_CLOSE_EVENT));
    EXPECT_FALSE(HandleConsoleControl(CTRL_LOGOFF_EVENT));
    EXPECT_FALSE(interrupted);
    EXPECT_EQ(&InstallConsoleInterruptHandler(), &interrupted) << "one flag for the whole program";
}

// The scanner writes UTF-8 while it runs; the terminal it ran in gets its
// own code page back, so what the user types next shows as before.
TEST(ConsoleControlWineTest, TheConsolesOutputCodePageIsRestoredWhenTheScannerEnds) {
    // Run from a pipe, the test has no usable console: it takes one of its
    // own.
    bool allocated = false;
    if (GetConsoleOutputCP() == 0) {
        FreeConsole();
        allocated = AllocConsole() != FALSE;
    }
    if (GetConsoleOutputCP() == 0) GTEST_SKIP() << "no console to try it on";
    const UINT before = GetConsoleOutputCP();
    ASSERT_TRUE(SetConsoleOutputCP(850));
    {
        Win32Console console;
        EXPECT_EQ(GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
    }
    EXPECT_EQ(GetConsoleOutputCP(), 850u);
    SetConsoleOutputCP(before);
    if (allocated) FreeConsole();
}

}  // namespace
}  // namespace bastion::win32
