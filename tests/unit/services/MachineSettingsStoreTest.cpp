#include "services/settings/MachineSettingsStore.h"

#include <gtest/gtest.h>

#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"
#include "support/FakeRegistry.h"
#include "support/ScriptedDialogs.h"

namespace bastion::services {
namespace {

using platform::Hive;
using platform::RegAccess;

constexpr const char* kMachineSettings = "SOFTWARE\\Testwall Labs\\Testwall\\Settings";
constexpr const char* kPermissionDeniedText =
    "Testwall requires read/write access to the system registry and hard drive in order to run properly.  This "
    "user account does not have the proper permissions set.  As a result some or all of your settings may not be "
    "properly saved.  Please contact your system administrator or change the permission settings for this "
    "account.\r\n\r\nIf you would like to prevent this error message from being displayed again, please press "
    "'Ignore'.";

class MachineSettingsStoreTest : public ::testing::Test {
protected:
    testing::FakeRegistry registry;
    testing::ScriptedDialogs dialogs;
    SettingsStore userSettings{registry, "Testwall"};
    MachineSettingsStore store{registry, " Testwall Labs ", "Testwall", userSettings, dialogs};

    void DenyMachineWrites() { registry.DenyAccess(Hive::LocalMachine, "SOFTWARE", RegAccess::ReadWrite); }
};

TEST_F(MachineSettingsStoreTest, WritesAndReadsUnderCompanyProductAndSectionTrimmed) {
    dialogs.FailOnUnscriptedQuestion();
    EXPECT_FALSE(store.Write(settings::kMachineFirstTime, settings::kYes).Failed());
    EXPECT_EQ(registry.GetString(Hive::LocalMachine, kMachineSettings, "FirstTime"), "Yes");
    EXPECT_EQ(store.ReadMachineSetting("  Testwall ", " Settings", "FirstTime", "").value, "Yes")
        << "not shortened, and found under the trimmed names";
    EXPECT_EQ(store.KeyPath(" App ", " Sec "), "SOFTWARE\\Testwall Labs\\App\\Sec");
}

TEST_F(MachineSettingsStoreTest, MissingKeyOrValueReadsTheDefault) {
    MachineSettingResult missingKey = store.Read(settings::kMachineFirstTime);
    EXPECT_FALSE(missingKey.Failed());
    EXPECT_EQ(missingKey.value, "");
    registry.SetString(Hive::LocalMachine, kMachineSettings, "showHelp", "0");
    MachineSettingResult missingValue = store.ReadMachineSetting("Testwall", "Settings", "FirstTime", "No");
    EXPECT_FALSE(missingValue.Failed());
    EXPECT_EQ(missingValue.value, "No");
    registry.SetString(Hive::LocalMachine, kMachineSettings, "Empty", "");
    EXPECT_EQ(store.ReadMachineSetting("Testwall", "Settings", "Empty", "dflt").value, "");
}

TEST_F(MachineSettingsStoreTest, EmptyNamesAreReportedInOrderOfChecking) {
    MachineSettingResult all = store.ReadMachineSetting(" ", "", "", "d");
    EXPECT_EQ(all.errorNumber, 1000);
    EXPECT_EQ(all.errorDescription, "AppName may not be empty");
    MachineSettingResult section = store.ReadMachineSetting("Testwall", "  ", "", "d");
    EXPECT_EQ(section.errorNumber, 1001);
    EXPECT_EQ(section.errorDescription, "Section may not be empty");
    MachineSettingResult key = store.ReadMachineSetting("Testwall", "Settings", " ", "d");
    EXPECT_EQ(key.errorNumber, 1002);
    EXPECT_EQ(key.errorDescription, "Key may not be empty");
    EXPECT_EQ(store.WriteMachineSetting("Testwall", "", "FirstTime", "Yes").errorNumber, 1001);
    EXPECT_FALSE(registry.HasKey(Hive::LocalMachine, "SOFTWARE\\Testwall Labs"));
    EXPECT_EQ(kApplicationErrorBase + key.errorNumber, -2147221504L + 1002);
}

TEST_F(MachineSettingsStoreTest, UnreadableKeyAndNonStringDataAreErrors) {
    registry.SetDword(Hive::LocalMachine, kMachineSettings, "FirstTime", 1);
    MachineSettingResult notString = store.Read(settings::kMachineFirstTime);
    EXPECT_EQ(notString.errorNumber, 2004);
    EXPECT_EQ(notString.errorDescription, "Registry data not a string");

    registry.DenyAccess(Hive::LocalMachine, "SOFTWARE\\Testwall Labs", RegAccess::Read);
    MachineSettingResult denied = store.Read(settings::kMachineFirstTime);
    EXPECT_EQ(denied.errorNumber, 2005);
    EXPECT_EQ(denied.errorDescription, "Could not open registry section");
}

TEST_F(MachineSettingsStoreTest, PermissionFailureAsksAndAbortGivesUp) {
    DenyMachineWrites();
    dialogs.AnswerMessageBox(MsgResult::Abort);
    MachineSettingResult result = store.Write(settings::kMachineFirstTime, "Yes");

    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(result.errorNumber, 2005);
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    const testing::AskedDialog& box = dialogs.Asked()[0];
    EXPECT_EQ(box.kind, testing::AskedDialog::Kind::MessageBox);
    EXPECT_EQ(box.title, "Permission Denied");
    EXPECT_EQ(box.text, kPermissionDeniedText);
    EXPECT_EQ(box.buttons, MsgButtons::AbortRetryIgnore);
    EXPECT_FALSE(registry.HasValue(Hive::LocalMachine, kMachineSettings, "FirstTime"));
    EXPECT_EQ(userSettings.Read(settings::kIgnorePermissionDeniedError), "0");
}

TEST_F(MachineSettingsStoreTest, RetryRepeatsTheFailedStepUntilItSucceeds) {
    DenyMachineWrites();
    dialogs.AnswerMessageBox(MsgResult::Retry);
    dialogs.AnswerMessageBox(MsgResult::Retry, [&] { registry.ClearAccessDenials(); });
    dialogs.FailOnUnscriptedQuestion();

    MachineSettingResult result = store.Write(settings::kMachineFirstTime, "Yes");
    EXPECT_FALSE(result.Failed());
    EXPECT_EQ(dialogs.Asked().size(), 2u);
    EXPECT_EQ(registry.GetString(Hive::LocalMachine, kMachineSettings, "FirstTime"), "Yes");
}

TEST_F(MachineSettingsStoreTest, IgnoreStoresTheChoiceAndLaterFailuresAreSilent) {
    DenyMachineWrites();
    dialogs.AnswerMessageBox(MsgResult::Ignore);
    EXPECT_TRUE(store.Write(settings::kMachineFirstTime, "Yes").Failed());
    EXPECT_EQ(registry.GetString(Hive::CurrentUser,
                                 "Software\\VB and VBA Program Settings\\Testwall\\Settings",
                                 "IgnorePermissionDeniedError"),
              "1");

    dialogs.FailOnUnscriptedQuestion();
    EXPECT_TRUE(store.Write(settings::kMachineShowHelp, "0").Failed());
    EXPECT_EQ(dialogs.Asked().size(), 1u);
}

TEST_F(MachineSettingsStoreTest, StoredIgnoreChoiceSilencesTheBoxFromTheStart) {
    userSettings.Write(settings::kIgnorePermissionDeniedError, "1");
    DenyMachineWrites();
    dialogs.FailOnUnscriptedQuestion();
    EXPECT_EQ(store.Write(settings::kMachineFirstTime, "Yes").errorNumber, 2005);
    EXPECT_TRUE(dialogs.Asked().empty());
}

}  // namespace
}  // namespace bastion::services
