// One operation at a time: what arrives while a scan runs (a click, a timer
// tick, the close box) starts nothing inside it, and the background timers'
// switch counts its holders.
#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "app/MainWindowHandlers.h"
#include "app/StartupSequence.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "report/ScanReport.h"
#include "services/settings/SettingKeys.h"

namespace bastion {
namespace {

namespace keys = services::settings;

struct OperationModelTest : ::testing::Test {
    OperationModelTest() {
        run.lifecycle.Load();
        for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                                      datafile::kBlockedCookies}) {
            machine.files.AddFile(DataFilePath(run.app.dataFolder, file), "");
        }
        // Definitions to work through, so that the scan lets events run.
        std::string lines;
        for (int i = 0; i < 5; ++i) {
            lines += EncodeDefinitionText("absent" + std::to_string(i) + ".exe=Absent|[windir]|Adware") + "\r\n";
        }
        machine.files.WriteFile(DataFilePath(run.app.dataFolder, datafile::kFileDefinitions), lines);
    }

    // Smart Scans started so far (each starts by clearing the removal's
    // problem list).
    int scansStarted = 0;
    testing::FakePlatform machine;
    testing::ProgramRun run{machine};
    ui::FrmMain& form = run.app.form;
    MainWindowHandlers handlers{run.app, {}};
};

TEST_F(OperationModelTest, ClicksAndTimerTicksInsideARunningScanStartNothing) {
    std::function<void()>& clearProblems = run.app.controller.Hooks().clearRemovalProblems;
    clearProblems = [this, clear = clearProblems] {
        ++scansStarted;
        clear();
    };
    // A timer whose tick would start a scan, as the scheduler's does.
    ScanOutcome fromTimer = ScanOutcome::Completed;
    form.tmrScheduler.onTick = [this, &fromTimer] { fromTimer = run.app.controller.cmdScanNow_Click(); };
    bool timersHeldInside = false;
    run.pump.At(1, [&] {
        timersHeldInside = run.app.shieldTimers.Held() && !form.tmrMemoryInspected.Running();
        form.cmdMainScan1.Click();
        run.app.controller.lblStart_Click();
        form.tmrScheduler.Tick();
        EXPECT_FALSE(run.app.operations.Idle());
    });

    form.cmdScanNow.SetEnabled(true);
    form.optScan[ui::kSmartScan].SetValue(true);
    form.cmdScanNow.Click();

    EXPECT_EQ(scansStarted, 1);
    EXPECT_EQ(fromTimer, ScanOutcome::AlreadyRunning);
    EXPECT_TRUE(timersHeldInside);
    EXPECT_TRUE(form.optScan[ui::kSmartScan].Value()) << "a refused home button leaves the chosen kind alone";
    EXPECT_TRUE(run.app.operations.Idle());
}

TEST_F(OperationModelTest, TheTimersSwitchCountsItsHoldersFromTheStartUp) {
    ShieldTimers& timers = run.app.shieldTimers;
    auto running = [this] { return form.tmrMemoryInspected.Running() && form.tmrCheckHomePage.Running(); };
    run.app.settings.Write(keys::kChkAutomaticScanYesOrNo, "1");

    // The start-up holds the timers; restoring the options only stores.
    LoadOptionPage(run.app);
    form.chkAutoProtect.Click();
    form.chkAutoProtect.Click();
    EXPECT_FALSE(running());
    EXPECT_EQ(timers.Holders(), 1);

    timers.EnableShieldTimers(true);
    EXPECT_TRUE(running());
    EXPECT_TRUE(form.tmrScheduler.Running());

    // An operation inside another: the timers start again only after the
    // outer one.
    timers.EnableShieldTimers(false);
    timers.EnableShieldTimers(false);
    timers.EnableShieldTimers(true);
    EXPECT_FALSE(running());
    form.chkHomePage.Click();
    form.chkHomePage.Click();
    EXPECT_FALSE(form.tmrCheckHomePage.Running()) << "an option does not start a held timer";
    timers.EnableShieldTimers(true);
    EXPECT_TRUE(running());

    // A switch on without a holder changes nothing.
    timers.EnableShieldTimers(true);
    timers.EnableShieldTimers(false);
    EXPECT_FALSE(running());
}

TEST_F(OperationModelTest, ClosingDuringAScanEndsOnceTheScanHasClosed) {
    run.app.settings.Write(keys::kChkMakeLog, "1");
    const std::string report = ReportPath(run.app.dataFolder);
    bool reportBeforeEnd = false;
    run.lifecycle.Seams().endProgram = [&] {
        run.window.calls.push_back("end");
        reportBeforeEnd = machine.files.HasFile(report);
    };
    run.pump.At(1, [this] {
        run.lifecycle.CloseMainWindow();
        form.mnuExit.Click();
        EXPECT_EQ(run.window.Count("end"), 0) << "the scan is still on the stack";
        EXPECT_EQ(run.app.controller.cmdScanNow_Click(), ScanOutcome::AlreadyRunning);
    });

    EXPECT_EQ(run.app.controller.cmdScanNow_Click(), ScanOutcome::Cancelled);

    EXPECT_EQ(run.window.Count("end"), 1);
    EXPECT_TRUE(reportBeforeEnd) << "the scan closed (its report written) before the program ended";
    EXPECT_EQ(testing::Stored(run.app.settings, "Testwall", "OptionAndSettings", "STATUS"), "STOPPED");
}

TEST_F(OperationModelTest, AnOpenMessageBoxKeepsBackgroundWorkWaiting) {
    bool idleBehindTheBox = true;
    run.dialogs.AnswerMessageBox(services::MsgResult::Ok, [this, &idleBehindTheBox] {
        idleBehindTheBox = run.app.operations.Idle();
    });
    run.app.dialogs.MessageBox("Hello", "Testwall", services::MsgButtons::Ok, services::MsgIcon::None);
    EXPECT_FALSE(idleBehindTheBox);
    EXPECT_TRUE(run.app.operations.Idle());
}

}  // namespace
}  // namespace bastion
