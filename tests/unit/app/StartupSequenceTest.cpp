#include "app/StartupSequence.h"

#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "app/MainWindowHandlers.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/MachineSettingsStore.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using platform::Hive;
using testing::WindowRecord;

constexpr const char* kHelpFile = "C:\\Program Files\\Bastion\\Help.chm";

services::Identity Product(const std::string& name) {
    services::Identity identity = testing::TestIdentity();
    identity.productName = name;
    return identity;
}

// One start of the program with its window's native side recorded, the
// tray reachable unless a test says otherwise.
struct StartupRun {
    StartupRun(testing::FakePlatform& machine, const std::string& product = "Testwall", bool trayReachable = true)
        : app(machine.Bundle(), dialogs, pump, Product(product)),
          lifecycle(app, testing::RecordingSeams(window)),
          handlers(app, TrayAction(trayReachable)),
          sequence(app, lifecycle, Seams()) {}

    MainWindowActions TrayAction(bool reachable) {
        MainWindowActions actions;
        if (reachable) actions.minimizeToTray = [this] { window.calls.push_back("tray"); };
        return actions;
    }
    StartupSeams Seams() {
        StartupSeams seams;
        seams.loadDeleteListWindow = [this] { window.calls.push_back("delete list"); };
        seams.showWindow = [this] { window.calls.push_back("show"); };
        seams.goToTray = [this] { return handlers.GoToTray(); };
        return seams;
    }
    std::vector<testing::AskedDialog> Greetings() const {
        std::vector<testing::AskedDialog> greetings;
        for (const auto& asked : dialogs.Asked()) {
            if (asked.title == "Update Now?") greetings.push_back(asked);
        }
        return greetings;
    }

    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    WindowRecord window;
    App app;
    MainWindowLifecycle lifecycle;
    MainWindowHandlers handlers;
    StartupSequence sequence;
};

struct StartupSequenceTest : ::testing::Test {
    std::string MachineSetting(const services::SettingKey& key, StartupRun& run) {
        services::MachineSettingsStore store(machine.registry, "Testwall Labs", run.app.identity.productName,
                                       run.app.settings, run.dialogs);
        return store.Read(key).value;
    }

    testing::FakePlatform machine;
};

TEST_F(StartupSequenceTest, AFreshProfileRunsEveryStepInOrderAndIsGreetedOnce) {
    machine.files.AddFile(kHelpFile);
    StartupRun run(machine);
    ui::FrmMain& form = run.app.form;
    // What had happened when the greeting came.
    std::vector<std::string> callsAtGreeting;
    bool timersRunning = false, automaticUpdate = false, helpShown = false;
    run.dialogs.AnswerMessageBox(services::MsgResult::No, [&] {
        callsAtGreeting = run.window.calls;
        timersRunning = form.tmrMemoryInspected.Running() && form.tmrCheckHomePage.Running();
        automaticUpdate = form.timUpdate.Enabled();
        helpShown = machine.shell.calls.size() == 1;
    });

    ASSERT_EQ(run.sequence.Run(), LoadResult::Running);

    EXPECT_EQ(callsAtGreeting, (std::vector<std::string>{"translate English", "chooser", "auxiliary", "task list off",
                                                         "delete list", "show"}));
    EXPECT_TRUE(timersRunning);
    EXPECT_TRUE(automaticUpdate);
    EXPECT_TRUE(helpShown);
    EXPECT_FALSE(run.app.shieldTimers.Held());
    EXPECT_FALSE(form.tmrScroll.Enabled());
    EXPECT_TRUE(form.Visible());
    EXPECT_FALSE(run.app.removal.deleteFailed.Visible());
    EXPECT_TRUE(form.optScanOnlyKnownSoftwares.Value());
    EXPECT_EQ(form.lblRunAtStart.Caption(), "(Disabled - Run Manually)");

    const auto greetings = run.Greetings();
    ASSERT_EQ(greetings.size(), 1u);
    EXPECT_EQ(greetings[0].text,
              "Thank you for using Testwall!\r\n\r\n" + run.app.messages.getMessages(services::msg::kThank2) +
                  "\r\n\r\nWould you like to run Live Update now?\r\n");
    EXPECT_EQ(greetings[0].buttons, services::MsgButtons::YesNo);
    EXPECT_TRUE(machine.internet.requests.empty()) << "No: no update";
    EXPECT_EQ(MachineSetting(keys::kMachineFirstTime, run), "Yes");
    EXPECT_EQ(run.app.settings.Read(keys::kShowHelp), "0");

    // The next start: no help, no greeting, the window where it was.
    StartupRun next(machine);
    ASSERT_EQ(next.sequence.Run(), LoadResult::Running);
    EXPECT_EQ(machine.shell.calls.size(), 1u);
    EXPECT_TRUE(next.dialogs.Asked().empty());
    EXPECT_EQ(next.window.Count("show"), 1);
}

TEST_F(StartupSequenceTest, AStandardUserIsGreetedOnceNeverAskedAboutPermissionsAndYesUpdates) {
    machine.files.AddFile(kHelpFile);
    machine.registry.DenyAccess(Hive::LocalMachine, "", platform::RegAccess::ReadWrite);
    for (int start = 0; start < 2; ++start) {
        StartupRun run(machine);
        run.dialogs.SetDefaultMessageBoxAnswer(services::MsgResult::Yes);
        ASSERT_EQ(run.sequence.Run(), LoadResult::Running);
        EXPECT_EQ(run.Greetings().size(), start == 0 ? 1u : 0u) << "start " << start;
        EXPECT_TRUE(run.app.operations.Idle());
        EXPECT_EQ(run.dialogs.Asked().size(), run.Greetings().size()) << "no Permission Denied box";
    }
    EXPECT_EQ(machine.shell.calls.size(), 1u) << "help once";
    EXPECT_FALSE(machine.internet.requests.empty()) << "Yes updates";
    EXPECT_FALSE(machine.registry.HasKey(Hive::LocalMachine, "SOFTWARE\\Testwall Labs"));
}

TEST_F(StartupSequenceTest, TheWindowStartsInTheTrayWhenTheLastRunLeftItThereOrTheProductSaysSo) {
    struct Case {
        const char* product;
        const char* minimized;
        const char* runAtStartup;
        bool trayReachable;
        const char* where;
    } cases[] = {
        {"Testwall", "Yes", "0", true, "tray"},
        {"Testwall", "No", "1", true, "show"},
        {"Hallowick", "No", "1", true, "tray"},
        {"Hallowick", "No", "0", true, "show"},
        // Never out of reach: without a way to the tray the window shows.
        {"Testwall", "Yes", "0", false, "show"},
    };
    for (const Case& c : cases) {
        testing::FakePlatform fresh;
        StartupRun run(fresh, c.product, c.trayReachable);
        run.dialogs.SetDefaultMessageBoxAnswer(services::MsgResult::No);
        run.app.settings.Write(keys::kMinimized, c.minimized);
        run.app.settings.Write(keys::kChkRunAtStartup, c.runAtStartup);
        ASSERT_EQ(run.sequence.Run(), LoadResult::Running);
        const std::string label = std::string(c.product) + " " + c.minimized + " " + c.runAtStartup;
        EXPECT_EQ(run.window.Count(c.where), 1) << label;
        EXPECT_EQ(run.window.Count("tray") + run.window.Count("show"), 1) << label;
        EXPECT_EQ(run.app.form.Visible(), std::string(c.where) == "show") << label;
    }
}

}  // namespace
}  // namespace bastion
