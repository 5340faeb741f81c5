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

}  // namespace
}  // namespace bastion::win32
