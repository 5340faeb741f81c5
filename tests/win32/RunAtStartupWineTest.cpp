// The run-at-start-up box over Wine's real registry: the Run values it
// writes and removes in HKEY_LOCAL_MACHINE (both views) and
// HKEY_CURRENT_USER. Every value the test makes is deleted again: the
// prefix would start it at its next boot.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "app/RunAtStartup.h"
#include "platform/win32/Win32Registry.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmMain.h"

namespace bastion::win32 {
namespace {

using platform::Hive;
using platform::RegView;

const std::string kRun{kRunKeyPath};

class RunAtStartupWineTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& name : {executable, product}) {
            for (RegView view : {RegView::Bits64, RegView::Bits32})
                registry.DeleteValue(Hive::LocalMachine, kRun, name, view);
            registry.DeleteValue(Hive::CurrentUser, kRun, name);
        }
        registry.DeleteTree(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\" + product);
    }
    std::optional<std::string> Value(Hive hive, const std::string& name, RegView view = RegView::Default) {
        platform::RegValue value;
        if (registry.QueryValue(hive, kRun, name, value, view) != platform::kRegOk) return std::nullopt;
        return value.text;
    }

    Win32Registry registry;
    std::string executable = test::UniqueName("BastionRun");
    std::string product = test::UniqueName("BastionProduct");
    std::string programPath = "C:\\Program Files\\Bastion Run Test\\" + executable + ".exe";
    services::SettingsStore settings{registry, product};
    ui::FrmMain form;
    const services::MessageCatalogue messages = ProgramMessages(testing::TestIdentity());
    testing::ScriptedDialogs dialogs;
    RunAtStartupEnvironment env{form, registry, settings, messages, dialogs, product, programPath};
};

TEST_F(RunAtStartupWineTest, TheRunValuesAreWrittenAndRemovedInBothKeysAndBothViews) {
    // Another program's value under this product's name stays.
    const platform::RegValue other = platform::RegValue::String("C:\\Other\\Helper.exe");
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, kRun, product, other));
    BindRunAtStartup(env);
    form.chkRunAtStartup.Click();
    EXPECT_EQ(Value(Hive::LocalMachine, executable), "\"" + programPath + "\"");
    EXPECT_EQ(form.lblRunAtStart.Caption(), "(Enabled - All Users)");

    // An installer's 32-bit entry, and one for this user, both of this
    // program; the label finds each where it is.
    form.chkRunAtStartup.Click();
    ASSERT_EQ(platform::kRegOk,
              registry.SetValue(Hive::LocalMachine, kRun, product,
                                platform::RegValue::String("C:\\Progra~2\\Bastion\\" + executable + ".exe"),
                                RegView::Bits32));
    ASSERT_EQ(platform::kRegOk, registry.SetValue(Hive::CurrentUser, kRun, executable,
                                                  platform::RegValue::String("\"" + programPath + "\"")));
    EXPECT_FALSE(Value(Hive::LocalMachine, product, RegView::Bits64)) << "the views are apart";
    ShowRunAtStartupStatus(env);
    EXPECT_EQ(form.lblRunAtStart.Caption(), "(Enabled - All Users)");
    registry.DeleteValue(Hive::LocalMachine, kRun, product, RegView::Bits32);
    ShowRunAtStartupStatus(env);
    EXPECT_EQ(form.lblRunAtStart.Caption(), "(Enabled - This User)");

    ASSERT_EQ(platform::kRegOk,
              registry.SetValue(Hive::LocalMachine, kRun, product,
                                platform::RegValue::String("C:\\Progra~2\\Bastion\\" + executable + ".exe"),
                                RegView::Bits32));
    form.chkRunAtStartup.Click();
    form.chkRunAtStartup.Click();
    EXPECT_FALSE(Value(Hive::LocalMachine, product, RegView::Bits32));
    EXPECT_FALSE(Value(Hive::LocalMachine, executable));
    EXPECT_FALSE(Value(Hive::CurrentUser, executable));
    EXPECT_EQ(form.lblRunAtStart.Caption(), "(Disabled - Run Manually)");
    EXPECT_EQ(settings.Read(services::settings::kChkRunAtStartup), "0");
    EXPECT_EQ(Value(Hive::CurrentUser, product), other.text);
}

}  // namespace
}  // namespace bastion::win32
