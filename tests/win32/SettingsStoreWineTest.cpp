// The settings stores over Wine's real registry: the per-user store lands
// where the per-application settings facility keeps it, so Wine's own
// reg.exe finds it there too.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "support/ScriptedDialogs.h"
#include "WineTestSupport.h"
#include "platform/win32/Win32Registry.h"
#include "services/settings/MachineSettingsStore.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"

namespace bastion::win32 {
namespace {

using platform::Hive;

constexpr const char* kSettingsRoot = "Software\\VB and VBA Program Settings\\";

class SettingsStoreWineTest : public ::testing::Test {
protected:
    void TearDown() override { registry.DeleteTree(Hive::CurrentUser, kSettingsRoot + application); }

    Win32Registry registry;
    std::string application = test::UniqueName("BastionSettings");
    services::SettingsStore store{registry, application};
};

TEST_F(SettingsStoreWineTest, ValuesLandUnderVbAndVbaProgramSettings) {
    ASSERT_TRUE(store.Write(services::settings::kLanguage, "Deutsch"));
    ASSERT_TRUE(store.Write(services::settings::kStatus, services::settings::kRunning));
    ASSERT_TRUE(store.WriteSetting(services::settings::kSectionDrives, "C:\\ (Local Disk)", "False"));

    const std::string section = kSettingsRoot + application + "\\Settings";
    platform::RegValue value;
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, section, "Language", value));
    EXPECT_EQ(platform::RegType::String, value.type);
    EXPECT_EQ("Deutsch", value.text);
    ASSERT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser,
                                                    kSettingsRoot + application + "\\OptionAndSettings",
                                                    "STATUS", value));
    EXPECT_EQ("RUNNING", value.text);

    const test::ChildResult query =
        test::RunChild("reg.exe query \"HKCU\\Software\\VB and VBA Program Settings\\" + application + "\\Settings\"");
    ASSERT_TRUE(query.started);
    EXPECT_EQ(0u, query.exitCode) << query.output;
    EXPECT_NE(std::string::npos, query.output.find("Language")) << query.output;
    EXPECT_NE(std::string::npos, query.output.find("REG_SZ")) << query.output;
    EXPECT_NE(std::string::npos, query.output.find("Deutsch")) << query.output;

    // Another store over the same registry reads what this one wrote.
    services::SettingsStore again(registry, application);
    EXPECT_EQ("Deutsch", again.Read(services::settings::kLanguage));
    EXPECT_EQ("False", again.ReadSetting(services::settings::kSectionDrives, "C:\\ (Local Disk)", "True"));
    EXPECT_EQ("Never", again.Read(services::settings::kLblLastScan));
}

TEST_F(SettingsStoreWineTest, MachineSettingsRoundTripUnderSoftwareCompanyProduct) {
    testing::ScriptedDialogs dialogs;
    dialogs.FailOnUnscriptedQuestion();
    const std::string company = test::UniqueName("BastionCompany");
    services::MachineSettingsStore machine(registry, company + " ", application, store, dialogs);

    const services::MachineSettingResult written =
        machine.Write(services::settings::kMachineFirstTime, services::settings::kYes);
    EXPECT_FALSE(written.Failed()) << written.errorNumber;
    platform::RegValue value;
    EXPECT_EQ(platform::kRegOk,
              registry.QueryValue(Hive::LocalMachine, "SOFTWARE\\" + company + "\\" + application + "\\Settings",
                                  "FirstTime", value));
    EXPECT_EQ("Yes", machine.Read(services::settings::kMachineFirstTime).value);
    EXPECT_EQ("dflt", machine.ReadMachineSetting(application, "Settings", "Absent", "dflt").value);
    registry.DeleteTree(Hive::LocalMachine, "SOFTWARE\\" + company);
}

}  // namespace
}  // namespace bastion::win32
