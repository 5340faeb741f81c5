#include "app/RunAtStartup.h"

#include <gtest/gtest.h>

#include "services/settings/SettingKeys.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using platform::Hive;

const std::string kRun{kRunKeyPath};
constexpr const char* kCommand = "\"C:\\Program Files\\Bastion\\Bastion.exe\"";

// The machine-wide list in both views and the per-user one are written
// and read on the real registry under Wine; here what only a fake shows: a
// standard user, and the products' rules at start.
struct RunAtStartupTest : ::testing::Test {
    App& Start(const std::string& product = "Testwall") {
        services::Identity identity = testing::TestIdentity();
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
        // Ticked as stored, with no entry left: shown as it is, not written.
        {"Testwall", {}, "1", "(Disabled - Run Manually)", true},
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

TEST_F(RunAtStartupTest, EntriesNeverDriftWhateverTheUserMayWrite) {
    enum class Act { Restore, Tick, Untick };
    struct Case {
        const char* name;
        bool machineEntry;     // an entry for all users before
        bool userEntry;        // one for this user before
        bool mayWriteMachine;  // an administrator with rights, or a standard user
        Act act;
        bool machineAfter;
        bool userAfter;
        bool told;  // the user hears what could not be removed
        const char* label;
    };
    const Case cases[] = {
        {"restored, ticked, entry for all users", true, false, false, Act::Restore, true, false, false,
         "(Enabled - All Users)"},
        {"restored, ticked, no entry", false, false, true, Act::Restore, false, false, false,
         "(Disabled - Run Manually)"},
        {"ticked with an entry for all users", true, false, false, Act::Tick, true, false, false,
         "(Enabled - All Users)"},
        {"ticked with an entry for this user", false, true, true, Act::Tick, false, true, false,
         "(Enabled - This User)"},
        {"ticked with rights", false, false, true, Act::Tick, true, false, false, "(Enabled - All Users)"},
        {"ticked without rights", false, false, false, Act::Tick, false, true, false, "(Enabled - This User)"},
        {"unticked with rights", true, true, true, Act::Untick, false, false, false, "(Disabled - Run Manually)"},
        {"unticked without rights", true, true, false, Act::Untick, true, false, true, "(Enabled - All Users)"},
    };
    for (const Case& c : cases) {
        machine.registry.ClearAccessDenials();
        machine.registry.DeleteTree(Hive::LocalMachine, "SOFTWARE");
        machine.registry.DeleteTree(Hive::CurrentUser, "SOFTWARE");
        if (c.machineEntry) machine.registry.SetString(Hive::LocalMachine, kRun, "Bastion", kCommand);
        if (c.userEntry) machine.registry.SetString(Hive::CurrentUser, kRun, "Bastion", kCommand);
        if (!c.mayWriteMachine) machine.registry.DenyAccess(Hive::LocalMachine, "", platform::RegAccess::ReadWrite);
        const std::size_t toldBefore = dialogs.Asked().size();
        App& run = Start();
        run.settings.Write(keys::kChkRunAtStartup, c.act == Act::Tick ? "0" : "1");
        RestoreRunAtStartup(RunAtStartupOf(run));
        if (c.act != Act::Restore) run.form.chkRunAtStartup.Click();

        EXPECT_EQ(machine.registry.HasValue(Hive::LocalMachine, kRun, "Bastion"), c.machineAfter) << c.name;
        EXPECT_EQ(machine.registry.HasValue(Hive::CurrentUser, kRun, "Bastion"), c.userAfter) << c.name;
        EXPECT_EQ(dialogs.Asked().size() - toldBefore, c.told ? 1u : 0u) << c.name;
        EXPECT_EQ(Label(), c.label) << c.name;
    }
}

}  // namespace
}  // namespace bastion
