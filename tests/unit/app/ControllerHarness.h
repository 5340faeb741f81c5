// A scan page on the scan harness's fake machine: the engine, the presenter
// filling a main window's form, and the controller, with scripted dialogs,
// the default messages and a settings store; the hooks record what they
// were asked to do.
#pragma once

#include <string>
#include <vector>

#include "app/ResultsPresenter.h"
#include "app/ScanController.h"
#include "app/pages/StatusPage.h"
#include "common/DateTime.h"
#include "definitions/DataFiles.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"
#include "scan/processes/ProcessScanner.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/operations/OperationGate.h"
#include "services/settings/SettingsStore.h"
#include "support/FakeBackgroundWork.h"
#include "support/ScanHarness.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmMain.h"

namespace bastion::testing {

struct ControllerHarness {
    ControllerHarness() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
        background.changed = [this](bool on) { calls.push_back(on ? "timers on" : "timers off"); };
        controller.Hooks().clearRemovalProblems = [this] { calls.push_back("clear problems"); };
        controller.Hooks().makeReport = [this] { calls.push_back("report"); };
        // The home page as the program refreshes it after a scan.
        controller.Hooks().refreshStatusPage = [this] {
            RefreshStatusPage(bundle, form, state.definitions.total);
        };
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

    std::string Setting(const services::SettingKey& key) const { return settings.Read(key); }
    std::string Now() const { return FormatGeneralDate(scan.machine.clock.now); }
    ui::ListView& Results() { return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }

    ScanHarness scan;
    ui::FrmMain form;
    ScanState& state = scan.state;
    ScriptedDialogs dialogs;
    services::OperationGate operations;
    services::Identity identity = TestIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{scan.machine.registry, identity.productName};
    ProcessScanner processScanner{dialogs, messages, identity.productName};
    StoredScanOptions options{settings};
    testing::FakeBackgroundWork background;
    const services::Services bundle{scan.machine.Bundle(), dialogs, scan.pump, operations, messages, identity,
                                    settings, scan.dataFolder, background};
    ScanEngine engine{ScanEnvironment{bundle, scan.safety, scan.exclusions, scan.tables, scan.state, processScanner}};
    ResultsPresenter presenter{form, messages};
    ScanController controller{ScanPageEnvironment{bundle, form, engine, presenter, scan.state}, options};
    // What the hooks were asked, in order.
    std::vector<std::string> calls;
};

}  // namespace bastion::testing
