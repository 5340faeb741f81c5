#include "ui/forms/FrmSignatureUpdated.h"

namespace bastion::ui {

FrmSignatureUpdated::FrmSignatureUpdated() : Form("frmSignatureUpdated") {
    cmdUpdateSuccesfullOK.SetCaption("OK");
    // The update's result, from the message catalogue.
    lblUpdateInfo.SetShowsLiveState();
    cmdUpdateSuccesfullOK.onClick = [this] { cmdUpdateSuccesfullOK_Click(); };
    tmrPopupSignatureUpdate.onTick = [this] { tmrPopupSignatureUpdate_Timer(); };
    tmrEnablePopDownTimer.onTick = [this] { tmrEnablePopDownTimer_Timer(); };
    tmrPopDown.onTick = [this] { tmrPopDown_Timer(); };
}

void FrmSignatureUpdated::Show(std::string text) {
    tmrEnablePopDownTimer.SetEnabled(false);
    tmrPopDown.SetEnabled(false);
    lblUpdateInfo.SetCaption(std::move(text));
    motion_.Begin(planSlide ? planSlide() : SlidePlan{});
    SetVisible(true);
    tmrPopupSignatureUpdate.SetEnabled(true);
}

void FrmSignatureUpdated::tmrPopupSignatureUpdate_Timer() {
    SetVisible(true);
    if (motion_.Rise()) return;
    tmrPopupSignatureUpdate.SetEnabled(false);
    tmrEnablePopDownTimer.SetEnabled(true);
}

void FrmSignatureUpdated::tmrEnablePopDownTimer_Timer() {
    tmrEnablePopDownTimer.SetEnabled(false);
    motion_.BeginSink();
    tmrPopDown.SetEnabled(true);
}

void FrmSignatureUpdated::tmrPopDown_Timer() {
    SetVisible(true);
    if (!motion_.Sink()) cmdUpdateSuccesfullOK_Click();
}

void FrmSignatureUpdated::cmdUpdateSuccesfullOK_Click() {
    tmrPopupSignatureUpdate.SetEnabled(false);
    tmrEnablePopDownTimer.SetEnabled(false);
    tmrPopDown.SetEnabled(false);
    if (acknowledged) acknowledged();
    SetVisible(false);
}

}  // namespace bastion::ui
