// The memory shield in a running program: its ticks, its alerts one after
// the other, and what STOP, ALLOW and closing an alert do.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "services/settings/SettingKeys.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

namespace keys = services::settings;
using Rows = std::vector<std::string>;

struct MemoryShieldTest : testing::ShieldFixture {
    MemoryShieldTest() {
        WriteDefinitions({"evil.exe=Evil|C:\\Spy", "bad.exe=Bad|"});
        machine.processes.Add(4, "C:\\WINDOWS\\explorer.exe");
    }
    void Tick() { form.tmrMemoryInspected.Tick(); }
    std::string Exclusions() {
        return machine.files.Content(DataFilePath(run.app.dataFolder, datafile::kExclusions)).value_or("");
    }
    // Two threats alerted one after the other, STOP, ALLOW, the close box
    // and the next scan's "EXCLUDED" row: ShieldsWineTest, on real programs.
};

TEST_F(MemoryShieldTest, AnExitWhileAnAlertWaitsClosesItAndEndsAfterTheTick) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    machine.processes.Add(12, "C:\\Downloads\\bad.exe");
    AtNextAlert([this](ui::AlertForm&) {
        run.lifecycle.CloseMainWindow();
        EXPECT_EQ(run.window.Count("end"), 0) << "the tick returns first";
    });

    Tick();

    EXPECT_EQ(opened.size(), 1u) << "no second alert once the program ends";
    EXPECT_TRUE(machine.processes.IsRunning(8));
    EXPECT_TRUE(Exclusions().empty());
    EXPECT_EQ(run.window.Count("end"), 1);
    EXPECT_FALSE(run.app.alerts.spywareFound.Visible());
}

TEST_F(MemoryShieldTest, TheShieldLooksOnlyWhenOnAndIdleAndStillAfterAStoppedScan) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    run.app.settings.Write(keys::kOptMemorySheildOn, "False");
    Tick();
    {
        run.app.settings.Write(keys::kOptMemorySheildOn, "True");
        auto update = run.app.operations.TryBegin("update");
        Tick();
    }
    EXPECT_TRUE(opened.empty());

    // The user stopped the last scan; the flag stays set until the next
    // scan, and the shield keeps watching.
    run.app.state.RequestStop();
    machine.processes.Find(8)->unkillable = true;
    run.dialogs.AnswerMessageBox(services::MsgResult::Ok);
    bool heldWhileAsking = false;
    AtNextAlert([&](ui::AlertForm& alert) {
        heldWhileAsking = !form.tmrMemoryInspected.Running() && !run.app.operations.Idle();
        testing::PressYes(alert);
    });
    Tick();
    EXPECT_EQ(opened, (Rows{"EVIL.EXE"}));
    EXPECT_TRUE(heldWhileAsking);
    EXPECT_TRUE(form.tmrMemoryInspected.Running());
    // Outside a scan the scan page stays as the last scan left it.
    EXPECT_TRUE(form.lvwSpywareFound.Empty());
    EXPECT_EQ(run.app.state.counters.itemsFound, 0);
    const auto boxes = run.dialogs.AskedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "EVIL.EXE Could not be stopped.  You should try again after saving your work and closing any open "
              "applications.");
    EXPECT_EQ(boxes[0].title, "Testwall");
}

TEST_F(MemoryShieldTest, ReadsTheExecutableDefinitionsAgainOnlyWhenTheirFileChanged) {
    const std::string file = DataFilePath(run.app.dataFolder, datafile::kExeDefinitions);
    machine.files.ResetCounters();
    Tick();
    // The running programs change before every tick: each one looks. A
    // look takes no event: a click meanwhile would find the operation held
    // and be turned away; left in the queue, it is handled after.
    machine.processes.Add(16, "C:\\WINDOWS\\notepad.exe");
    const int pumped = run.pump.CallCount();
    Tick();
    EXPECT_EQ(run.pump.CallCount(), pumped);
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    AtNextAlert(testing::CloseBox);
    Tick();
    EXPECT_EQ(machine.files.ReadCalls(file), 1u);
    EXPECT_EQ(opened, (Rows{"EVIL.EXE"})) << "what was read once still finds a program";

    // An update rewrites the file; the next look reads what it says now.
    WriteDefinitions({"evil.exe=Evil|C:\\Spy", "notepad.exe=Not Really|"});
    machine.processes.Remove(8);
    AtNextAlert(testing::CloseBox);
    Tick();
    EXPECT_EQ(machine.files.ReadCalls(file), 2u);
    EXPECT_EQ(opened, (Rows{"EVIL.EXE", "NOTEPAD.EXE"}));

    // A file that cannot be read for a moment is not kept as no
    // definitions: what was kept before still finds, and the next look
    // reads the file again, though no program started or ended.
    WriteDefinitions({"evil.exe=Evil|C:\\Spy"});
    machine.files.FailReads(file);
    machine.processes.Remove(16);
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    AtNextAlert(testing::CloseBox);
    Tick();
    EXPECT_EQ(opened, (Rows{"EVIL.EXE", "NOTEPAD.EXE", "EVIL.EXE"}));
    machine.files.ClearFailures();
    const std::size_t reads = machine.files.ReadCalls(file);
    AtNextAlert(testing::CloseBox);
    Tick();
    EXPECT_EQ(machine.files.ReadCalls(file), reads + 1);
    EXPECT_EQ(opened, (Rows{"EVIL.EXE", "NOTEPAD.EXE", "EVIL.EXE", "EVIL.EXE"}));
}

