// The single-instance test against the system's named objects: a second
// lock stands for a second run of the program.
#include <gtest/gtest.h>

#include <memory>

#include "platform/win32/Win32InstanceLock.h"

namespace bastion::win32 {
namespace {

TEST(InstanceLockWineTest, TheFirstRunHoldsTheNameUntilItEndsAndAnotherNameIsFree) {
    const std::string name = "Bastion Instance Test";
    auto first = std::make_unique<Win32InstanceLock>();
    EXPECT_FALSE(first->AnotherInstanceRunning(name));
    // Asking again within the same run still finds no other run.
    EXPECT_FALSE(first->AnotherInstanceRunning(name));

    auto second = std::make_unique<Win32InstanceLock>();
    EXPECT_TRUE(second->AnotherInstanceRunning(name));
    EXPECT_TRUE(second->AnotherInstanceRunning(name));
    EXPECT_FALSE(second->AnotherInstanceRunning("Another Product"));

    // The second run holds the name as well while it lives.
    first.reset();
    second.reset();
    EXPECT_FALSE(Win32InstanceLock().AnotherInstanceRunning(name));
}

TEST(InstanceLockWineTest, ABackslashInTheNameStaysOutOfTheNamespace) {
    EXPECT_EQ(Win32InstanceLock::MutexName("A\\B"), L"Local\\A_B.Instance");
    Win32InstanceLock lock;
    EXPECT_FALSE(lock.AnotherInstanceRunning("Odd\\Name"));
    EXPECT_TRUE(Win32InstanceLock().AnotherInstanceRunning("Odd\\Name"));
}

}  // namespace
}  // namespace bastion::win32
