#include "app/RunAtStartup.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = ui::settings;
using platform::Hive;

const std::string kRun{kRunKeyPath};
constexpr const char* kCommand = "\"C:\\Program Files\\Bastion\\Bastion.exe\"";

// The machine-wide list in both views and the per-user one are written
// and read on the real registry under Wine; here what only a fake shows: a
// standard user, and the products' rules at start.
struct RunAtStartupTest : ::testing::Test {
    App& Start(const std::string& product = "Testwall") {
        ui::Identity identity = testing::TestIdentity();
        identity.productName = product;
        app.emplace(machine.Bundle(), dialogs, pump, identity);
        BindRunAtStartup(RunAtStartupOf(*app));
        return *app;
    }
    std::string Label() { return app->form.lblRunAtStart.Caption(); }

    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    std::optional<App> app;
};

TEST_F(RunAtStartupTest, AStandardUsersTickWritesTheQuotedPathForThisUserAndTheLabelSaysSo) {
    machine.registry.DenyAccess(Hive::LocalMachine, "", platform::RegAccess::ReadWrite);
    App& run = Start();
    run.form.chkRunAtStartup.Click();
    EXPECT_FALSE(machine.registry.HasValue(Hive::LocalMachine, kRun, "Bastion"));
    EXPECT_EQ(machine.registry.GetString(Hive::CurrentUser, kRun, "Bastion"), kCommand);
    EXPECT_EQ(Label(), "(Enabled - This User)");
    EXPECT_EQ(run.settings.Read(keys::kChkRunAtStartup), "1");

    run.form.chkRunAtStartup.Click();
    EXPECT_FALSE(machine.registry.HasValue(Hive::CurrentUser, kRun, "Bastion"));
    EXPECT_EQ(Label(), "(Disabled - Run Manually)");
    EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(RunAtStartupTest, TheBoxComesBackAsStoredAndTheLabelTellsOfAnInstallersEntry) {
    struct Case {
        const char* product;
        platform::RegValue installerEntry;  // this user's, named after the product
        const char* stored;                 // "chkRunAtStartup", nullptr when missing
        const char* label;
        bool ticked;
    } cases[] = {
        {"Testwall", platform::RegValue::String("C:\\Bastion\\BASTION.EXE"), "0", "(Enabled - This User)", false},
        {"Testwall", platform::RegValue::Dword(1), nullptr, "(Disabled - Run Manually)", false},
        // Ticked as stored: the restore's click writes the entry.
        {"Testwall", {}, "1", "(Enabled - All Users)", true},
        // The one product that runs at start-up from its first run on.
        {"Fennimar", {}, nullptr, "(Enabled - All Users)", true},
        {"Fennimar", {}, "0", "(Disabled - Run Manually)", false},
    };
    for (const Case& c : cases) {
        machine.registry.DeleteTree(Hive::LocalMachine, "SOFTWARE");
        machine.registry.DeleteTree(Hive::CurrentUser, "SOFTWARE");
        if (c.installerEntry.type != platform::RegType::None) {
            machine.registry.Set(Hive::CurrentUser, kRun, c.product, c.installerEntry);
        }
        App& run = Start(c.product);
        if (c.stored) run.settings.Write(keys::kChkRunAtStartup, c.stored);
        RestoreRunAtStartup(RunAtStartupOf(run));
        const std::string label = std::string(c.product) + " " + (c.stored ? c.stored : "-");
        EXPECT_EQ(Label(), c.label) << label;
        EXPECT_EQ(run.form.chkRunAtStartup.Checked(), c.ticked) << label;
        EXPECT_EQ(run.settings.Read(keys::kRanOneTime), c.product == std::string("Fennimar") ? "1" : "0") << label;
    }
}

}  // namespace
}  // namespace bastion
