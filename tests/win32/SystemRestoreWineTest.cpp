// Restore points through srclient.dll. Wine ships no working System
// Restore, so all that can be checked here is that beginning and ending
// a restore point answer without crashing, whether or not the library and
// its function are there; what the removal does with a refusal is tested
// with fakes.
#include <gtest/gtest.h>

#include "platform/win32/Win32SystemRestore.h"

namespace bastion::win32 {
namespace {

TEST(SystemRestoreWineTest, BeginAndEndAnswerWithoutCrashing) {
    Win32SystemRestore restore;
    std::string longDescription(400, 'd');  // longer than the system's field
    std::optional<std::int64_t> sequence = restore.Begin("Bastion Restore Point " + longDescription, 6);
    bool ended = restore.End(sequence.value_or(0));
    if (sequence) {
        EXPECT_TRUE(ended);
    }
    // Asked twice: the library is loaded once and kept.
    EXPECT_EQ(sequence.has_value(), restore.Begin("again", 6).has_value());
}

}  // namespace
}  // namespace bastion::win32