TEST_F(MemoryShieldTest, CommandsRefusedWhileAnAlertWaitsSayWhyAndAnAlertNobodyAnswersClosesAfterTenMinutes) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe");
    std::vector<ScanOutcome> refused;
    int waitsTold = 0;
    // The user clicks Scan on the home page, then Start: both refused with
    // the reason. Nobody answers for ten minutes.
    AtNextAlert([&](ui::AlertForm& alert) {
        refused.push_back(run.app.controller.StartScanOfKind(ui::kSmartScan));
        refused.push_back(run.app.controller.cmdScanNow_Click());
        for (const auto& box : run.dialogs.AskedMessageBoxes()) {
            waitsTold += box.text == "An alert is waiting for your answer." ? 1 : 0;
        }
        machine.clock.Advance(10 * 60);
        EXPECT_TRUE(alert.Waiting());
    });
    Tick();
    EXPECT_EQ(refused, (std::vector<ScanOutcome>{ScanOutcome::AlreadyRunning, ScanOutcome::AlreadyRunning}));
    EXPECT_EQ(waitsTold, 2);
    EXPECT_FALSE(run.app.alerts.spywareFound.Visible()) << "closed as not answered";
    EXPECT_TRUE(machine.processes.IsRunning(8));
    EXPECT_TRUE(Exclusions().empty());

    // Not asked again while nothing changes; asked again at the next change.
    Tick();
    EXPECT_EQ(opened.size(), 1u);
    machine.processes.Add(20, "C:\\WINDOWS\\notepad.exe");
    AtNextAlert(testing::PressYes);
    Tick();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_FALSE(machine.processes.IsRunning(8));
}

TEST_F(MemoryShieldTest, AThreatRunningWithAdministratorRightsIsShownAndStoppingItOffersARestartAsAdministrator) {
    machine.processes.Add(8, "C:\\Spy\\evil.exe").elevated = true;
    const ui::FrmSpywareFoundAlert& alert = run.app.alerts.spywareFound;
    bool noted = false;
    AtNextAlert([&](ui::AlertForm& answered) {
        noted = alert.lblNeedsAdministrator.Visible() && !alert.lblNeedsAdministrator.Caption().empty();
        testing::PressYes(answered);
    });
    // Declined: this run goes on.
    run.dialogs.AnswerMessageBox(services::MsgResult::No);
    Tick();
    EXPECT_TRUE(noted);
    EXPECT_TRUE(machine.processes.IsRunning(8));
    const auto boxes = run.dialogs.AskedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "EVIL.EXE\r\n\r\nStopping these programs needs administrator rights. Restart Testwall as "
              "administrator now?");
    EXPECT_EQ(run.window.Count("end"), 0);

    // Accepted: the program starts again elevated and this run ends.
    machine.processes.Add(10, "C:\\WINDOWS\\notepad.exe");
    AtNextAlert(testing::PressYes);
    run.dialogs.AnswerMessageBox(services::MsgResult::Yes);
    Tick();
    ASSERT_FALSE(machine.shell.calls.empty());
    EXPECT_EQ(machine.shell.calls.back().kind, testing::ShellCall::Kind::StartElevated);
    EXPECT_EQ(machine.shell.calls.back().target, machine.system.ProgramPath() + " /restarted");
    EXPECT_EQ(run.window.Count("end"), 1);

    // A scan names it in its row, and offers the same.
    testing::ProgramRun next(machine);
    next.lifecycle.Load();
    next.dialogs.AnswerMessageBox(services::MsgResult::No);
    next.app.controller.StartScanOfKind(ui::kSmartScan);
    const ui::ListView& activity = next.app.form.lvwSpywareFound;
    ASSERT_EQ(activity.Count(), 1u);
    EXPECT_EQ(activity.Item(0).text, "Running Application");
    EXPECT_EQ(activity.SubItem(0, 1), "EVIL.EXE could not be stopped: that needs administrator rights");
    EXPECT_EQ(activity.Item(0).smallIcon, ui::kIconFile);
    EXPECT_EQ(next.dialogs.AskedMessageBoxes().size(), 1u);
}

}  // namespace
}  // namespace bastion
