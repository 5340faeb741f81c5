// The single-instance test against the system's named objects: a second
// lock stands for a second run of the program, and reads which process
// holds the name.
#include <gtest/gtest.h>

#include <memory>

#include "platform/win32/Win32InstanceLock.h"

namespace bastion::win32 {
namespace {

TEST(InstanceLockWineTest, TheFirstRunHoldsTheNameUntilItEndsAndLaterRunsReadWhoHoldsIt) {
    const std::string name = "Bastion Instance Test";
    auto first = std::make_unique<Win32InstanceLock>();
    EXPECT_TRUE(first->Claim(name).first);
    // Asking again within the same run still finds no other run.
    EXPECT_TRUE(first->Claim(name).first);

    auto second = std::make_unique<Win32InstanceLock>();
    const platform::InstanceClaim claim = second->Claim(name);
    EXPECT_FALSE(claim.first);
    EXPECT_EQ(claim.holder, ::GetCurrentProcessId());
    EXPECT_TRUE(second->Claim("Another Product").first);

    // The second run holds the name as well while it lives.
    first.reset();
    second.reset();
    EXPECT_TRUE(Win32InstanceLock().Claim(name).first);
}

TEST(InstanceLockWineTest, ANameTakenByAnotherProgramReadsAsHeldByItAndCanBeTakenOver) {
    const std::string name = "Bastion Squatted Test";
    // Another program made the object first and names no holder.
    UniqueHandle squatter(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                               Win32InstanceLock::SectionName(name).c_str()));
    ASSERT_TRUE(squatter);
    Win32InstanceLock run;
    EXPECT_EQ(run.Claim(name).holder, 0u);
    run.TakeOver(name);
    EXPECT_EQ(Win32InstanceLock().Claim(name).holder, ::GetCurrentProcessId());
    // An object of another kind under the name tells nothing either.
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, Win32InstanceLock::SectionName("Bastion Mutex Test").c_str()));
    const platform::InstanceClaim other = Win32InstanceLock().Claim("Bastion Mutex Test");
    EXPECT_FALSE(other.first);
    EXPECT_EQ(other.holder, 0u);
}

TEST(InstanceLockWineTest, ABackslashInTheNameStaysOutOfTheNamespace) {
    EXPECT_EQ(Win32InstanceLock::SectionName("A\\B"), L"Local\\A_B.Instance");
    Win32InstanceLock lock;
    EXPECT_TRUE(lock.Claim("Odd\\Name").first);
    EXPECT_FALSE(Win32InstanceLock().Claim("Odd\\Name").first);
}

}  // namespace
}  // namespace bastion::win32
