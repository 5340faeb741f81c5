// The registry fake behaves as the engine's tests assume the real one does.
#include "support/FakeRegistry.h"

#include <gtest/gtest.h>

namespace bastion::testing {
namespace {

using namespace platform;
using Names = std::vector<std::string>;

TEST(FakeRegistry, NamesMatchIgnoringCaseAndKeepTheirStoredCase) {
    FakeRegistry registry;
    registry.SetString(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Path", "C:\\x");
    RegValue value;
    ASSERT_EQ(registry.QueryValue(Hive::LocalMachine, "software\\SPYCO\\", "path", value), kRegOk);
    EXPECT_EQ(value.text, "C:\\x");

    ASSERT_EQ(registry.SetValue(Hive::LocalMachine, "Software\\spyco", "PATH", RegValue::String("D:\\y")), kRegOk);
    EXPECT_EQ(registry.ValueNames(Hive::LocalMachine, "SOFTWARE\\SpyCo"), Names{"Path"});
    EXPECT_EQ(registry.GetString(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Path"), "D:\\y");
    EXPECT_EQ(registry.Subkeys(Hive::LocalMachine, "software"), Names{"SpyCo"});
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, "SOFTWARE\\SpyCo"));
}

TEST(FakeRegistry, CreatesParentsEnumeratesInCreationOrderAndDeletesTrees) {
    FakeRegistry registry;
    ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, "Software\\Zed\\Inner"), kRegOk);
    ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, "Software\\Alpha"), kRegOk);
    registry.SetDword(Hive::CurrentUser, "Software\\Zed\\Inner", "b", 1);
    registry.SetDword(Hive::CurrentUser, "Software\\Zed\\Inner", "a", 2);

    Names names;
    ASSERT_EQ(registry.EnumerateSubkeys(Hive::CurrentUser, "Software", names), kRegOk);
    EXPECT_EQ(names, (Names{"Zed", "Alpha"}));
    ASSERT_EQ(registry.EnumerateValues(Hive::CurrentUser, "Software\\Zed\\Inner", names), kRegOk);
    EXPECT_EQ(names, (Names{"b", "a"}));

    EXPECT_EQ(registry.DeleteTree(Hive::CurrentUser, "software\\zed"), kRegOk);
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, "Software\\Zed\\Inner"));
    EXPECT_TRUE(registry.HasKey(Hive::CurrentUser, "Software\\Alpha"));
    EXPECT_EQ(registry.DeleteTree(Hive::CurrentUser, "Software\\Zed"), kRegNotFound);
    EXPECT_EQ(registry.DeleteValue(Hive::CurrentUser, "Software\\Alpha", "none"), kRegNotFound);
}

// A user without administrative rights: machine keys open for reading only.
TEST(FakeRegistry, DeniesAccessFromTheGivenLevelUpBelowThePrefix) {
    FakeRegistry registry;
    registry.SetString(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Name", "x");
    registry.SetString(Hive::LocalMachine, "SOFTWARE\\SpyCompany", "Name", "x");
    registry.DenyAccess(Hive::LocalMachine, "Software\\SpyCo", RegAccess::ReadWrite);

    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCo", RegAccess::Read), kRegOk);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCo", RegAccess::ReadWrite), kRegAccessDenied);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCo", RegAccess::All), kRegAccessDenied);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCo\\Missing", RegAccess::All), kRegNotFound);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCompany", RegAccess::All), kRegOk);

    RegValue value;
    EXPECT_EQ(registry.QueryValue(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Name", value), kRegOk);
    EXPECT_EQ(registry.SetValue(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Name", RegValue::String("y")),
              kRegAccessDenied);
    EXPECT_EQ(registry.CreateKey(Hive::LocalMachine, "SOFTWARE\\SpyCo\\Sub"), kRegAccessDenied);
    EXPECT_EQ(registry.DeleteTree(Hive::LocalMachine, "SOFTWARE\\SpyCo"), kRegAccessDenied);
    EXPECT_EQ(registry.GetString(Hive::LocalMachine, "SOFTWARE\\SpyCo", "Name"), "x");

    registry.DenyAccess(Hive::LocalMachine, "", RegAccess::All);
    EXPECT_EQ(registry.OpenKey(Hive::LocalMachine, "SOFTWARE\\SpyCompany", RegAccess::ReadWrite), kRegOk);
    EXPECT_EQ(registry.DeleteTree(Hive::LocalMachine, "SOFTWARE\\SpyCompany"), kRegAccessDenied);
}

}  // namespace
}  // namespace bastion::testing
