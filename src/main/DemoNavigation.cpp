#include "DemoNavigation.h"

namespace bastion {

namespace {

void ShowPage(ui::FrmMain& form, ui::Frame& page) {
    for (ui::Frame* each : form.Pages()) each->SetVisible(false);
    form.pgbDeleteSpywaresFound.SetVisible(false);
    form.lblDeletingPercentageCompleted.SetVisible(false);
    form.lblDeletingCaption.SetVisible(false);
    page.SetVisible(true);
}

void ShowSelectedTab(ui::FrmMain& form) {
    for (std::size_t i = 0; i < form.frmView.size(); ++i) {
        form.frmView[i].SetVisible(static_cast<int>(i) == form.TabStrip1.Selected());
    }
}

}  // namespace

void WireDemoNavigation(ui::FrmMain& form, std::function<void()> closeWindow) {
    auto show = [&form](ui::Frame& page) { return [&form, &page] { ShowPage(form, page); }; };
    form.cmdStatus.onClick = show(form.frmStatus);
    form.cmdScan.onClick = show(form.frmScan);
    form.cmdResults.onClick = show(form.frmResults);
    form.cmdSettings.onClick = show(form.frmOptions);
    form.Command1.onClick = show(form.frmScan);
    form.mnuScanNow.onClick = show(form.frmScan);
    for (ui::CommandButton* scan : {&form.cmdMainScan, &form.cmdMainScan1, &form.cmdMainScan2, &form.cmdMainScan3}) {
        scan->onClick = show(form.frmScan);
    }
    form.TabStrip1.onClick = [&form] { ShowSelectedTab(form); };
    for (std::size_t i = 0; i < form.mnuSettingsItem.size(); ++i) {
        form.mnuSettingsItem[i].onClick = [&form, i] {
            ShowPage(form, form.frmOptions);
            form.TabStrip1.Select(static_cast<int>(i));
            ShowSelectedTab(form);
        };
    }
    form.mnuExit.onClick = closeWindow;
    ShowPage(form, form.frmStatus);
    ShowSelectedTab(form);
}

}  // namespace bastion
