// The memory shield in a running program: its ticks, its alerts one after
// the other, and what STOP, ALLOW and closing an alert do.
#include <gtest/gtest.h>

#include "ShieldFixture.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = ui::settings;
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
    EXPECT_FALSE(run.app.memoryShield.alert.Visible());
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
    run.dialogs.AnswerMessageBox(ui::MsgResult::Ok);
    bool heldWhileAsking = false;
    AtNextAlert([&](ui::AlertForm& alert) {
        heldWhileAsking = !form.tmrMemoryInspected.Enabled() && !run.app.operations.Idle();
        testing::PressYes(alert);
    });
    Tick();
    EXPECT_EQ(opened, (Rows{"EVIL.EXE"}));
    EXPECT_TRUE(heldWhileAsking);
    EXPECT_TRUE(form.tmrMemoryInspected.Enabled());
    // Outside a scan the scan page stays as the last scan left it.
    EXPECT_TRUE(run.app.state.ActivityList().Empty());
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
    // The running programs change before every tick: each one looks.
    machine.processes.Add(16, "C:\\WINDOWS\\notepad.exe");
    Tick();
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
}

}  // namespace
}  // namespace bastion
