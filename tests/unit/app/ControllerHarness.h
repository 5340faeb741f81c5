// A scan page on the scan harness's fake machine: the engine, the presenter
// filling a main window's form, and the controller, with scripted dialogs,
// the default messages and a settings store; the hooks record what they
// were asked to do.
#pragma once

#include <string>
#include <vector>

#include "app/ResultsPresenter.h"
#include "app/ScanController.h"
#include "common/DateTime.h"
#include "definitions/DataFiles.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"
#include "scan/processes/ProcessScanner.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/DefaultMessages.h"
#include "ui/GuardMessages.h"
#include "ui/OperationGate.h"
#include "ui/forms/FrmMain.h"
#include "ui/settings/SettingsStore.h"

namespace bastion::testing {

struct ControllerHarness {
    ControllerHarness() {
        ui::FillDefaultMessages(messages);
        ui::FillGuardMessages(messages);
        controller.Hooks().enableShieldTimers = [this](bool on) { calls.push_back(on ? "timers on" : "timers off"); };
        controller.Hooks().clearRemovalProblems = [this] { calls.push_back("clear problems"); };
        controller.Hooks().makeReport = [this] { calls.push_back("report"); };
        controller.Hooks().showScanPage = [this] { calls.push_back("scan page"); };
        controller.Hooks().showResultsPage = [this] { calls.push_back("results page"); };
        controller.Hooks().removeTicked = [this] { calls.push_back("remove"); };
    }

    // All five definition files the set check wants, each with the lines
    // given (none by default).
    void WriteCompleteSet() {
        for (std::string_view file : {datafile::kFileDefinitions, datafile::kDirectoryDefinitions,
                                      datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                                      datafile::kBlockedCookies}) {
            if (!scan.machine.files.HasFile(DataFilePath(scan.dataFolder, file))) {
                scan.WriteDefinitions(file, {});
            }
        }
    }

    ScanOutcome Start(int kind = ui::kSmartScan) {
        form.optScan[kind].SetValue(true);
        return controller.cmdScanNow_Click();
    }

    std::string Setting(const ui::SettingKey& key) const { return settings.Read(key); }
    std::string Now() const { return FormatGeneralDate(scan.machine.clock.now); }
    ui::ListView& Results() { return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }

    ScanHarness scan;
    ui::FrmMain form;
    ScanState& state = scan.state;
    ScriptedDialogs dialogs;
    ui::OperationGate operations;
    ui::Identity identity = TestIdentity();
    ui::MessageCatalogue messages{identity};
    ui::SettingsStore settings{scan.machine.registry, identity.productName};
    ProcessScanner processScanner{dialogs, messages, identity.productName};
    StoredScanOptions options{settings};
    ScanEngine engine{ScanEnvironment{scan.machine.files, Windows1252(), scan.machine.system, scan.machine.registry,
                                      scan.machine.shell, scan.machine.processes, scan.machine.clock, dialogs,
                                      scan.pump, operations, messages, identity, settings, scan.dataFolder,
                                      scan.safety, scan.exclusions, scan.tables, scan.state, processScanner}};
    ResultsPresenter presenter{form, messages};
    ScanController controller{ScanPageEnvironment{form, engine, presenter, scan.machine.files, Windows1252(),
                                                  scan.machine.shell, dialogs, operations, messages, identity,
                                                  settings, scan.dataFolder, scan.state},
                              options};
    // What the hooks were asked, in order.
    std::vector<std::string> calls;
};

}  // namespace bastion::testing
