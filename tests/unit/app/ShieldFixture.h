// A started program on a fake machine for the shields' tests: the load
// sequence has run, the start-up has let the background timers go, and the
// user at the alerts is scripted: each answer is given a few rounds of the
// alert's wait after it opened.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LifecycleFixture.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"

namespace bastion::testing {

struct ShieldFixture : ::testing::Test {
    ShieldFixture() {
        run.lifecycle.Load();
        run.app.shieldTimers.EnableShieldTimers(true);
        run.pump.Always([this] { AnswerOpenAlert(); });
    }

    // The five files a scan wants; ExeDefinition.dat with the lines given.
    void WriteDefinitions(const std::vector<std::string>& exeLines) {
        for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kBlockedCookies}) {
            machine.files.AddFile(DataFilePath(run.app.dataFolder, file), "");
        }
        std::string bytes;
        for (const std::string& line : exeLines) bytes += EncodeDefinitionText(line) + "\r\n";
        machine.files.WriteFile(DataFilePath(run.app.dataFolder, datafile::kExeDefinitions), bytes);
    }

    // What the user does at the next alert that opens (its form given).
    void AtNextAlert(std::function<void(ui::AlertForm&)> action) { answers.push_back(std::move(action)); }

    void AnswerOpenAlert() {
        for (ui::AlertForm* alert : {static_cast<ui::AlertForm*>(&run.app.alerts.spywareFound),
                                     static_cast<ui::AlertForm*>(&run.app.alerts.homePageChanged),
                                     static_cast<ui::AlertForm*>(&run.app.alerts.fileThreat)}) {
            if (!alert->Waiting()) continue;
            // The answer takes its time: a wait that did not wait would
            // return before it. By then the alert takes input.
            if (++roundsWaited < 3) return;
            roundsWaited = 0;
            alert->tmrArm.Tick();
            if (answers.empty()) {
                ADD_FAILURE() << "an alert nobody answers: " << alert->Name();
                alert->Dismiss();
                return;
            }
            auto action = std::move(answers.front());
            answers.pop_front();
            opened.push_back(alert == &run.app.alerts.spywareFound ? run.app.alerts.spywareFound.lblAlertFileName.Caption()
                             : alert == &run.app.alerts.fileThreat
                                 ? run.app.alerts.fileThreat.lblAlertFolder.Caption() + "\\" +
                                       run.app.alerts.fileThreat.lblAlertFile.Caption()
                                 : run.app.alerts.homePageChanged.lblHomePageInfo.Caption());
            action(*alert);
        }
    }

    FakePlatform machine;
    ProgramRun run{machine};
    ui::FrmMain& form = run.app.form;
    std::deque<std::function<void(ui::AlertForm&)>> answers;
    // What each answered alert showed: the file name, the path of a file
    // that arrived, or the home page message.
    std::vector<std::string> opened;
    int roundsWaited = 0;
};

// "STOP" or "Yes", "ALLOW" or "No", the close box.
inline void PressYes(ui::AlertForm& alert) { alert.cmdYes.Click(); }
inline void PressNo(ui::AlertForm& alert) { alert.cmdNO.Click(); }
inline void CloseBox(ui::AlertForm& alert) { alert.Dismiss(); }

}  // namespace bastion::testing
