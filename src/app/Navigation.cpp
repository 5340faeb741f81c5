#include "app/Navigation.h"

namespace bastion {

void HideRemovalProgress(ui::FrmMain& form) {
    form.pgbDeleteSpywaresFound.SetVisible(false);
    form.lblDeletingPercentageCompleted.SetVisible(false);
    form.lblDeletingCaption.SetVisible(false);
}

void ShowPage(ui::FrmMain& form, ui::Frame& page) {
    for (ui::Frame* each : form.Pages()) each->SetVisible(false);
    HideRemovalProgress(form);
    page.SetVisible(true);
}

void ShowSelectedTab(ui::FrmMain& form) {
    for (std::size_t i = 0; i < form.frmView.size(); ++i) {
        form.frmView[i].SetVisible(static_cast<int>(i) == form.TabStrip1.Selected());
    }
}

void ShowOptionsTab(ui::FrmMain& form, int tab) {
    ShowPage(form, form.frmOptions);
    // Selecting an already selected tab fires no click; the frames are
    // shown here either way.
    form.TabStrip1.Select(tab);
    ShowSelectedTab(form);
}

namespace {

void SwitchSkinLabels(ui::FrmMain& form, ui::Label& clicked, ui::Label& other) {
    form.tmrScroll.SetEnabled(false);
    clicked.SetEnabled(false);
    for (ui::Label* label : {&form.lblStart, &form.lblRemove, &form.lblExit, &other}) label->SetEnabled(true);
}

}  // namespace

void lblOptions_Click(ui::FrmMain& form) { SwitchSkinLabels(form, form.lblOptions, form.lblResult); }

void lblResult_Click(ui::FrmMain& form) {
    SwitchSkinLabels(form, form.lblResult, form.lblOptions);
    HideRemovalProgress(form);
}

}  // namespace bastion
