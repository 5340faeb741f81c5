#include "app/MainWindowHandlers.h"

#include "app/ExcludeCommand.h"
#include "app/FileShieldOptions.h"
#include "app/HelpOpener.h"
#include "app/Navigation.h"
#include "app/OptionPage.h"
#include "app/ResultsListCommands.h"
#include "app/RunAtStartup.h"
#include "app/SiblingLauncher.h"
#include "app/pages/ReportWindow.h"
#include "app/pages/RestoreWindow.h"
#include "definitions/Exclusions.h"
#include "platform/SystemPrograms.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

template <typename F, typename... Args>
void Call(const F& action, Args&&... args) {
    if (action) action(std::forward<Args>(args)...);
}

// A window shown with a modal loop of its own: background work waits
// behind it as behind any modal window.
template <typename F, typename Form>
void ShowModal(services::OperationGate& gate, const F& action, Form& form) {
    const services::OperationGate::ModalScope modal(gate);
    Call(action, form);
}

}  // namespace

MainWindowHandlers::MainWindowHandlers(App& app, MainWindowActions actions)
    : app_(app), actions_(std::move(actions)), website_(app.identity, app.platform.shell) {
    WireNavigation();
    WireScanCommands();
    WireMenus();
    BindOptionControls(app_.form, app_.settings, app_.shieldTimers, {actions_.confirmSendData});
    BindRunAtStartup(RunAtStartupOf(app_));
    BindFileShieldOptions({app_.form, app_.services, app_.fileShield});
    ScanHooks& hooks = app_.controller.Hooks();
    hooks.showScanPage = [this] { ShowPage(app_.form, app_.form.frmScan); };
    hooks.showResultsPage = [this] { ShowPage(app_.form, app_.form.frmResults); };
    app_.removal.Hooks().showDeleteFailed = [this] {
        ShowModal(app_.operations, actions_.showDeleteFailedModal, app_.removal.deleteFailed);
    };
    app_.removal.Hooks().sendAnonymousData = [this] { Call(actions_.sendAnonymousData); };
    // The window opens on the home page, the options on their first tab.
    ShowPage(app_.form, app_.form.frmStatus);
    ShowSelectedTab(app_.form);
}

void MainWindowHandlers::WireNavigation() {
    ui::FrmMain& form = app_.form;
    auto show = [this](ui::Frame& page) { return [this, &page] { ShowPage(app_.form, page); }; };
    form.cmdStatus.onClick = show(form.frmStatus);
    form.cmdScan.onClick = show(form.frmScan);
    form.cmdSettings.onClick = show(form.frmOptions);
    form.Command1.onClick = show(form.frmScan);
    form.cmdResults.onClick = [this] {
        ShowPage(app_.form, app_.form.frmResults);
        // Nothing found: what was scanned still helps to find unknown
        // threats, when the user agreed to send it.
        if (app_.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Empty() && app_.form.chkSendData.Checked()) {
            Call(actions_.sendAnonymousData);
        }
    };
    form.TabStrip1.onClick = [this] { ShowSelectedTab(app_.form); };
    form.lblOptions.onClick = [this] { lblOptions_Click(app_.form); };
    form.lblResult.onClick = [this] { lblResult_Click(app_.form); };
    form.lblHide.onClick = [this] { Call(actions_.closeSteps); };
    form.cmdWebsite.onClick = [this] { website_.Open(); };
    form.cmdHijack.onClick = [this] {
        cmdHijack_Click(
            {app_.settings, app_.identity, app_.platform.files, app_.platform.shell, app_.dialogs, app_.messages});
    };
    form.cmdLog.onClick = [this] { ShowReport(); };
    form.lblViewLogFile.onClick = [this] { ShowReport(); };
    form.cmdUpdate.onClick = [this] {
        if (actions_.onlyShiftHeld && actions_.onlyShiftHeld()) {
            app_.dialogs.MessageBox(UpdateAddressList(app_.identity), app_.identity.productName,
                                    services::MsgButtons::Ok, services::MsgIcon::None);
        }
        Call(actions_.runLiveUpdate);
    };
    form.cmdLiveUpdate.onClick = [this] { Call(actions_.runLiveUpdate); };
    form.Command5.onClick = [this] { Call(actions_.minimizeToTray); };
}

