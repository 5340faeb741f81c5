// Both programs start under Wine and show the identity of their own version
// resource, which the build filled from its configuration.
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "ProgramHarness.h"
#include "common/Utf.h"

namespace bastion::uitest {
namespace {

std::wstring Wide(const char* text) {
    std::u16string u16 = Utf8ToUtf16(text);
    return std::wstring(u16.begin(), u16.end());
}

TEST(ProgramStart, DesktopProgramOpensAWindowTitledWithTheProductAndCompanyAndCloses) {
    StartedProgram program(WinePath(BASTION_EXE_PATH), L"");
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow(20000);
    ASSERT_NE(window, nullptr) << "no window appeared";
    EXPECT_EQ(WindowText(window), Wide(build::kProductName) + L" by " + Wide(build::kCompanyName));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
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
