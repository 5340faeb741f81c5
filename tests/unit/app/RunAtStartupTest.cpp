#include "app/RunAtStartup.h"

#include <gtest/gtest.h>

#include "app/StartupSequence.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = ui::settings;
using platform::Hive;
using platform::RegView;

const std::string kRun{kRunKeyPath};
constexpr const char* kCommand = "\"C:\\Program Files\\Bastion\\Bastion.exe\"";

struct RunAtStartupTest : ::testing::Test {
    App& Start(const std::string& product = "Testwall") {
        ui::Identity identity = testing::TestIdentity();
        identity.productName = product;
        app.emplace(machine.Bundle(), dialogs, pump, identity);
        BindRunAtStartup(RunAtStartupOf(*app));
        return *app;
    }
    std::optional<std::string> Entry(Hive hive, const std::string& name = "Bastion") {
        return machine.registry.GetString(hive, kRun, name);
    }
    std::string Label() { return app->form.lblRunAtStart.Caption(); }

    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    std::optional<App> app;
};

TEST_F(RunAtStartupTest, TickingWritesTheQuotedPathForAllUsersOrForThisUserWhenTheMachineListIsClosed) {
    App& run = Start();
    run.form.chkRunAtStartup.Click();
    EXPECT_EQ(Entry(Hive::LocalMachine), kCommand);
    EXPECT_FALSE(Entry(Hive::CurrentUser));
    EXPECT_EQ(Label(), "(Enabled - All Users)");
    EXPECT_EQ(run.settings.Read(keys::kChkRunAtStartup), "1");

    run.form.chkRunAtStartup.Click();
    EXPECT_FALSE(Entry(Hive::LocalMachine));
    EXPECT_EQ(Label(), "(Disabled - Run Manually)");
    EXPECT_EQ(run.settings.Read(keys::kChkRunAtStartup), "0");

    // A standard user.
    machine.registry.DenyAccess(Hive::LocalMachine, "", platform::RegAccess::ReadWrite);
    run.form.chkRunAtStartup.Click();
    EXPECT_FALSE(Entry(Hive::LocalMachine));
    EXPECT_EQ(Entry(Hive::CurrentUser), kCommand);
    EXPECT_EQ(Label(), "(Enabled - This User)");
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(RunAtStartupTest, UntickingRemovesThisProgramsEntriesFromBothListsAndBothViewsOnly) {
    App& run = Start();
    machine.registry.SetString(Hive::LocalMachine, kRun, "Bastion", "C:\\Old\\Bastion");
    machine.registry.SetString(Hive::LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                               "Testwall", "\"C:\\Program Files (x86)\\Testwall\\BASTION.EXE\" /tray");
    machine.registry.SetString(Hive::CurrentUser, kRun, "Bastion", kCommand);
    // Another program's entries, one of them under this program's name.
    machine.registry.SetString(Hive::CurrentUser, kRun, "Testwall", "C:\\Other\\Helper.exe");
    machine.registry.SetString(Hive::LocalMachine, kRun, "Helper", "C:\\Bastion Tools\\Helper.exe");

    run.form.chkRunAtStartup.SetValue(ui::kChecked);
    run.form.chkRunAtStartup.Click();
    EXPECT_FALSE(Entry(Hive::LocalMachine));
    EXPECT_FALSE(machine.registry.HasValue(Hive::LocalMachine,
                                           "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                                           "Testwall"));
    EXPECT_FALSE(Entry(Hive::CurrentUser));
    EXPECT_EQ(Entry(Hive::CurrentUser, "Testwall"), "C:\\Other\\Helper.exe");
    EXPECT_EQ(Entry(Hive::LocalMachine, "Helper"), "C:\\Bastion Tools\\Helper.exe");
    EXPECT_EQ(Label(), "(Disabled - Run Manually)");
}

TEST_F(RunAtStartupTest, TheLabelAtStartTellsOfTheInstallersEntryAndTheBoxComesBackAsStored) {
    struct Case {
        const char* product;
        Hive hive;
        const char* path;
        const char* name;
        platform::RegValue value;
        const char* stored;  // "chkRunAtStartup", nullptr when missing
        const char* label;
        bool ticked;
    } cases[] = {
        {"Testwall", Hive::LocalMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "Testwall",
         platform::RegValue::String("C:\\PROGRA~1\\BASTION\\bastion.exe"), nullptr, "(Enabled - All Users)", false},
        {"Testwall", Hive::CurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", " Testwall ",
         platform::RegValue::String("C:\\Bastion\\Bastion.exe"), "0", "(Disabled - Run Manually)", false},
        {"Testwall", Hive::CurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Testwall",
         platform::RegValue::String("C:\\Bastion\\Bastion.exe"), "0", "(Enabled - This User)", false},
        {"Testwall", Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Testwall",
         platform::RegValue::Dword(1), nullptr, "(Disabled - Run Manually)", false},
        // Ticked as stored: the restore's click writes the entry.
        {"Testwall", Hive::CurrentUser, "SOFTWARE\\Other", "x", platform::RegValue::String(""), "1",
         "(Enabled - All Users)", true},
        // The one product that runs at start-up from its first run on.
        {"Fennimar", Hive::CurrentUser, "SOFTWARE\\Other", "x", platform::RegValue::String(""), nullptr,
         "(Enabled - All Users)", true},
        {"Fennimar", Hive::CurrentUser, "SOFTWARE\\Other", "x", platform::RegValue::String(""), "0",
         "(Disabled - Run Manually)", false},
    };
    for (const Case& c : cases) {
        machine.registry.DeleteTree(Hive::LocalMachine, "SOFTWARE");
        machine.registry.DeleteTree(Hive::CurrentUser, "SOFTWARE");
        machine.registry.Set(c.hive, c.path, c.name, c.value);
        App& run = Start(c.product);
        if (c.stored) run.settings.Write(keys::kChkRunAtStartup, c.stored);
        RestoreRunAtStartup(RunAtStartupOf(run));
        const std::string label = std::string(c.product) + " " + c.name + " " + (c.stored ? c.stored : "-");
        EXPECT_EQ(Label(), c.label) << label;
        EXPECT_EQ(run.form.chkRunAtStartup.Checked(), c.ticked) << label;
        if (std::string(c.product) == "Fennimar") {
            EXPECT_EQ(run.settings.Read(keys::kRanOneTime), "1") << label;
        }
    }
}

}  // namespace
}  // namespace bastion