void MainWindowHandlers::WireScanCommands() {
    ui::FrmMain& form = app_.form;
    ScanController& controller = app_.controller;
    const std::pair<ui::CommandButton*, int> homeScans[] = {{&form.cmdMainScan, ui::kSmartScan},
                                                            {&form.cmdMainScan1, ui::kFullSystemScan},
                                                            {&form.cmdMainScan2, ui::kFileScan},
                                                            {&form.cmdMainScan3, ui::kFolderScan}};
    for (auto [button, kind] : homeScans) {
        button->onClick = [&controller, kind = kind] { controller.StartScanOfKind(kind); };
    }
    form.cmdScanNow.onClick = [&controller] { controller.cmdScanNow_Click(); };
    form.lblStart.onClick = [&controller] { controller.lblStart_Click(); };
    form.cmdPause.onClick = [&controller] { controller.cmdPause_Click(); };
    form.lblPause.onClick = [&controller] { controller.lblPause_Click(); };
    form.cmdStop.onClick = [&controller] { controller.cmdStop_Click(); };
    form.lblStop.onClick = [&controller] { controller.lblStop_Click(); };
    form.lvwSpywareFound.onColumnClick = [&controller](int column) { controller.lvwSpywareFound_ColumnClick(column); };

    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    results.onColumnClick = [&results](int column) { lvwResults_ColumnClick(results, column); };
    results.onDoubleClick = [this, &results](std::size_t row) {
        lvwResults_DblClick(results, row, app_.platform.shell);
    };
    form.cmdSelectAll.onClick = [this] { app_.presenter.SelectAll(); };
    form.cmdBrowse.onClick = [&controller] { controller.cmdBrowse_Click(); };
    form.Command4.onClick = [this] { app_.removal.Command4_Click(); };
    form.lblRemove.onClick = [this] { app_.removal.lblRemove_Click(); };
    FeedbackPage& feedback = app_.feedback;
    form.cmdFalsePos.onClick = [&feedback] { feedback.cmdFalsePos_Click(); };
    form.Command2.onClick = [&feedback] { feedback.Command2_Click(); };
    form.cmdSubmit.onClick = [&feedback] { feedback.cmdSubmit_Click(); };
    form.txtFilename.onEnter = [&feedback] { feedback.cmdSubmit_Click(); };
    form.cmdExclude.onClick = [this] {
        const ExclusionFile file{app_.platform.files, app_.platform.codePage, app_.dataFolder};
        cmdExclude_Click({app_.presenter, app_.form, app_.dialogs, app_.messages, app_.identity.productName, file,
                          app_.exclusions, app_.pump});
    };
}

void MainWindowHandlers::WireMenus() {
    ui::FrmMain& form = app_.form;
    form.mnuScanNow.onClick = [this] { ShowPage(app_.form, app_.form.frmScan); };
    form.mnuViewLog.onClick = [this] { ShowReport(); };
    form.mnuLiveUpdate.onClick = [this] { Call(actions_.runLiveUpdate); };
    form.mnuMinimizeToTray.onClick = [this] { Call(actions_.minimizeToTray); };
    form.mnuExit.onClick = [this] { Call(actions_.closeWindow); };
    for (std::size_t i = 0; i < form.mnuSettingsItem.size(); ++i) {
        form.mnuSettingsItem[i].onClick = [this, i] { ShowOptionsTab(app_.form, static_cast<int>(i)); };
    }
    form.mnuQuarItem[0].onClick = [this] { ViewQuarantine(); };
    form.mnuQuarRestore.onClick = [this] { ShowRestore(); };
    form.mnuQuarItem[1].onClick = [this] { ViewExclusions(); };
    form.mnuChangeLanguage.onClick = [this] { Call(actions_.changeLanguage); };
    form.mnuViewHelp.onClick = [this] { ViewHelp(); };
    form.mnuAboutItem.onClick = [this] {
        frmAbout_Load(about_, app_.identity, website_);
        about_.SetVisible(true);
        ShowModal(app_.operations, actions_.showAboutModal, about_);
        about_.SetVisible(false);
    };
}

void MainWindowHandlers::ShowReport() {
    ui::Label& showReport = app_.form.lblViewLogFile;
    showReport.SetEnabled(false);
    frmReport_Load(report_, app_.platform.files, app_.platform.codePage, app_.dataFolder, app_.identity);
    report_.SetVisible(true);
    ShowModal(app_.operations, actions_.showReportModal, report_);
    report_.SetVisible(false);
    showReport.SetEnabled(true);
}

bool MainWindowHandlers::GoToTray() {
    if (!actions_.minimizeToTray) return false;
    actions_.minimizeToTray();
    return true;
}

void MainWindowHandlers::ViewHelp() { bastion::ViewHelp(app_); }

void MainWindowHandlers::ViewExclusions() {
    bastion::ViewExclusions(ExclusionFile{app_.platform.files, app_.platform.codePage, app_.dataFolder},
                            app_.platform.shell, app_.dialogs, app_.messages);
}

void MainWindowHandlers::ViewQuarantine() {
    Quarantine quarantine(app_.platform.files, app_.platform.codePage, app_.platform.clock, app_.dataFolder);
    quarantine.EnsureFolder();
    app_.platform.shell.StartProgram(platform::SystemProgramCommand(app_.platform.shell, platform::kExplorer,
                                                                    platform::QuotedPath(quarantine.Folder())),
                                     platform::ShowWindow::Normal);
}

void MainWindowHandlers::ShowRestore() {
    Quarantine quarantine(app_.platform.files, app_.platform.codePage, app_.platform.clock, app_.dataFolder);
    std::vector<QuarantineItem> listed = frmRestore_Load(restore_, quarantine);
    restore_.cmdRestore.onClick = [this, &quarantine, &listed] {
        cmdRestore_Click(restore_, listed, {app_.services, quarantine});
    };
    restore_.SetVisible(true);
    ShowModal(app_.operations, actions_.showRestoreModal, restore_);
    restore_.SetVisible(false);
    restore_.cmdRestore.onClick = nullptr;
}

}  // namespace bastion
